// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the program directory, the splash window, every window in its order, then the
// main window and the event loop. The game takes no command line.
#include <QApplication>
#include <QDir>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/DisplayPlatform.h"
#include "app/MainWindow.h"
#include "app/Splasher.h"
#include "view/Accessibility.h"

int main(int argc, char** argv) {
    std::vector<std::string> platform =
        PlatformArguments(std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"));
    // A program started with no arguments at all (argc 0) still gives Qt a program name.
    std::string programName = argc > 0 ? argv[0] : "tolvarpegs";
    std::vector<char*> arguments{programName.data()};
    for (std::string& argument : platform)
        arguments.push_back(argument.data());
    if (argc > 1)
        arguments.insert(arguments.end(), argv + 1, argv + argc);
    arguments.push_back(nullptr);
    int argumentCount = static_cast<int>(arguments.size()) - 1;
    QApplication app(argumentCount, arguments.data());
    InstallAccessibleInterfaces();
    QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.endsWith(QDir::separator()))
        programDir += QDir::separator();

    // Tests and benchmarks that start the program skip the three seconds of splash; players never set it.
    if (qEnvironmentVariableIsEmpty("TOLVAR_NO_SPLASH")) {
        TSplash splash(programDir);
        splash.exec();
    }

    TMainForm MainForm(programDir);
    MainForm.createOtherWindows();
    QObject::connect(&MainForm, &TMainForm::programEnding, &app,
                     [] { QCoreApplication::exit(EXIT_FAILURE); });
    MainForm.show();
    return app.exec();
}

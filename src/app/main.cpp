// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the program directory, the splash window, every window in its order, then the
// main window and the event loop. The game takes no command line.
#include <QApplication>
#include <QDir>

#include <cstdlib>

#include "app/MainWindow.h"
#include "app/Splasher.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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

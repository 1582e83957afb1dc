// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's tests share: a temporary program directory with the generated pictures and
// sounds and a small collection, a temporary settings directory, and a script that answers the
// modal windows the game opens.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

#include "app/MainWindow.h"

class QListView;

// Answers modal windows in the order they open. Each window seen is logged ("TYesNoDialog 4",
// "TOKDialog 1", "TTongueDlg", "QMessageBox <text>"); a window that nobody expected is logged as
// "unexpected ..." and closed, so a test fails instead of hanging, unless a standing answer was
// given for every window beyond the script. A step may wait for the window's contents: no other
// step runs while one is running.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript();
    ModalScript& then(Step step);
    // Answers every window that the steps do not cover with `step` (logged as the window is).
    ModalScript& otherwise(Step step);
    bool finished() const { return m_steps.empty(); }
    const QStringList& seen() const { return m_seen; }

    static Step yes();
    static Step no();
    static Step ok(); // the notice window's OK button
    static Step messageBoxOk();
    static Step english();
    static Step german();
    // Yes to a question, OK to a notice or a message box, and any other window closed.
    static Step agree();
    // Runs `check` while the window is open, then answers with `answer`.
    static Step inspect(std::function<void(QWidget*)> check, Step answer);

private:
    void poll();

    QTimer m_timer;
    std::deque<Step> m_steps;
    Step m_otherwise;
    bool m_running = false;
    QStringList m_seen;
};

// Board 1: a size-5 square board, pegs on cells 0, 1 and 3 of the top row, every other cell an empty
// hole, no target pegs (par 2). Board 2: the same board with pegs on 0, 1 and 30 (stuck after one
// jump), named "Second".
class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;

    QString programPath() const { return m_program.path() + "/"; }
    QString settingsPath() const { return m_config.path() + "/kestrum.ini"; }
    QString settingsText() const;
    void writeSettings(const QString& text) const;
    void removeProgramFile(const QString& name) const;
    // Replaces the fixture's collection file before the game starts.
    void writeCollection(const std::vector<LevelRecord>& records) const;

    // Makes the main window, shows it and runs its first activation; a ModalScript made before the
    // call answers the windows that the activation opens.
    std::unique_ptr<TMainForm> startGame();
    // Starts with the language already chosen (English), so the activation shows no window.
    std::unique_ptr<TMainForm> startEnglishGame();

    // The centre of a big cell of the size-5 square boards, in board-area pixels.
    static QPoint cellCentre(int cell);
    // The centre of a cell of the big or of the small board of `record`, in board-area pixels.
    static QPoint cellCentre(const LevelRecord& record, int cell);
    static QPoint targetCellCentre(const LevelRecord& record, int cell);
    static void clickBoard(TMainForm& form, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    static void drag(TMainForm& form, QPoint from, const std::vector<QPoint>& via, QPoint to,
                     Qt::MouseButton button = Qt::LeftButton);
    // The board area as a full repaint of the game's present state would draw it.
    static QImage freshBoard(const TMainForm& form);
    // Whether the `width` columns of the status display at x show the numbs columns at sourceX.
    static bool displayShows(const TMainForm& form, int x, int sourceX, int width);
    // Whether the counter's three places show the numbs columns (11 wide) at these source columns.
    static bool displayShowsColumns(const TMainForm& form, int first, int second, int third);

    // Board 1 with its solution stored: 0 over 1 to 2, then 3 over 2 to 1.
    static LevelRecord solvedBoardOne();
    static LevelRecord boardOne();
    static LevelRecord boardTwo();

    QTemporaryDir m_program;
    QTemporaryDir m_config;
};

// A player's hands on the file lists of the import and export windows; the lists are read in the
// background, so each waits (generously) for the entry it needs.
namespace file_list {
// Waits until `name` is listed, then returns its row's index (invalid when it never showed).
QModelIndex waitForEntry(QListView* view, const QString& name);
// Selects `name` with a click and double-clicks it, as a player opens a file or a directory.
bool doubleClickEntry(QListView* view, const QString& name);
} // namespace file_list

// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFixture.h"

#include "session/Texts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "windows/NoticeWindow.h"
#include "windows/LanguageWindow.h"
#include "windows/QuestionWindow.h"
#include "view/BoardArea.h"
#include "view/BoardPainter.h"
#include "view/GradientButton.h"
#include "view/StatusPanel.h"

namespace {

constexpr int PollMs = 5;

QString describe(QWidget* window) {
    if (auto* question = qobject_cast<TYesNoDialog*>(window))
        return QStringLiteral("TYesNoDialog %1").arg(question->code());
    if (auto* notice = qobject_cast<TOKDialog*>(window))
        return QStringLiteral("TOKDialog %1").arg(notice->code());
    if (auto* box = qobject_cast<QMessageBox*>(window))
        return QStringLiteral("QMessageBox ") + box->text();
    return QString::fromLatin1(window->metaObject()->className());
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

} // namespace

ModalScript::ModalScript() {
    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
    m_timer.start();
}

ModalScript& ModalScript::then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

ModalScript& ModalScript::otherwise(Step step) {
    m_otherwise = std::move(step);
    return *this;
}

void ModalScript::poll() {
    QWidget* window = QApplication::activeModalWidget();
    if (m_running || !window || !window->isVisible())
        return;
    if (m_steps.empty() && !m_otherwise) {
        m_seen << QStringLiteral("unexpected ") + describe(window);
        // The message windows refuse to be closed: their no or OK button ends them.
        if (auto* question = qobject_cast<TYesNoDialog*>(window))
            click(question->NoBtn());
        else if (auto* notice = qobject_cast<TOKDialog*>(window))
            click(notice->OKBtn());
        else
            window->close();
        return;
    }
    m_seen << describe(window);
    Step step = m_otherwise;
    if (!m_steps.empty()) {
        step = std::move(m_steps.front());
        m_steps.pop_front();
    }
    // A step that waits lets this timer fire again; the window it works on is not answered twice.
    m_running = true;
    step(window);
    m_running = false;
}

ModalScript::Step ModalScript::yes() {
    return [](QWidget* window) {
        auto* question = qobject_cast<TYesNoDialog*>(window);
        ASSERT_NE(question, nullptr) << describe(window).toStdString();
        click(question->YesBtn());
    };
}

ModalScript::Step ModalScript::no() {
    return [](QWidget* window) {
        auto* question = qobject_cast<TYesNoDialog*>(window);
        ASSERT_NE(question, nullptr) << describe(window).toStdString();
        click(question->NoBtn());
    };
}

ModalScript::Step ModalScript::ok() {
    return [](QWidget* window) {
        auto* notice = qobject_cast<TOKDialog*>(window);
        ASSERT_NE(notice, nullptr) << describe(window).toStdString();
        click(notice->OKBtn());
    };
}

ModalScript::Step ModalScript::messageBoxOk() {
    return [](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        ASSERT_NE(box, nullptr) << describe(window).toStdString();
        box->button(QMessageBox::Ok)->click();
    };
}

ModalScript::Step ModalScript::english() {
    return [](QWidget* window) {
        auto* tongue = qobject_cast<TTongueDlg*>(window);
        ASSERT_NE(tongue, nullptr) << describe(window).toStdString();
        tongue->EnglishBtn()->click();
    };
}

ModalScript::Step ModalScript::german() {
    return [](QWidget* window) {
        auto* tongue = qobject_cast<TTongueDlg*>(window);
        ASSERT_NE(tongue, nullptr) << describe(window).toStdString();
        tongue->GermanBtn()->click();
    };
}

ModalScript::Step ModalScript::agree() {
    return [](QWidget* window) {
        if (auto* question = qobject_cast<TYesNoDialog*>(window))
            click(question->YesBtn());
        else if (auto* notice = qobject_cast<TOKDialog*>(window))
            click(notice->OKBtn());
        else if (auto* box = qobject_cast<QMessageBox*>(window))
            box->button(QMessageBox::Ok)->click();
        else
            window->close();
    };
}

ModalScript::Step ModalScript::inspect(std::function<void(QWidget*)> check, Step answer) {
    return [check = std::move(check), answer = std::move(answer)](QWidget* window) {
        check(window);
        answer(window);
    };
}

// --- The fixture

LevelRecord GameFixture::boardOne() {
    LevelRecord record;
    MakeNewBoard(record);
    record.Size = 5;
    record.Shape = ShapeSquare;
    for (int cell = 0; cell < CellCount; ++cell) {
        const bool onBoard = cell % GridWidth < 5 && cell / GridWidth < 5;
        record.StartCells[cell] = onBoard ? EmptyHole : NoHole;
        record.TargetCells[cell] = record.StartCells[cell];
    }
    for (const int peg : {0, 1, 3})
        record.StartCells[peg] = FirstColourPeg;
    return record;
}

LevelRecord GameFixture::solvedBoardOne() {
    LevelRecord record = boardOne();
    record.SolutionFrom[0] = 0;
    record.SolutionTo[0] = 2;
    record.SolutionFrom[1] = 3;
    record.SolutionTo[1] = 1;
    record.SolutionMoves = 2;
    record.Names[NameSlotForLanguage(LanguageEnglish)].setText("Solved");
    return record;
}

LevelRecord GameFixture::boardTwo() {
    LevelRecord record = boardOne();
    record.StartCells[3] = EmptyHole;
    record.StartCells[30] = SecondColourPeg;
    record.Names[NameSlotForLanguage(LanguageEnglish)].setText("Second");
    return record;
}

void GameFixture::SetUp() {
    ASSERT_TRUE(m_program.isValid());
    ASSERT_TRUE(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    // The recovery copy and a player's own collection stay inside the test too.
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_config.path() + "/state"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_config.path() + "/data"));
    const QDir built(QStringLiteral(TOLVAR_PROGRAM_DIR));
    QStringList files{"b1.bmp", "b2.bmp", "b5.bmp"};
    for (const int n : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14})
        files << QStringLiteral("w%1.wav").arg(n);
    for (const QString& name : files)
        ASSERT_TRUE(QFile::copy(built.filePath(name), m_program.filePath(name))) << name.toStdString();

    writeCollection({boardOne(), boardTwo()});
}

void GameFixture::writeCollection(const std::vector<LevelRecord>& records) const {
    QFile collection(m_program.filePath("vorn.dat"));
    ASSERT_TRUE(collection.open(QIODevice::WriteOnly));
    for (const LevelRecord& record : records) {
        const auto bytes = record.toBytes();
        collection.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
}

QString GameFixture::settingsText() const {
    QFile file(settingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void GameFixture::writeSettings(const QString& text) const {
    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

void GameFixture::removeProgramFile(const QString& name) const {
    ASSERT_TRUE(QFile::remove(m_program.filePath(name)));
}

std::unique_ptr<TMainForm> GameFixture::startGame() {
    auto form = std::make_unique<TMainForm>(programPath());
    form->createOtherWindows();
    form->show();
    // The first activation is queued behind the showing; its modal windows run inside this call.
    QCoreApplication::processEvents();
    return form;
}

std::unique_ptr<TMainForm> GameFixture::startEnglishGame() {
    writeSettings(QStringLiteral("[Tolvar Pegs 1]\ntongue=0\n"));
    ModalScript none;
    auto form = startGame();
    EXPECT_TRUE(none.seen().isEmpty()) << none.seen().join(", ").toStdString();
    return form;
}

QPoint GameFixture::cellCentre(int cell) {
    return cellCentre(boardOne(), cell);
}

QPoint GameFixture::cellCentre(const LevelRecord& record, int cell) {
    const Point anchor = CellAnchor(record, cell);
    return {anchor.x + 8, anchor.y + 8};
}

// The small board's anchors; a click hits from 2 pixels before an anchor to 10 past it.
QPoint GameFixture::targetCellCentre(const LevelRecord& record, int cell) {
    const int size = record.Size;
    const int row = cell / GridWidth;
    const int col = cell % GridWidth;
    if (record.isHexagon())
        return {402 - 8 * size + 16 * col + (row % 2 == 1 ? 8 : 0) + 4, 104 - 7 * size + 14 * row + 4};
    return {402 - 8 * size + 16 * col + 4, 106 - 8 * size + 16 * row + 4};
}

void GameFixture::clickBoard(TMainForm& form, QPoint at, Qt::MouseButton button) {
    QTest::mouseClick(form.box(), button, {}, at);
}

void GameFixture::drag(TMainForm& form, QPoint from, const std::vector<QPoint>& via, QPoint to,
                       Qt::MouseButton button) {
    QTest::mousePress(form.box(), button, {}, from);
    for (const QPoint& point : via)
        QTest::mouseMove(form.box(), point);
    QTest::mouseRelease(form.box(), button, {}, to);
}

QImage GameFixture::freshBoard(const TMainForm& form) {
    QImage area(board_layout::AreaWidth, board_layout::AreaHeight, QImage::Format_RGB32);
    area.fill(Qt::black);
    BoardPainter painter(area, {});
    painter.setBackground(form.backgroundPicture());
    const Session& session = form.session();
    const BoardInputs inputs{session.play().Cells, session.currentRecord(), session.mode() == ModeEditing,
                             session.firstDesign(), session.secondDesign()};
    painter.boxPaint(inputs);
    return area;
}

bool GameFixture::displayShows(const TMainForm& form, int x, int sourceX, int width) {
    const QImage display =
        form.statusPanel()->timbox()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& numbs = form.statusPanel()->numbs();
    for (int dy = 0; dy < TimboxHeight; ++dy) {
        for (int dx = 0; dx < width; ++dx) {
            if (display.pixel(x + dx, dy) != numbs.pixel(sourceX + dx, dy))
                return false;
        }
    }
    return true;
}

bool GameFixture::displayShowsColumns(const TMainForm& form, int first, int second, int third) {
    return displayShows(form, 0, first, 11) && displayShows(form, 12, second, 11) &&
           displayShows(form, 24, third, 11);
}

// --- File lists

namespace file_list {

namespace {

QModelIndex entry(QListView* view, const QString& name) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, view->rootIndex());
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

} // namespace

QModelIndex waitForEntry(QListView* view, const QString& name) {
    (void)QTest::qWaitFor([&] { return entry(view, name).isValid(); }, 10000);
    return entry(view, name);
}

bool doubleClickEntry(QListView* view, const QString& name) {
    const QModelIndex index = waitForEntry(view, name);
    if (!index.isValid())
        return false;
    view->scrollTo(index);
    // QTest's double-click is the second press alone; a player's first click comes before it.
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    return true;
}

} // namespace file_list

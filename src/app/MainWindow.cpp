// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "session/Texts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <optional>

#include "app/BoardKeys.h"
#include "app/DeadEndWatch.h"
#include "app/DisplayPlatform.h"
#include "app/HelpWindow.h"
#include "app/HintAsker.h"
#include "app/ScreenPlace.h"
#include "view/BoardArea.h"
#include "view/BoardSelector.h"
#include "view/PictureFile.h"
#include "view/Pictures.h"
#include "view/QtText.h"
#include "view/Sprites.h"
#include "view/StatusPanel.h"
#include "view/ToolButton.h"
#include "windows/AboutWindow.h"
#include "windows/EditorIntroWindow.h"
#include "windows/EditorWindow.h"
#include "windows/ExportWindow.h"
#include "windows/ImportWindow.h"
#include "windows/LanguageWindow.h"
#include "windows/MessageWindow.h"
#include "windows/NoticeWindow.h"
#include "windows/QuestionWindow.h"

namespace {

const QString StartCaption = toQString(ProgramCaption);
constexpr QRect BackShapeRect{326, 272, 171, 93};
constexpr QRect LevelscrollRect{344, 8, 69, 19};
constexpr int ToolButtonTop = 4;
constexpr int ToolButtonWidth = 24;
constexpr int ToolButtonHeight = 25;
constexpr int TolvarBtnWidth = 28;
constexpr int SelectorPageStep = 10;
constexpr int SpriteSize = board_layout::BigPegSize;
constexpr int SpriteCentre = SpriteSize / 2;
const QColor Silver{192, 192, 192};

// The smallest pictures that hold every piece the drawing and the message windows take from them.
constexpr QSize BackgroundLeast{1180, 333};
constexpr QSize AtlasLeast{420, 248};

constexpr const char* RecoveryFileName = "vorn-recovery.dat";

bool holds(const QImage& picture, QSize least) {
    return !picture.isNull() && picture.width() >= least.width() && picture.height() >= least.height();
}

QImage loadPicture(const QString& path, QSize least) {
    const QImage picture = LoadPictureFile(path);
    if (!holds(picture, least))
        return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

MouseButton buttonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        return MouseButton::Left;
    if (button == Qt::RightButton)
        return MouseButton::Right;
    return MouseButton::Other;
}

// The screens' available areas, where a window read from the settings may stand.
QVector<QRect> ScreenAreas() {
    QVector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(screen->availableGeometry());
    return areas;
}

// The next design of one colour, skipping the design the other colour has.
int nextDesign(int design, int other) {
    design = (design + 1) % board_layout::DesignCount;
    if (design == other)
        design = (design + 1) % board_layout::DesignCount;
    return design;
}

} // namespace

// --- Creation and the first activation

TMainForm::TMainForm(const QString& programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_programDir(programDir), m_settings(DefaultSettingsPath()), m_sounds(programDir) {
    // FormCreate: the settings file is only named here; the clock seeds the removal effect's order.
    m_random.seed(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    setWindowTitle(StartCaption);
    setWindowIcon(QIcon(QString::fromLatin1(pictures::Icon256)));
    setFixedSize(ClientWidth, ClientHeight);

    buildToolPanel();
    m_box = new BoardArea(this);
    m_box->move(0, PanelHeight);
    m_painter = std::make_unique<BoardPainter>(*m_box, [this](const QRect& rect) { showBoardRect(rect); });
    // Over the board area's lower right corner; it swallows its clicks, so they never reach the board.
    m_backShape = new QWidget(this);
    m_backShape->setGeometry(BackShapeRect);
    m_backShape->installEventFilter(this);
    m_help = new HelpWindow(this);
    m_hints = new HintAsker(*this, m_session, this);
    m_keys = new BoardKeys({*this, m_session, *m_hints, *m_box, *m_levelscroll, *m_backmoveBtn, *m_restartBtn,
                            *m_stepBtn, *m_helpBtn, *m_editBtn, *m_exitBtn},
                           this);
    m_deadEnd = new DeadEndWatch(*m_box, this);
    connectControls();

    restorePlace();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::createOtherWindows() {
    m_editDlg = new TEditDlg(this);
    m_loadDlg = new Tloaddlg(this);
    m_saveDlg = new TSaveDlg(this);
    m_infoDlg = new TInfoDialog(this);
    m_tongueDlg = new TTongueDlg(this);
    m_editInfoDlg = new TEditInfoDlg(QImage(), this);
    m_okDlg = new TOKDialog(QImage(), this);
    m_yesNoDlg = new TYesNoDialog(QImage(), this);
    connectEditor();
}

TStyleSpeedButton* TMainForm::makeToolButton(int left, int width, const pictures::GlyphStrip& glyphs) {
    auto* button = new TStyleSpeedButton(m_panel);
    button->setStyle(bsWin97);
    button->setGeometry(left, ToolButtonTop, width, ToolButtonHeight);
    button->setGlyph(glyphs);
    return button;
}

void TMainForm::buildToolPanel() {
    m_panel = new QFrame(this);
    m_panel->setGeometry(0, 0, ClientWidth, PanelHeight);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QPalette silver = m_panel->palette();
    silver.setColor(QPalette::Window, Silver);
    silver.setColor(QPalette::Button, Silver);
    m_panel->setPalette(silver);
    m_panel->setAutoFillBackground(true);

    m_restartBtn = makeToolButton(4, ToolButtonWidth, pictures::RestartBtn);
    m_backmoveBtn = makeToolButton(28, ToolButtonWidth, pictures::BackmoveBtn);
    m_soundBtn = makeToolButton(52, ToolButtonWidth, pictures::SoundBtn);
    m_soundBtn->setGroupIndex(1);
    m_soundBtn->setAllowAllUp(true);
    m_editBtn = makeToolButton(76, ToolButtonWidth, pictures::EditBtn);
    m_editBtn->setGroupIndex(2);
    m_editBtn->setAllowAllUp(true);
    m_pegBtn = makeToolButton(100, ToolButtonWidth, pictures::PegBtn);
    m_stepBtn = makeToolButton(124, ToolButtonWidth, pictures::StepBtn);
    m_exitBtn = makeToolButton(148, ToolButtonWidth, pictures::ExitBtn);
    m_helpBtn = makeToolButton(420, ToolButtonWidth, pictures::HelpBtn);
    m_infoBtn = makeToolButton(444, ToolButtonWidth, pictures::InfoBtn);
    m_tolvarBtn = makeToolButton(468, TolvarBtnWidth, pictures::TolvarBtn);
    m_soundBtn->setDown(true);

    m_status = new StatusPanel(QImage(QString::fromLatin1(pictures::Numbs)),
                               QImage(QString::fromLatin1(pictures::FineNumbs)), m_panel);
    m_status->setSource([this] {
        const PlayState& play = m_session.play();
        const LevelCollection& collection = m_session.collection();
        const LevelRecord& stored = collection.slot(collection.currentNumber());
        return StatusValues{play.Par, play.MoveCount, m_session.currentRecord().Diagonal, stored.isOriginal(),
                            stored.isSolved()};
    });

    m_levelscroll = new BoardSelector(m_panel);
    m_levelscroll->setGeometry(LevelscrollRect);
    m_levelscroll->setRange(1, 1);
    m_levelscroll->setSingleStep(1);
    m_levelscroll->setPageStep(SelectorPageStep);
}

void TMainForm::connectControls() {
    connect(m_restartBtn, &QAbstractButton::clicked, this, &TMainForm::RestartBtnClick);
    connect(m_backmoveBtn, &QAbstractButton::clicked, this, &TMainForm::BackMoveBtnClick);
    connect(m_soundBtn, &QAbstractButton::clicked, this, &TMainForm::SoundBtnClick);
    connect(m_editBtn, &QAbstractButton::clicked, this, [this] { EditBtnClick(m_editBtn->Down()); });
    connect(m_pegBtn, &TStyleSpeedButton::mouseDown, this, &TMainForm::PegBtnMouseDown);
    connect(m_stepBtn, &QAbstractButton::clicked, this, &TMainForm::StepBtnClick);
    connect(m_exitBtn, &QAbstractButton::clicked, this, &TMainForm::ExitBtnClick);
    connect(m_helpBtn, &QAbstractButton::clicked, this, &TMainForm::HelpBtnClick);
    connect(m_infoBtn, &QAbstractButton::clicked, this, &TMainForm::InfoBtnClick);
    connect(m_tolvarBtn, &QAbstractButton::clicked, this, &TMainForm::TolvarBtnClick);
    connect(m_levelscroll, &QScrollBar::valueChanged, this, &TMainForm::levelscrollChange);

    connect(m_box, &BoardArea::mouseDown, this, [this](QPoint pos, Qt::MouseButton button) {
        m_session.boxMouseDown(pos.x(), pos.y(), buttonOf(button));
    });
    connect(m_box, &BoardArea::mouseMoved, this,
            [this](QPoint pos) { m_session.boxMouseMove(pos.x(), pos.y()); });
    connect(m_box, &BoardArea::mouseUp, this, [this](QPoint pos, Qt::MouseButton button) {
        m_session.boxMouseUp(pos.x(), pos.y(), buttonOf(button));
    });
}

void TMainForm::connectEditor() {
    connect(m_editDlg, &TEditDlg::activated, this, &TMainForm::editorActivated);
    connect(m_editDlg, &TEditDlg::deactivated, this, &TMainForm::editorDeactivated);
    connect(m_editDlg, &TEditDlg::loadClicked, this, &TMainForm::LoadBtnClick);
    connect(m_editDlg, &TEditDlg::saveClicked, this, &TMainForm::SaveBtnClick);
    connect(m_editDlg, &TEditDlg::insertClicked, this, [this] { m_session.InsertBtnClick(); });
    connect(m_editDlg, &TEditDlg::deleteClicked, this, [this] { m_session.DeleteBtnClick(); });
    connect(m_editDlg, &TEditDlg::downClicked, this, [this] { m_session.DownBtnClick(); });
    connect(m_editDlg, &TEditDlg::upClicked, this, [this] { m_session.UpBtnClick(); });
    connect(m_editDlg, &TEditDlg::tongueClicked, this, [this] { m_session.TongBtnClick(); });
    connect(m_editDlg, &TEditDlg::shapeChanged, this, [this](int shape) { m_session.ShapeGrpClick(shape); });
    connect(m_editDlg, &TEditDlg::sizeChanged, this, [this](int size) { m_session.SizeGrpClick(size); });
    connect(m_editDlg, &TEditDlg::diagonalChanged, this,
            [this](bool allowed) { m_session.diagboxClick(allowed); });
    connect(m_editDlg, &TEditDlg::nameEdited, this, [this](const QByteArray& name) {
        m_session.NameEditChange(std::string(name.constData(), static_cast<std::size_t>(name.size())));
    });
    connect(m_infoDlg, &TInfoDialog::TongBtnClicked, this, [this] {
        m_session.setLanguage(m_tongueDlg->chooseLanguage(m_session.language()));
        m_infoDlg->setLanguage(m_session.language());
        SetHints();
    });
}

// The remembered place is the outer frame's top-left. It is given before the window first shows: only
// then does Qt ask the window manager to put the frame there; a move after the window manager has
// taken the window but before its frame is known would put the client area there instead, and the
// window would creep by its title bar at every start. A place that leaves the title bar off every
// screen is moved onto the screen the window overlaps most; a place off every screen gives way to the
// screen's middle.
void TMainForm::restorePlace() {
    const QPoint stored(m_settings.read(SettingKey::Left), m_settings.read(SettingKey::Top));
    if (const std::optional<QPoint> place = PlaceOnScreens(stored, size(), ScreenAreas())) {
        move(*place);
        return;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Once the window is up, so that what the activation shows (messages, the language window) stands
    // over it.
    if (m_firstActivation) {
        windowHandle()->installEventFilter(this);
        QMetaObject::invokeMethod(this, &TMainForm::FormActivate, Qt::QueuedConnection);
    }
}

void TMainForm::FormActivate() {
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    m_session.setLanguage(m_settings.read(SettingKey::Tongue));
    setWindowTitle(StartCaption);
    setFixedSize(ClientWidth, ClientHeight);
    m_soundBtn->setDown(m_settings.readFlag(SettingKey::Sound));
    m_session.setDesigns(m_settings.read(SettingKey::Fig1), m_settings.read(SettingKey::Fig2));
    m_session.setBackground(m_settings.read(SettingKey::Back));
    const int level = m_settings.read(SettingKey::Level);
    if (!loadPictures(m_session.background())) {
        abortProgram();
        return;
    }
    loadCollection();
    m_helpFile = QStringLiteral("VORN.HLP");
    m_session.selectRememberedBoard(level);
    boxPaint();
    if (m_session.language() == LanguageUnset) {
        m_session.setLanguage(m_tongueDlg->chooseLanguage(m_session.language()));
        // The title names the board in the chosen language.
        UpdateTitle();
    }
    SetHints();
    m_session.offerRecovery();
    m_editorIntro = m_settings.readFlag(SettingKey::Edinf);
}

// Beside the program when the player may write there, else the player's own copy; changes not yet
// saved are kept in the player's state directory until the game ends normally.
void TMainForm::loadCollection() {
    const std::string programDir = QFile::encodeName(m_programDir).toStdString();
    const CollectionFiles files =
        PlaceCollection(programDir, DirectoryWritable(programDir), PlayerDataDirectory());
    m_session.loadCollection(files, PlayerStateDirectory() + RecoveryFileName);
}

bool TMainForm::loadPictures(int background) {
    const QString file = m_programDir + QStringLiteral("b%1.bmp").arg(background + 1);
    const QImage picture = loadPicture(file, BackgroundLeast);
    const QString atlasFile = m_programDir + QStringLiteral("b5.bmp");
    const QImage atlas = loadPicture(atlasFile, AtlasLeast);
    if (picture.isNull() || atlas.isNull())
        return false;
    m_painter->setBackground(picture, LoadFinePicture(file, picture, m_painter->fineScale()));
    m_atlas = atlas;
    const QImage fineAtlas = LoadFinePicture(atlasFile, m_atlas, m_okDlg->fineScale());
    m_okDlg->setAtlas(m_atlas, fineAtlas);
    m_yesNoDlg->setAtlas(m_atlas, fineAtlas);
    m_editInfoDlg->setAtlas(m_atlas, fineAtlas);
    return true;
}

// Nothing is written on this way out: the settings stay as they were.
void TMainForm::abortProgram() {
    QMessageBox::critical(this, StartCaption, toQString(NoMemoryMessage.in(m_session.language())),
                          QMessageBox::Ok);
    m_aborted = true;
    hide();
    emit programEnding();
}

// --- Closing

void TMainForm::closeEvent(QCloseEvent* event) {
    // Before the first activation nothing was read, so there is nothing to ask or write.
    if (m_aborted || m_firstActivation) {
        event->accept();
        return;
    }
    const QScopedValueRollback<bool> closing(m_closing, true);
    if (!FormCloseQuery() || !FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

// Losing the focus ends a drag as a drop on an illegal place would: the release may never come.
void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        m_session.interruptDrag();
}

bool TMainForm::FormCloseQuery() {
    return m_session.confirmClose();
}

// False when the player went back to the game rather than lose changes that nothing could keep.
bool TMainForm::FormClose() {
    m_help->closeHelp();
    // Where the platform cannot know the window's place, the place the settings hold stays.
    const QPoint place = WindowPlacesKnown(QGuiApplication::platformName().toStdString())
                             ? pos()
                             : QPoint(m_settings.read(SettingKey::Left), m_settings.read(SettingKey::Top));
    const WindowSettings window{m_soundBtn->Down(), place.x(), place.y(), m_editorIntro};
    const auto values = m_session.closeSequence(window);
    if (values.empty())
        return false;
    const SettingsWriteResult written = m_settings.write(values);
    reportSettingsFailure(written.ok ? m_editorPlaceError : written.error);
    m_editDlg->hide();
    return true;
}

// The file error names the settings file; nothing of the settings is written after it.
void TMainForm::reportSettingsFailure(int error) {
    if (error == 0)
        return;
    const std::string text = m_session.loadErrorText(error, m_settings.path());
    QMessageBox::critical(this, StartCaption, toQString(text), QMessageBox::Ok);
}

void TMainForm::FormDestroy() {
    // The windows and controls are deleted after the session they report to; nothing they signal
    // while going may reach it.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    m_sprite.reset();
    m_painter->setBackground(QImage());
    m_atlas = QImage();
}

// --- Tool panel

void TMainForm::RestartBtnClick() {
    m_session.RestartBtnClick();
}

void TMainForm::BackMoveBtnClick() {
    m_session.BackMoveBtnClick();
}

// The button has already changed its state; the hint follows it.
void TMainForm::SoundBtnClick() {
    SetHints();
}

void TMainForm::EditBtnClick(bool pressed) {
    if (pressed && m_editorIntro && m_session.mode() != ModeEditing)
        m_editorIntro = m_editInfoDlg->showFor(m_session.language(), this);
    m_session.EditBtnClick(pressed);
}

void TMainForm::PegBtnMouseDown(Qt::MouseButton button) {
    int first = m_session.firstDesign();
    int second = m_session.secondDesign();
    if (button == Qt::LeftButton)
        first = nextDesign(first, second);
    else if (button == Qt::RightButton)
        second = nextDesign(second, first);
    m_session.setDesigns(first, second);
    m_painter->DrawAllCells(boardInputs());
    m_painter->DrawAllTargetCells(boardInputs());
}

void TMainForm::StepBtnClick() {
    m_session.StepBtnClick();
}

void TMainForm::ExitBtnClick() {
    close();
}

void TMainForm::levelscrollChange(int position) {
    m_session.levelscrollChange(position);
}

void TMainForm::showHelp(const char* file, const Bilingual& topic) {
    m_help->closeHelp();
    m_helpFile = QString::fromLatin1(file);
    m_help->showTopic(m_programDir + m_helpFile, toQString(topic.in(m_session.language())));
}

void TMainForm::HelpBtnClick() {
    showHelp("VORN.HLP", GameHelpTopic);
}

void TMainForm::TolvarBtnClick() {
    showHelp("VSER.HLP", TolvarHelpTopic);
}

void TMainForm::InfoBtnClick() {
    m_infoDlg->showFor(m_session.language(), this);
    // The language may have changed in the about box; the title carries the name in that language.
    UpdateTitle();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Qt lets a close request through to a window that is closing already and then ends the program at
    // once, whatever the close is still asking: while it asks, the window manager's requests are turned
    // away, and only the questions' own buttons answer them.
    if (watched == windowHandle() && event->type() == QEvent::Close && m_closing) {
        event->ignore();
        return true;
    }
    if (watched == m_backShape &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        BackShapeMouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::BackShapeMouseDown() {
    const int background = (m_session.background() + 1) % 2;
    if (LoadBackground(background))
        m_session.setBackground(background);
    SetHints();
}

// --- Editor window

void TMainForm::editorActivated() {
    const QPoint fallback = DefaultEditorPosition(frameGeometry());
    const QPoint stored(m_settings.read(SettingKey::Eleft, fallback.x()),
                        m_settings.read(SettingKey::Etop, fallback.y()));
    m_editDlg->move(
        PlaceOnScreens(stored, m_editDlg->frameGeometry().size(), ScreenAreas()).value_or(fallback));
}

// A failure here is told at close: a message box now would take the activation again.
void TMainForm::editorDeactivated(QPoint topLeft) {
    if (!WindowPlacesKnown(QGuiApplication::platformName().toStdString()))
        return;
    const SettingsWriteResult written =
        m_settings.write({{SettingKey::Eleft, topLeft.x()}, {SettingKey::Etop, topLeft.y()}});
    if (!written.ok)
        m_editorPlaceError = written.error;
}

// The import window starts in the program directory each time.
void TMainForm::LoadBtnClick() {
    if (!m_session.startImport() || !m_loadDlg->choose(m_session.language(), m_programDir))
        return;
    m_session.importBoard(QFile::encodeName(m_loadDlg->selectedPath()).toStdString());
}

// The export window keeps the directory it showed last.
void TMainForm::SaveBtnClick() {
    if (!m_session.startExport() || !m_saveDlg->choose(m_session.language()))
        return;
    m_session.exportBoard(QFile::encodeName(m_saveDlg->chosenPath()).toStdString());
}

// --- Texts and drawing

void TMainForm::SetHints() {
    const LevelRecord& record = m_session.currentRecord();
    HintInputs inputs;
    inputs.language = m_session.language();
    inputs.startingUp = m_session.mode() == ModeStartup;
    inputs.soundOn = m_soundBtn->Down();
    inputs.background = m_session.background();
    inputs.shape = record.Shape;
    inputs.diagonal = record.Diagonal;
    inputs.original = record.Original;
    inputs.solved = record.Solved;
    const MainHints hints = ComputeHints(inputs);

    m_restartBtn->setToolTip(toQString(hints.RestartBtn));
    m_backmoveBtn->setToolTip(toQString(hints.BackmoveBtn));
    m_soundBtn->setToolTip(toQString(hints.SoundBtn));
    m_editBtn->setToolTip(toQString(hints.EditBtn));
    m_pegBtn->setToolTip(toQString(hints.PegBtn));
    m_stepBtn->setToolTip(toQString(hints.StepBtn));
    m_exitBtn->setToolTip(toQString(hints.ExitBtn));
    m_status->movshape()->setToolTip(toQString(hints.movshape));
    m_status->DiagShape()->setToolTip(hints.DiagShapeShown ? toQString(hints.DiagShape) : QString());
    m_status->OrigShape()->setToolTip(toQString(hints.OrigShape));
    m_status->SolvShape()->setToolTip(toQString(hints.SolvShape));
    m_levelscroll->setToolTip(toQString(hints.levelscroll));
    m_helpBtn->setToolTip(toQString(hints.HelpBtn));
    m_infoBtn->setToolTip(toQString(hints.InfoBtn));
    m_tolvarBtn->setToolTip(toQString(hints.TolvarBtn));
    m_backShape->setToolTip(toQString(hints.BackShape));
    m_status->MovesLabel()->setText(toQString(hints.MovesLabel));
    if (hints.refreshEditorControls && m_editDlg) {
        const LevelCollection& collection = m_session.collection();
        m_editDlg->UpdateControls(record, m_session.language(), collection.currentNumber(),
                                  collection.count());
    }
}

// A picture that cannot be loaded leaves the old one, and with it the background setting, in place.
bool TMainForm::LoadBackground(int background) {
    const QString file = m_programDir + QStringLiteral("b%1.bmp").arg(background + 1);
    const QImage picture = loadPicture(file, BackgroundLeast);
    if (picture.isNull()) {
        QMessageBox::critical(this, StartCaption,
                              toQString(PictureLoadFailed.in(m_session.language())).arg(file),
                              QMessageBox::Ok);
        return false;
    }
    m_painter->setBackground(picture, LoadFinePicture(file, picture, m_painter->fineScale()));
    boxPaint();
    repaint();
    return true;
}

BoardInputs TMainForm::boardInputs() const {
    return {m_session.play().Cells, m_session.currentRecord(), m_session.mode() == ModeEditing,
            m_session.firstDesign(), m_session.secondDesign()};
}

void TMainForm::showBoardRect(const QRect& rect) {
    m_box->repaintRect(rect);
}

void TMainForm::boxPaint() {
    m_painter->boxPaint(boardInputs());
    m_keys->boardRedrawn();
    movesboxPaint();
    UpdateTitle();
    m_panel->repaint();
}

void TMainForm::movesboxPaint() {
    m_status->movesboxPaint();
}

void TMainForm::UpdateTitle() {
    const LevelCollection& collection = m_session.collection();
    setWindowTitle(
        ::UpdateTitle(collection.currentNumber(), m_session.currentRecord(), m_session.language()));
    // The board area shows the board the title names.
    m_box->setAccessibleName(windowTitle());
}

// --- Frontend

void TMainForm::drawCell(int cell) {
    m_painter->DrawCell(boardInputs(), cell);
}

void TMainForm::drawTargetCell(int cell) {
    m_painter->DrawTargetCell(boardInputs(), cell);
}

void TMainForm::paintBoard() {
    boxPaint();
}

void TMainForm::updateTitle() {
    UpdateTitle();
}

void TMainForm::removalEffect(int cell) {
    const EffectHooks hooks{[this](int number) { playSound(number); },
                            [this](int ms) {
                                pause(ms);
                            }};
    m_painter->RemovalEffect(boardInputs(), cell, m_random, hooks);
}

// Sleeps in an event loop that lets paint events through and leaves the player's input waiting; a
// precise timer ends it, so the removal effect's 1 ms steps keep their pace without burning CPU.
void TMainForm::pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// A modal window takes the mouse: whatever a held button was doing ends before it shows, or the
// release would be lost and the drag or the selector's repeat would go on behind the window.
void TMainForm::interruptPointer() {
    m_session.interruptDrag();
    m_levelscroll->endPress();
}

bool TMainForm::ask(Question question) {
    interruptPointer();
    return m_yesNoDlg->ShowModal(static_cast<int>(question), m_session.language(), this) == mrYes;
}

void TMainForm::notice(Notice notice) {
    interruptPointer();
    m_okDlg->ShowModal(static_cast<int>(notice), m_session.language(), this);
}

void TMainForm::showError(const std::string& message) {
    interruptPointer();
    QMessageBox::critical(this, StartCaption, toQString(message), QMessageBox::Ok);
}

void TMainForm::playSound(int number) {
    m_sounds.play(number, m_soundBtn->Down());
}

void TMainForm::repaintStatus() {
    movesboxPaint();
    m_deadEnd->follow(m_session);
    m_hints->follow();
}

void TMainForm::refreshHints() {
    SetHints();
}

void TMainForm::setStepEnabled(bool enabled) {
    m_stepBtn->setEnabled(enabled);
}

void TMainForm::setRestartAndUndoEnabled(bool enabled) {
    m_restartBtn->setEnabled(enabled);
    m_backmoveBtn->setEnabled(enabled);
}

void TMainForm::setSelector(int maximum, int position) {
    const QSignalBlocker quiet(m_levelscroll);
    m_levelscroll->setRange(1, maximum);
    m_levelscroll->setValue(position);
}

// The sprite is made after the picked cell was redrawn as an empty hole, so its save-under holds it.
void TMainForm::startDrag(int x, int y, int code) {
    const int design = code == SecondColourPeg ? m_session.secondDesign() : m_session.firstDesign();
    m_sprite = std::make_unique<tSprite>(m_box->image(), SpriteSize, SpriteSize,
                                         [this](const QRect& rect) { showBoardRect(rect); });
    m_painter->dressPegSprite(*m_sprite, design);
    m_sprite->MoveTo(x - SpriteCentre, y - SpriteCentre);
    m_sprite->Show();
    m_sprite->Grab(x, y);
    // The peg is off its cell: a hint asked before is not for the cells under the drag.
    m_hints->follow();
}

void TMainForm::moveDrag(int x, int y) {
    if (m_sprite)
        m_sprite->DragTo(x, y);
}

void TMainForm::endDrag() {
    if (!m_sprite)
        return;
    m_sprite->Release();
    m_sprite->Hide();
    m_sprite.reset();
}

void TMainForm::showEditor(bool visible) {
    if (!visible) {
        m_editDlg->hide();
        return;
    }
    editorActivated();
    m_editDlg->show();
    m_editDlg->raise();
    m_editDlg->activateWindow();
}

// The hinted peg hops to its hole and back twice, drawn from a copy of the cells; the real cells are
// drawn again at the end, so the board is left exactly as it was.
void TMainForm::blinkHint(int from, int to) {
    constexpr int BlinkMs = 220;
    constexpr int Blinks = 2;
    Position hopped = m_session.play().Cells;
    hopped[to] = hopped[from];
    hopped[from] = EmptyHole;
    const BoardInputs real = boardInputs();
    const BoardInputs shown{hopped, real.record, real.editing, real.firstDesign, real.secondDesign};
    for (int blink = 0; blink < Blinks; ++blink) {
        m_painter->DrawCell(shown, from);
        m_painter->DrawCell(shown, to);
        pause(BlinkMs);
        m_painter->DrawCell(real, from);
        m_painter->DrawCell(real, to);
        pause(BlinkMs);
    }
}

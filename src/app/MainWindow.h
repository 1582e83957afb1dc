// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the main window. It owns the game session, shows it through the board area, the tool
// panel and the other windows, and turns Qt's events into session calls; the rules live in Session.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>
#include <random>

#include "app/SoundPlayer.h"
#include "session/Bilingual.h"
#include "session/Frontend.h"
#include "session/Session.h"
#include "session/Settings.h"
#include "view/BoardPainter.h"
#include "view/BoardSelector.h"

class BoardArea;
class BoardKeys;
class DeadEndWatch;
class HintAsker;
class HelpWindow;
class QFrame;
class QScrollBar;
class StatusPanel;
class TEditDlg;
class TEditInfoDlg;
class TInfoDialog;
class TOKDialog;
class TSaveDlg;
class TStyleSpeedButton;
class TTongueDlg;
class TYesNoDialog;
class Tloaddlg;
class tSprite;
namespace pictures {
struct GlyphStrip;
}

class TMainForm : public QWidget, public Frontend {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 500;
    static constexpr int PanelHeight = 33;
    static constexpr int ClientHeight = PanelHeight + board_layout::AreaHeight;

    // FormCreate. `programDir` ends with a separator; every file beside the program is read from it.
    explicit TMainForm(const QString& programDir, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The other windows, in the program's order after the main window: editor, import, export, about
    // box, language window, editor introduction, notice window, question window. They belong to the
    // main window and are only shown and hidden.
    void createOtherWindows();

    // True once the pictures could not be loaded at the first activation: the program is ending and
    // nothing is written.
    bool programAborted() const { return m_aborted; }

signals:
    // The pictures could not be loaded and the player has read the message: end the program now.
    void programEnding();

public:
    // The pieces, for the program's tests and benchmarks.
    Session& session() { return m_session; }
    const Session& session() const { return m_session; }
    BoardArea* box() const { return m_box; }
    QFrame* Panel1() const { return m_panel; }
    StatusPanel* statusPanel() const { return m_status; }
    QScrollBar* levelscroll() const { return m_levelscroll; }
    QWidget* BackShape() const { return m_backShape; }
    TStyleSpeedButton* RestartBtn() const { return m_restartBtn; }
    TStyleSpeedButton* BackmoveBtn() const { return m_backmoveBtn; }
    TStyleSpeedButton* SoundBtn() const { return m_soundBtn; }
    TStyleSpeedButton* EditBtn() const { return m_editBtn; }
    TStyleSpeedButton* PegBtn() const { return m_pegBtn; }
    TStyleSpeedButton* StepBtn() const { return m_stepBtn; }
    TStyleSpeedButton* ExitBtn() const { return m_exitBtn; }
    TStyleSpeedButton* HelpBtn() const { return m_helpBtn; }
    TStyleSpeedButton* InfoBtn() const { return m_infoBtn; }
    TStyleSpeedButton* TolvarBtn() const { return m_tolvarBtn; }
    TEditDlg* editDlg() const { return m_editDlg; }
    HelpWindow* helpWindow() const { return m_help; }
    const SoundPlayer& sounds() const { return m_sounds; }
    const QImage& backgroundPicture() const { return m_painter->background(); }
    const tSprite* dragSprite() const { return m_sprite.get(); }
    bool editorIntroWanted() const { return m_editorIntro; }
    const BoardKeys* keys() const { return m_keys; }
    const DeadEndWatch* deadEndWatch() const { return m_deadEnd; }
    const HintAsker* hintAsker() const { return m_hints; }

    // --- Frontend: what the session asks of the screen.
    void drawCell(int cell) override;
    void drawTargetCell(int cell) override;
    void paintBoard() override;
    void updateTitle() override;
    void removalEffect(int cell) override;
    void pause(int ms) override;
    bool ask(Question question) override;
    void notice(Notice notice) override;
    void showError(const std::string& text) override;
    void playSound(int number) override;
    void repaintStatus() override;
    void refreshHints() override;
    void setStepEnabled(bool enabled) override;
    void setRestartAndUndoEnabled(bool enabled) override;
    void setSelector(int maximum, int position) override;
    void startDrag(int x, int y, int code) override;
    void moveDrag(int x, int y) override;
    void endDrag() override;
    void showEditor(bool visible) override;
    void blinkHint(int from, int to) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolPanel();
    TStyleSpeedButton* makeToolButton(int left, int width, const pictures::GlyphStrip& glyphs);
    void connectControls();
    void connectEditor();

    void restorePlace();
    void FormActivate();
    void loadCollection();
    bool loadPictures(int background);
    void abortProgram();
    bool FormCloseQuery();
    bool FormClose();
    void reportSettingsFailure(int error);
    void FormDestroy();

    void RestartBtnClick();
    void BackMoveBtnClick();
    void SoundBtnClick();
    void EditBtnClick(bool pressed);
    void PegBtnMouseDown(Qt::MouseButton button);
    void StepBtnClick();
    void ExitBtnClick();
    void levelscrollChange(int position);
    void HelpBtnClick();
    void InfoBtnClick();
    void TolvarBtnClick();
    void BackShapeMouseDown();
    void editorActivated();
    void editorDeactivated(QPoint topLeft);
    void LoadBtnClick();
    void SaveBtnClick();

    void SetHints();
    bool LoadBackground(int background);
    void boxPaint();
    void movesboxPaint();
    void UpdateTitle();

    void interruptPointer();

    BoardInputs boardInputs() const;
    void showBoardRect(const QRect& rect);
    void showHelp(const char* file, const Bilingual& topic);

    QString m_programDir;
    Settings m_settings;
    Session m_session{*this};
    SoundPlayer m_sounds;
    std::mt19937 m_random;
    bool m_firstActivation = true;
    bool m_aborted = false;
    bool m_closing = false; // the close is asking its questions
    bool m_editorIntro = true;
    int m_editorPlaceError = 0; // errno of a failed write of the editor's place, told at close
    QString m_helpFile;

    // Pictures, loaded at the first activation; the working picture lives in the painter.
    QImage m_atlas;
    std::unique_ptr<BoardPainter> m_painter; // draws into the board area, so made after it
    std::unique_ptr<tSprite> m_sprite;

    QFrame* m_panel = nullptr;
    TStyleSpeedButton* m_restartBtn = nullptr;
    TStyleSpeedButton* m_backmoveBtn = nullptr;
    TStyleSpeedButton* m_soundBtn = nullptr;
    TStyleSpeedButton* m_editBtn = nullptr;
    TStyleSpeedButton* m_pegBtn = nullptr;
    TStyleSpeedButton* m_stepBtn = nullptr;
    TStyleSpeedButton* m_exitBtn = nullptr;
    TStyleSpeedButton* m_helpBtn = nullptr;
    TStyleSpeedButton* m_infoBtn = nullptr;
    TStyleSpeedButton* m_tolvarBtn = nullptr;
    StatusPanel* m_status = nullptr;
    BoardSelector* m_levelscroll = nullptr;
    BoardArea* m_box = nullptr;
    QWidget* m_backShape = nullptr;

    HelpWindow* m_help = nullptr;
    BoardKeys* m_keys = nullptr;
    DeadEndWatch* m_deadEnd = nullptr;
    HintAsker* m_hints = nullptr;
    TEditDlg* m_editDlg = nullptr;
    Tloaddlg* m_loadDlg = nullptr;
    TSaveDlg* m_saveDlg = nullptr;
    TInfoDialog* m_infoDlg = nullptr;
    TTongueDlg* m_tongueDlg = nullptr;
    TEditInfoDlg* m_editInfoDlg = nullptr;
    TOKDialog* m_okDlg = nullptr;
    TYesNoDialog* m_yesNoDlg = nullptr;
};

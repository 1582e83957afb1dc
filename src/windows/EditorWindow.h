// SPDX-License-Identifier: GPL-3.0-or-later
// TEditDlg: the board editor's small modeless tool window. It shows the current board's shape,
// size, diagonal rule and name and carries the list and file commands; every player action leaves
// it as a signal, and the main window turns those into session calls.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "rules/LevelRecord.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TStyleSpeedButton;
namespace pictures {
struct GlyphStrip;
}

// Where the editor window stands when no position is stored: flush right of the main window,
// top edges level (`mainFrame` is the main window's outer rectangle).
QPoint DefaultEditorPosition(const QRect& mainFrame);

class TEditDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 186;
    static constexpr int ClientHeight = 214;

    explicit TEditDlg(QWidget* parent = nullptr);

    // Sets every control from the record, the language and the board's place (`current` of
    // `count`) without running any handler: no change signal is emitted, so neither the record
    // nor the pending-edit flags can change through it.
    void UpdateControls(const LevelRecord& record, int language, int current, int count);

    // The board shown is editable when it is not an original.
    bool editable() const { return m_editable; }

    TStyleSpeedButton* LoadBtn() const { return m_loadBtn; }
    TStyleSpeedButton* SaveBtn() const { return m_saveBtn; }
    TStyleSpeedButton* InsertBtn() const { return m_insertBtn; }
    TStyleSpeedButton* DeleteBtn() const { return m_deleteBtn; }
    TStyleSpeedButton* DownBtn() const { return m_downBtn; }
    TStyleSpeedButton* UpBtn() const { return m_upBtn; }
    TStyleSpeedButton* TongBtn() const { return m_tongBtn; }
    QFrame* Panel1() const { return m_panel; }
    QGroupBox* ShapeGrp() const { return m_shapeGrp; }
    QGroupBox* SizeGrp() const { return m_sizeGrp; }
    QRadioButton* shapeItem(int index) const;
    QRadioButton* sizeItem(int index) const;
    QGroupBox* MoveBox() const { return m_moveBox; }
    QCheckBox* diagbox() const { return m_diagbox; }
    QGroupBox* NameBox() const { return m_nameBox; }
    QLineEdit* NameEdit() const { return m_nameEdit; }

signals:
    void loadClicked();
    void saveClicked();
    void insertClicked();
    void deleteClicked();
    void downClicked();
    void upClicked();
    void tongueClicked();
    void shapeChanged(int shape); // 0 square, 1 hexagon; only when the choice changed
    void sizeChanged(int size);   // 5 to 9; only when the choice changed
    void diagonalChanged(bool allowed);
    void nameEdited(const QByteArray& nameBytes); // the name slot's bytes: Windows-1252, at most 50

    // The window became active: the main window moves it to the stored position ("eleft",
    // "etop") or DefaultEditorPosition; the window itself then refreshes its enabled states and
    // gives the name field the focus.
    void activated();
    // The window stopped being active; `topLeft` (outer frame, screen pixels) goes to "eleft" and
    // "etop".
    void deactivated(QPoint topLeft);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TStyleSpeedButton* makeToolButton(int left, const pictures::GlyphStrip& glyphs);
    QGroupBox* makeRadioGroup(QButtonGroup*& group, int top, int items, int columns);
    void setTexts(int language, bool original);
    void applyEnabledStates();
    void shapeClicked(int shape);
    void sizeClicked(int item);

    QFrame* m_panel = nullptr;
    TStyleSpeedButton* m_loadBtn = nullptr;
    TStyleSpeedButton* m_saveBtn = nullptr;
    TStyleSpeedButton* m_insertBtn = nullptr;
    TStyleSpeedButton* m_deleteBtn = nullptr;
    TStyleSpeedButton* m_downBtn = nullptr;
    TStyleSpeedButton* m_upBtn = nullptr;
    TStyleSpeedButton* m_tongBtn = nullptr;
    QGroupBox* m_shapeGrp = nullptr;
    QButtonGroup* m_shapeItems = nullptr;
    QGroupBox* m_sizeGrp = nullptr;
    QButtonGroup* m_sizeItems = nullptr;
    QGroupBox* m_moveBox = nullptr;
    QCheckBox* m_diagbox = nullptr;
    QGroupBox* m_nameBox = nullptr;
    QLineEdit* m_nameEdit = nullptr;

    // What the last UpdateControls showed, for the activation and the change tests.
    bool m_editable = true;
    int m_shape = ShapeSquare;
    int m_size = 7;
    int m_current = 1;
    int m_count = 1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/EditorWindow.h"

#include "view/Fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

#include "session/WindowTexts.h"
#include "view/Pictures.h"
#include "view/QtText.h"
#include "view/ToolButton.h"
#include "windows/Codepage.h"

namespace {

constexpr int PanelHeight = 33;
constexpr int ToolButtonTop = 4;
constexpr int ToolButtonWidth = 24;
constexpr int ToolButtonHeight = 25;
constexpr int GroupLeft = 4;
constexpr int GroupWidth = 177;
constexpr int RadioGroupHeight = 37;
constexpr int TextBoxHeight = 45;
constexpr int SizeItems = 5;
constexpr int SmallestSize = 5;
// The character height of the window's font, which the radio groups arrange their items by.
constexpr int FontCellHeight = 13;

#if QT_CONFIG(xcb)
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}
#endif

// Qt puts the program's name into an empty title; the window manager must see an empty one. Under X
// both title properties are emptied after Qt has written them.
void EmptyNativeTitle(QWidget& window) {
#if QT_CONFIG(xcb)
    // Other platforms (offscreen among them) may offer the interface without a connection of their own.
    if (QGuiApplication::platformName() != QLatin1String("xcb") ||
        !window.testAttribute(Qt::WA_WState_Created))
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, InternAtom(connection, "_NET_WM_NAME"),
                        InternAtom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}

} // namespace

QPoint DefaultEditorPosition(const QRect& mainFrame) {
    return {mainFrame.left() + mainFrame.width(), mainFrame.top()};
}

TEditDlg::TEditDlg(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    QFont font = ClassicFont(11);
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);

    m_panel = new QFrame(this);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel->setGeometry(0, 0, ClientWidth, PanelHeight);
    m_loadBtn = makeToolButton(4, pictures::LoadBtn);
    m_saveBtn = makeToolButton(28, pictures::SaveBtn);
    m_insertBtn = makeToolButton(52, pictures::InsertBtn);
    m_deleteBtn = makeToolButton(76, pictures::DeleteBtn);
    m_downBtn = makeToolButton(100, pictures::DownBtn);
    m_upBtn = makeToolButton(124, pictures::UpBtn);
    m_tongBtn = makeToolButton(148, pictures::EdTongBtn);
    connect(m_loadBtn, &QToolButton::clicked, this, &TEditDlg::loadClicked);
    connect(m_saveBtn, &QToolButton::clicked, this, &TEditDlg::saveClicked);
    connect(m_insertBtn, &QToolButton::clicked, this, &TEditDlg::insertClicked);
    connect(m_deleteBtn, &QToolButton::clicked, this, &TEditDlg::deleteClicked);
    connect(m_downBtn, &QToolButton::clicked, this, &TEditDlg::downClicked);
    connect(m_upBtn, &QToolButton::clicked, this, &TEditDlg::upClicked);
    connect(m_tongBtn, &QToolButton::clicked, this, &TEditDlg::tongueClicked);

    m_shapeGrp = makeRadioGroup(m_shapeItems, 36, 2, 2);
    m_sizeGrp = makeRadioGroup(m_sizeItems, 76, SizeItems, SizeItems);
    for (int item = 0; item < SizeItems; ++item)
        sizeItem(item)->setText(QString::number(SmallestSize + item));
    connect(m_shapeItems, &QButtonGroup::idClicked, this, &TEditDlg::shapeClicked);
    connect(m_sizeItems, &QButtonGroup::idClicked, this, &TEditDlg::sizeClicked);

    m_moveBox = new QGroupBox(this);
    m_moveBox->setGeometry(GroupLeft, 116, GroupWidth, TextBoxHeight);
    m_diagbox = new QCheckBox(m_moveBox);
    m_diagbox->setGeometry(8, 20, 157, 17);
    m_diagbox->setFocusPolicy(Qt::ClickFocus);
    connect(m_diagbox, &QCheckBox::clicked, this, &TEditDlg::diagonalChanged);

    m_nameBox = new QGroupBox(this);
    m_nameBox->setGeometry(GroupLeft, 164, GroupWidth, TextBoxHeight);
    m_nameEdit = new QLineEdit(m_nameBox);
    m_nameEdit->setGeometry(8, 16, 161, 21);
    m_nameEdit->setFocusPolicy(Qt::ClickFocus);
    // textEdited, not textChanged: only the player's typing is an edit, never UpdateControls.
    connect(m_nameEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { emit nameEdited(NameBytesFromText(text)); });

    setTexts(-1, false);
}

TStyleSpeedButton* TEditDlg::makeToolButton(int left, const pictures::GlyphStrip& glyphs) {
    auto* button = new TStyleSpeedButton(m_panel);
    button->setStyle(bsWin97);
    button->setGlyph(glyphs);
    button->setGeometry(left, ToolButtonTop, ToolButtonWidth, ToolButtonHeight);
    return button;
}

// A radio group arranges its items in columns below its caption, as the platform's radio group
// control does: the height left under the caption is shared by the rows, the width by the columns.
QGroupBox* TEditDlg::makeRadioGroup(QButtonGroup*& group, int top, int items, int columns) {
    auto* box = new QGroupBox(this);
    box->setGeometry(GroupLeft, top, GroupWidth, RadioGroupHeight);
    group = new QButtonGroup(box);
    const int rows = (items + columns - 1) / columns;
    const int itemWidth = (GroupWidth - 10) / columns;
    const int free = RadioGroupHeight - FontCellHeight - 5;
    const int itemHeight = free / rows;
    const int topMargin = FontCellHeight + 1 + (free % rows) / 2;
    for (int item = 0; item < items; ++item) {
        auto* radio = new QRadioButton(box);
        radio->setGeometry(8 + (item / rows) * itemWidth, topMargin + (item % rows) * itemHeight, itemWidth,
                           itemHeight);
        group->addButton(radio, item);
    }
    return box;
}

QRadioButton* TEditDlg::shapeItem(int index) const {
    return static_cast<QRadioButton*>(m_shapeItems->button(index));
}

QRadioButton* TEditDlg::sizeItem(int index) const {
    return static_cast<QRadioButton*>(m_sizeItems->button(index));
}

namespace {

// Checks item `index` of an exclusive group, or none when the index names no item (a record
// value outside its range shows as no choice rather than a wrong one).
void checkItem(QButtonGroup* group, int index) {
    const QSignalBlocker blocker(group);
    if (QAbstractButton* item = group->button(index)) {
        item->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

void TEditDlg::UpdateControls(const LevelRecord& record, int language, int current, int count) {
    m_shape = record.Shape;
    m_size = record.Size;
    m_editable = !record.isOriginal();
    m_current = current;
    m_count = count;

    checkItem(m_shapeItems, m_shape);
    checkItem(m_sizeItems, m_size - SmallestSize);
    {
        const QSignalBlocker blocker(m_diagbox);
        m_diagbox->setChecked(record.Diagonal != 0);
    }
    {
        const QSignalBlocker blocker(m_nameEdit);
        const NameSlot& slot = record.Names[static_cast<std::size_t>(NameSlotForLanguage(language))];
        const std::string bytes = slot.text();
        m_nameEdit->setText(TextFromNameBytes(QByteArray(bytes.data(), static_cast<int>(bytes.size()))));
    }
    setTexts(language, !m_editable);
    applyEnabledStates();
}

void TEditDlg::setTexts(int language, bool original) {
    using namespace editor_text;
    setWindowTitle(original ? toQString(CaptionOriginal.in(language)) : QString());
    if (!original)
        EmptyNativeTitle(*this);
    m_shapeGrp->setTitle(toQString(ShapeCaption.in(language)));
    shapeItem(0)->setText(toQString(SquareItem.in(language)));
    shapeItem(1)->setText(toQString(HexagonItem.in(language)));
    m_sizeGrp->setTitle(toQString(SizeCaption.in(language)));
    m_moveBox->setTitle(toQString(MovesCaption.in(language)));
    m_diagbox->setText(toQString(DiagonalCaption.in(language)));
    m_nameBox->setTitle(toQString(NameCaption.in(language)));
    m_tongBtn->setToolTip(toQString(TongHint.in(language)));
    m_deleteBtn->setToolTip(toQString(DeleteHint.in(language)));
    m_insertBtn->setToolTip(toQString(InsertHint.in(language)));
    m_downBtn->setToolTip(toQString(DownHint.in(language)));
    m_upBtn->setToolTip(toQString(UpHint.in(language)));
    m_loadBtn->setToolTip(toQString(LoadHint.in(language)));
    m_saveBtn->setToolTip(toQString(SaveHint.in(language)));
}

void TEditDlg::applyEnabledStates() {
    m_saveBtn->setEnabled(m_editable);
    m_deleteBtn->setEnabled(m_editable);
    m_shapeGrp->setEnabled(m_editable);
    m_sizeGrp->setEnabled(m_editable);
    m_nameEdit->setEnabled(m_editable);
    m_diagbox->setEnabled(m_editable && m_shape == ShapeSquare);
    m_loadBtn->setEnabled(true);
    m_insertBtn->setEnabled(true);
    m_tongBtn->setEnabled(true);
    m_downBtn->setEnabled(m_current > 1);
    m_upBtn->setEnabled(m_current < m_count);
}

void TEditDlg::shapeClicked(int shape) {
    if (shape == m_shape)
        return;
    m_shape = shape;
    m_diagbox->setEnabled(m_editable && shape == ShapeSquare);
    emit shapeChanged(shape);
}

void TEditDlg::sizeClicked(int item) {
    const int size = SmallestSize + item;
    if (size == m_size)
        return;
    m_size = size;
    emit sizeChanged(size);
}

// The player cannot close the editor: it goes with the editor button only.
void TEditDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}

bool TEditDlg::event(QEvent* event) {
    // Qt writes the title when it creates the native window, just before showing it.
    if (event->type() == QEvent::Show && windowTitle().isEmpty())
        EmptyNativeTitle(*this);
    if (event->type() == QEvent::WindowActivate) {
        emit activated();
        applyEnabledStates();
        if (m_editable)
            m_nameEdit->setFocus(Qt::ActiveWindowFocusReason);
        setFixedHeight(ClientHeight);
    } else if (event->type() == QEvent::WindowDeactivate) {
        emit deactivated(pos());
    }
    return QWidget::event(event);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/AboutWindow.h"

#include "session/Texts.h"
#include "session/WindowTexts.h"
#include "view/Pictures.h"
#include "view/QtText.h"
#include "windows/DialogLook.h"

#include <QLabel>
#include <QPushButton>

QPoint PlaceAboutBox(const QRect& mainOuter, int mainClientHeight, QSize ownOuter) {
    return {mainOuter.left() + (mainOuter.width() - ownOuter.width()) / 2,
            mainOuter.top() + mainOuter.height() - (mainClientHeight + ownOuter.height()) / 2};
}

TInfoDialog::TInfoDialog(QWidget* parent) : QDialog(parent) {
    dialoglook::SetFixedDialogFrame(*this, ClientWidth, ClientHeight);
    setFont(dialoglook::SansSerif());

    dialoglook::MakeBevel(this, {4, 4, 301, 169});
    dialoglook::MakeBevel(this, {4, 176, 301, 41});
    m_title = dialoglook::MakePicture(this, {8, 8, 101, 77}, pictures::Title);
    m_icon = dialoglook::MakePicture(this, {36, 96, 37, 37}, pictures::Icon);

    m_progname = dialoglook::MakeLabel(this, {112, 8, 189, 25});
    m_progname->setFont(dialoglook::Arial(19, true));
    m_progname->setText(toQString(about_text::ProgramName));
    m_version = dialoglook::MakeLabel(this, {112, 32, 189, 13});
    m_version->setText(toQString(about_text::Version));
    makeMakerBlock();

    m_tong = new QPushButton(this);
    m_tong->setGeometry(76, 304, 77, 27);
    m_tong->setAutoDefault(false);
    m_ok = new QPushButton(toQString(OKCaption), this);
    m_ok->setGeometry(160, 304, 77, 27);
    m_ok->setDefault(true);

    connect(m_tong, &QPushButton::clicked, this, &TInfoDialog::TongBtnClicked);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    setLanguage(LanguageUnset);
}

// The maker's lines: what the program is and who made it in the upper block, where to learn more
// in the middle block. No address is given; the program's own help tells about Tolvar Games.
void TInfoDialog::makeMakerBlock() {
    m_kind = dialoglook::MakeLabel(this, {112, 52, 189, 13});
    m_maker = dialoglook::MakeLabel(this, {84, 100, 213, 13});
    m_maker->setFont(dialoglook::SansSerif(true));
    m_maker->setText(toQString(MakerName));
    m_made = dialoglook::MakeLabel(this, {84, 116, 213, 52}, true);
    m_contactHead = dialoglook::MakeLabel(this, {12, 181, 285, 13});
    m_contact = dialoglook::MakeLabel(this, {12, 197, 285, 13});
}

int TInfoDialog::showFor(int language, const QWidget* mainWindow) {
    setLanguage(language);
    if (mainWindow)
        move(PlaceAboutBox(mainWindow->frameGeometry(), mainWindow->height(), outerSizeBeside(*mainWindow)));
    return exec();
}

// The box's own frame is known once it has been shown; before that the window manager's frame
// around the main window is the best guess for it, both being titled windows with a fixed border.
QSize TInfoDialog::outerSizeBeside(const QWidget& mainWindow) const {
    if (frameGeometry().size() != size())
        return frameGeometry().size();
    return size() + (mainWindow.frameGeometry().size() - mainWindow.size());
}

void TInfoDialog::setLanguage(int language) {
    using namespace about_text;
    setWindowTitle(toQString(Caption.in(language)));
    m_tong->setText(toQString(TongCaption.in(language)));
    m_kind->setText(toQString(Kind.in(language)));
    m_made->setText(toQString(Made.in(language)));
    m_contactHead->setText(toQString(ContactHead.in(language)));
    m_contact->setText(toQString(Contact.in(language)));
}

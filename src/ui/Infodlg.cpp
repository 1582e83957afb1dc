#include "ui/Infodlg.h"

#include "ui/Tongdlg.h"
#include "view/Pictures.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr Bilingual Caption{"Tolvar Games - Info über ...", "Tolvar Games - Info about ..."};
constexpr Bilingual TongCaption{"Sprache", "Tongue"};
constexpr Bilingual Kind{"Steckspiel mit Bretteditor", "Peg solitaire with a board editor"};
constexpr Bilingual Made{"Programm, Bilder, Klänge, Hilfe und Bretter: alles aus eigener Werkstatt.",
                         "Program, pictures, sounds, help and boards: all made in our own workshop."};
constexpr Bilingual ContactHead{"Mehr über Tolvar Games und seine Spiele:",
                                "More about Tolvar Games and its games:"};
constexpr Bilingual Contact{"der Tolvar-Knopf oben rechts im Spielfenster.",
                            "the Tolvar button at the game window's top right."};

} // namespace

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
    m_progname->setText(QStringLiteral("Tolvar Pegs"));
    m_version = dialoglook::MakeLabel(this, {112, 32, 189, 13});
    m_version->setText(QStringLiteral("Version  V1.0"));
    makeMakerBlock();

    m_tong = new QPushButton(this);
    m_tong->setGeometry(76, 304, 77, 27);
    m_tong->setAutoDefault(false);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
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
    m_maker->setText(QStringLiteral("Tolvar Games"));
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
    setWindowTitle(dialoglook::InLanguage(Caption, language));
    m_tong->setText(dialoglook::InLanguage(TongCaption, language));
    m_kind->setText(dialoglook::InLanguage(Kind, language));
    m_made->setText(dialoglook::InLanguage(Made, language));
    m_contactHead->setText(dialoglook::InLanguage(ContactHead, language));
    m_contact->setText(dialoglook::InLanguage(Contact, language));
}

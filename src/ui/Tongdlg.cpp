#include "ui/Tongdlg.h"

#include "view/Fonts.h"

#include "view/Pictures.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace dialoglook {

void SetFixedDialogFrame(QDialog& dialog, int clientWidth, int clientHeight) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.setModal(true);
}

QFont SansSerif(bool bold) {
    return ClassicFont(11, bold);
}

QFont Arial(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFrame* MakeBevel(QWidget* parent, const QRect& place) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setLineWidth(1);
    bevel->setGeometry(place);
    return bevel;
}

QString InLanguage(const Bilingual& text, int language) {
    const std::string_view chosen = text.in(language);
    return QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
}

QLabel* MakeLabel(QWidget* parent, const QRect& place, bool wrapped) {
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrapped);
    return label;
}

QPixmap BuiltInPicture(const char* path) {
    return QPixmap(QString::fromLatin1(path));
}

QLabel* MakePicture(QWidget* parent, const QRect& place, const char* path) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(place);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(BuiltInPicture(path));
    return picture;
}

} // namespace dialoglook

TTongueDlg::TTongueDlg(QWidget* parent) : QDialog(parent) {
    dialoglook::SetFixedDialogFrame(*this, ClientWidth, ClientHeight);
    setFont(dialoglook::SansSerif());
    setWindowTitle(QStringLiteral("Tolvar Pegs V1.0"));

    dialoglook::MakeBevel(this, {8, 8, 305, 77});
    dialoglook::MakePicture(this, {28, 28, 37, 37}, pictures::Icon);

    m_english = new QPushButton(QStringLiteral("I speak english."), this);
    m_english->setGeometry(84, 16, 221, 27);
    m_german = new QPushButton(QStringLiteral("Ich spreche deutsch."), this);
    m_german->setGeometry(84, 48, 221, 27);
    // Both answer the Return key when they have the focus; English is first in the tab order.
    m_english->setAutoDefault(true);
    m_german->setAutoDefault(true);
    m_english->setDefault(true);
    setTabOrder(m_english, m_german);

    connect(m_english, &QPushButton::clicked, this, &TTongueDlg::EnglishBtnClick);
    connect(m_german, &QPushButton::clicked, this, &TTongueDlg::GermanBtnClick);
}

int TTongueDlg::chooseLanguage(int current) {
    m_language = current;
    exec();
    return m_language;
}

void TTongueDlg::showEvent(QShowEvent* event) {
    // Centred on the screen the window opens on, whoever owns it.
    if (const QScreen* shown = screen()) {
        QRect centred = frameGeometry();
        centred.moveCenter(shown->geometry().center());
        move(centred.topLeft());
    }
    m_english->setFocus();
    QDialog::showEvent(event);
}

void TTongueDlg::EnglishBtnClick() {
    m_language = LanguageEnglish;
    accept();
}

void TTongueDlg::GermanBtnClick() {
    m_language = LanguageGerman;
    accept();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/LanguageWindow.h"

#include "rules/Language.h"
#include "session/Texts.h"
#include "session/WindowTexts.h"
#include "view/Pictures.h"
#include "view/QtText.h"
#include "windows/DialogLook.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

TTongueDlg::TTongueDlg(QWidget* parent) : QDialog(parent) {
    dialoglook::SetFixedDialogFrame(*this, ClientWidth, ClientHeight);
    setFont(dialoglook::SansSerif());
    setWindowTitle(toQString(ProgramCaption));

    dialoglook::MakeBevel(this, {8, 8, 305, 77});
    dialoglook::MakePicture(this, {28, 28, 37, 37}, pictures::Icon);

    m_english = new QPushButton(toQString(language_text::EnglishCaption), this);
    m_english->setGeometry(84, 16, 221, 27);
    m_german = new QPushButton(toQString(language_text::GermanCaption), this);
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

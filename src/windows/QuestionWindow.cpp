// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/QuestionWindow.h"

#include "view/GradientButton.h"
#include "view/QtText.h"

TYesNoDialog::TYesNoDialog(const QImage& atlas, QWidget* parent) : TMessageWindow(atlas, 93, parent) {
    m_yesBtn = makeButton(116, QColor(0, 255, 0));
    m_noBtn = makeButton(192, QColor(255, 0, 0));
    connect(m_yesBtn, &TGradButton::clicked, this, &TYesNoDialog::YesBtnClick);
    connect(m_noBtn, &TGradButton::clicked, this, &TYesNoDialog::NoBtnClick);
    setCaptions(LanguageUnset);
}

int TYesNoDialog::ShowModal(int code, int language, const QWidget* over) {
    if (isVisible())
        return mrNo;
    m_answer = mrNo;
    activate(code, language, over);
    exec();
    return m_answer;
}

void TYesNoDialog::setCaptions(int language) {
    m_yesBtn->setCaption(toQString(YesCaption.in(language)));
    m_noBtn->setCaption(toQString(NoCaption.in(language)));
}

void TYesNoDialog::YesBtnClick() {
    m_answer = mrYes;
    done(mrYes);
}

void TYesNoDialog::NoBtnClick() {
    m_answer = mrNo;
    done(mrNo);
}

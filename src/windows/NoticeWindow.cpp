// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/NoticeWindow.h"

#include "view/GradientButton.h"
#include "view/QtText.h"

TOKDialog::TOKDialog(const QImage& atlas, QWidget* parent) : TMessageWindow(atlas, 97, parent) {
    // Colour 20898 of the platform's encoding, low byte red.
    m_okBtn = makeButton(152, QColor(162, 81, 0));
    m_okBtn->setCaption(toQString(OKCaption));
    connect(m_okBtn, &TGradButton::clicked, this, &TOKDialog::Panel1Click);
}

int TOKDialog::ShowModal(int code, int language, const QWidget* over) {
    if (isVisible())
        return QDialog::Rejected;
    activate(code, language, over);
    return exec();
}

void TOKDialog::Panel1Click() {
    accept();
}

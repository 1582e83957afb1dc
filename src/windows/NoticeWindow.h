// SPDX-License-Identifier: GPL-3.0-or-later
// TOKDialog: the game's own notice window with one OK button.
#pragma once

#include "windows/MessageWindow.h"

class TOKDialog : public TMessageWindow {
    Q_OBJECT
public:
    explicit TOKDialog(const QImage& atlas = {}, QWidget* parent = nullptr);

    // Shows notice `code` (0, 1, 2, 3, 5 or 6) in `language`, centred over `over`'s window, until
    // the OK button closes it. Callers ignore the result.
    int ShowModal(int code, int language, const QWidget* over);

    TGradButton* OKBtn() const { return m_okBtn; }

protected:
    MessageText messageFor(int code) const override { return NoticeText(code); }
    void setCaptions(int) override {}

private:
    void Panel1Click();

    TGradButton* m_okBtn = nullptr;
};

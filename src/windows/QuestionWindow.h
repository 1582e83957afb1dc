// SPDX-License-Identifier: GPL-3.0-or-later
// TYesNoDialog: the game's own question window with a yes and a no button.
#pragma once

#include "windows/MessageWindow.h"

// The platform's modal results for the two answers.
constexpr int mrYes = 6;
constexpr int mrNo = 7;

class TYesNoDialog : public TMessageWindow {
    Q_OBJECT
public:
    explicit TYesNoDialog(const QImage& atlas = {}, QWidget* parent = nullptr);

    // Shows question `code` (0 to 6) in `language`, centred over `over`'s window, and returns
    // mrYes or mrNo, the answer given to this question. Asked while it is already showing, it shows
    // nothing and answers no.
    int ShowModal(int code, int language, const QWidget* over);
    int answer() const { return m_answer; }

    TGradButton* YesBtn() const { return m_yesBtn; }
    TGradButton* NoBtn() const { return m_noBtn; }

protected:
    MessageText messageFor(int code) const override { return QuestionText(code); }
    void setCaptions(int language) override;

private:
    void YesBtnClick();
    void NoBtnClick();

    TGradButton* m_yesBtn = nullptr;
    TGradButton* m_noBtn = nullptr;
    int m_answer = mrNo;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// TTongueDlg: the small window that asks for the interface language.
#pragma once

#include <QDialog>

class QPushButton;

class TTongueDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 320;
    static constexpr int ClientHeight = 91;

    explicit TTongueDlg(QWidget* parent = nullptr);

    // Shows the window modally and returns the language chosen: 0 English, 1 German. Closing it with
    // its close box changes nothing, so `current` comes back.
    int chooseLanguage(int current);

    QPushButton* EnglishBtn() const { return m_english; }
    QPushButton* GermanBtn() const { return m_german; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EnglishBtnClick();
    void GermanBtnClick();

    QPushButton* m_english = nullptr;
    QPushButton* m_german = nullptr;
    int m_language = -1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer: shows a help file of the program directory (HTML) at a named topic.
#pragma once

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Closes the help (hidden, ready to show another file).
    void closeHelp();

    // Shows `file` at the anchor `topic`; a missing file shows a short note instead of failing.
    void showTopic(const QString& file, const QString& topic);

    QString currentFile() const { return m_file; }
    QString currentTopic() const { return m_topic; }
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    QString m_file;
    QString m_topic;
};

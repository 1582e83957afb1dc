#include "app/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(true);
    resize(560, 600);
}

void HelpWindow::closeHelp() {
    hide();
    m_file.clear();
    m_topic.clear();
}

void HelpWindow::showTopic(const QString& file, const QString& topic) {
    m_file = file;
    m_topic = topic;
    setWindowTitle("Tolvar Pegs - " + QFileInfo(file).fileName());
    if (QFile::exists(file)) {
        // The files are HTML whatever their extension says.
        m_browser->setSource(QUrl::fromLocalFile(file), QTextDocument::HtmlResource);
        m_browser->scrollToAnchor(topic);
    } else {
        m_browser->setPlainText(file + ": not found / nicht gefunden");
    }
    show();
    raise();
    activateWindow();
}

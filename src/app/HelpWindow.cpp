// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cerrno>

#include "session/WindowTexts.h"
#include "storage/SafeRead.h"
#include "view/QtText.h"

namespace {

// Every file the help shows, the first and each one a link leads to, is read the safe way: a pipe,
// a device or a huge file in a help file's place is a help file that cannot be read.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        if (!name.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        const FileBytes file =
            ReadRegularFile(QFile::encodeName(name.toLocalFile()).toStdString(), read_limit::Help);
        if (!file.ok())
            return {};
        return QByteArray(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    }
};

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new HelpBrowser(this)) {
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
    setWindowTitle(toQString(help_text::TitlePrefix) + QFileInfo(file).fileName());
    const FileBytes readable = ReadRegularFile(QFile::encodeName(file).toStdString(), read_limit::Help);
    if (readable.ok()) {
        // The files are HTML whatever their extension says.
        m_browser->setSource(QUrl::fromLocalFile(file), QTextDocument::HtmlResource);
        m_browser->scrollToAnchor(topic);
    } else {
        const bool missing = readable.error == ENOENT || readable.error == ENOTDIR;
        m_browser->setPlainText(file +
                                toQString(missing ? help_text::MissingSuffix : help_text::UnreadableSuffix));
    }
    show();
    raise();
    activateWindow();
}

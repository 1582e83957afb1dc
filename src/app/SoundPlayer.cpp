// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundPlayer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

#include "storage/MediaHeaders.h"
#include "storage/SafeRead.h"

namespace {

// How long the end of the game waits for the sound thread. A sound system that accepts a connection
// and never answers holds it for half a minute; the game does not wait for that.
constexpr int ShutdownMilliseconds = 1000;

// Ends the process with `status` before the libraries clean up: Qt Multimedia's clean-up waits for the
// lock the sound thread holds while it connects to the sound system, and frees what the thread then
// goes on to use. Registered at the main window's end, it runs before every other exit handler; the
// game's files are all written and closed by then.
void endBeforeTheLibrariesCleanUp(int status, void*) {
    std::fflush(nullptr);
    _exit(status);
}

QString soundPath(const QString& programDir, int n) {
    return programDir + "w" + QString::number(n) + ".wav";
}

} // namespace

// The sound effects, created, played and destroyed on the sound thread only: the first one connects
// to the sound system, which may take as long as the sound system likes.
class SoundPlayer::Effects : public QObject {
public:
    explicit Effects(QString programDir) : m_programDir(std::move(programDir)) {}

    void stopAllThenStart(int n) {
        for (auto& [number, sound] : m_sounds)
            sound->stop();
        if (n != 0)
            effect(n)->play();
    }

private:
    QSoundEffect* effect(int n) {
        auto found = m_sounds.find(n);
        if (found == m_sounds.end()) {
            auto created = std::make_unique<QSoundEffect>();
            created->setSource(QUrl::fromLocalFile(soundPath(m_programDir, n)));
            found = m_sounds.emplace(n, std::move(created)).first;
        }
        return found->second.get();
    }

    QString m_programDir;
    std::map<int, std::unique_ptr<QSoundEffect>> m_sounds;
};

struct SoundPlayer::Requests {
    std::mutex mutex;
    int next = 0;         // the sound to start once the thread gets to it; 0 only stops
    bool waiting = false; // a request is on its way to the thread
    int started = 0;      // what the thread did last
};

SoundPlayer::SoundPlayer(QString programDir, std::function<void()> alert)
    : m_programDir(std::move(programDir)), m_alert(alert ? std::move(alert) : [] { QApplication::beep(); }),
      m_requests(std::make_shared<Requests>()), m_thread(new QThread), m_effects(new Effects(m_programDir)) {
    m_thread->setObjectName("sounds");
    m_effects->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_effects, &QObject::deleteLater);
    m_thread->start();
}

SoundPlayer::~SoundPlayer() {
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(ShutdownMilliseconds))) {
        delete m_thread;
        return;
    }
    // Still waiting for the sound system: the thread is left to the end of the process. Destroying a
    // running thread would abort the program, and the end would wait for the thread all the same.
    on_exit(endBeforeTheLibrariesCleanUp, nullptr);
}

bool SoundPlayer::playable(int n) {
    auto found = m_playable.find(n);
    if (found != m_playable.end())
        return found->second;
    // Only a complete wave file: the player would wait forever on a pipe and play noise from a cut file.
    const FileBytes file =
        ReadRegularFile(QFile::encodeName(soundPath(m_programDir, n)).toStdString(), read_limit::Sound);
    return m_playable.emplace(n, file.ok() && WaveComplete(file.bytes)).first->second;
}

void SoundPlayer::request(int n) {
    std::lock_guard lock(m_requests->mutex);
    m_requests->next = n;
    if (m_requests->waiting)
        return; // the request on its way takes this one
    m_requests->waiting = true;
    QMetaObject::invokeMethod(
        m_effects,
        [effects = m_effects, requests = m_requests] {
            int next = 0;
            {
                std::lock_guard lock(requests->mutex);
                next = requests->next;
                requests->waiting = false;
            }
            effects->stopAllThenStart(next);
            std::lock_guard lock(requests->mutex);
            requests->started = next;
        },
        Qt::QueuedConnection);
}

int SoundPlayer::threadStarted() const {
    std::lock_guard lock(m_requests->mutex);
    return m_requests->started;
}

void SoundPlayer::play(int n, bool soundOn) {
    if (n == 0 || !soundOn) {
        request(0);
        return;
    }
    if (playable(n)) {
        request(n);
        m_lastStarted = n;
    } else {
        request(0);
        m_alert();
    }
}

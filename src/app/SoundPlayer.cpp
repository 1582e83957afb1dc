// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SoundPlayer.h"

#include <QApplication>
#include <QFile>
#include <QSoundEffect>
#include <QUrl>

#include "storage/MediaHeaders.h"
#include "storage/SafeRead.h"

SoundPlayer::SoundPlayer(QString programDir, std::function<void()> alert)
    : m_programDir(std::move(programDir)), m_alert(alert ? std::move(alert) : [] { QApplication::beep(); }) {}

SoundPlayer::~SoundPlayer() = default;

QSoundEffect* SoundPlayer::effect(int n) {
    auto found = m_effects.find(n);
    if (found != m_effects.end())
        return found->second.get();
    const QString path = m_programDir + "w" + QString::number(n) + ".wav";
    std::unique_ptr<QSoundEffect> created;
    // Only a complete wave file: the player would wait forever on a pipe and play noise from a cut file.
    const FileBytes file = ReadRegularFile(QFile::encodeName(path).toStdString(), read_limit::Sound);
    if (file.ok() && WaveComplete(file.bytes)) {
        created = std::make_unique<QSoundEffect>();
        created->setSource(QUrl::fromLocalFile(path));
    }
    return m_effects.emplace(n, std::move(created)).first->second.get();
}

void SoundPlayer::play(int n, bool soundOn) {
    // Never wait for a sound to finish: without an audio device isPlaying() may stay true.
    for (auto& [number, sound] : m_effects)
        if (sound)
            sound->stop();
    if (n == 0 || !soundOn)
        return;
    if (QSoundEffect* sound = effect(n)) {
        sound->play();
        m_lastStarted = n;
    } else {
        m_alert();
    }
}

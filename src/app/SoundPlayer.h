// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the game's sounds "w<n>.wav" from the program directory, one at a time.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>

class QSoundEffect;

class SoundPlayer {
public:
    // `alert` sounds in place of a missing file: the system's alert sound unless a test listens.
    explicit SoundPlayer(QString programDir, std::function<void()> alert = {});
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops whatever is playing, then starts sound n unless n is 0 or the sound is off. Returns at
    // once; a missing or unplayable file gives the alert instead.
    void play(int n, bool soundOn);

    // The sound number started last, 0 when none was (for tests and diagnostics).
    int lastStarted() const { return m_lastStarted; }

private:
    QSoundEffect* effect(int n);

    QString m_programDir;
    std::function<void()> m_alert;
    std::map<int, std::unique_ptr<QSoundEffect>> m_effects; // loaded when first asked for
    int m_lastStarted = 0;
};

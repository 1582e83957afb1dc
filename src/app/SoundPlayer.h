// Plays the game's sounds "w<n>.wav" from the program directory, one at a time.
#pragma once

#include <QString>
#include <map>
#include <memory>

class QSoundEffect;

class SoundPlayer {
public:
    explicit SoundPlayer(QString programDir);
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops whatever is playing, then starts sound n unless n is 0 or the sound is off. Returns at
    // once; a missing file plays nothing.
    void play(int n, bool soundOn);

    // The sound number started last, 0 when none was (for tests and diagnostics).
    int lastStarted() const { return m_lastStarted; }

private:
    QSoundEffect* effect(int n);

    QString m_programDir;
    std::map<int, std::unique_ptr<QSoundEffect>> m_effects; // loaded when first asked for
    int m_lastStarted = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the game's sounds "w<n>.wav" from the program directory, one at a time.
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>

class QThread;

class SoundPlayer {
public:
    // `alert` sounds in place of a missing file: the system's alert sound unless a test listens.
    explicit SoundPlayer(QString programDir, std::function<void()> alert = {});
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Stops whatever is playing, then starts sound n unless n is 0 or the sound is off. Returns at
    // once, even when the sound system does not answer: the sounds play on a thread of their own,
    // and a request that has not started yet gives way to a newer one. A missing or unplayable file
    // gives the alert instead.
    void play(int n, bool soundOn);

    // The sound number play() started last, 0 when none was (for tests and diagnostics); the sound
    // thread may not have got to it yet.
    int lastStarted() const { return m_lastStarted; }

    // The sound number the sound thread started last, 0 when it stopped them all or started none (for
    // tests: it follows the requests some time after play()).
    int threadStarted() const;

private:
    struct Requests; // what the game asks for and the sound thread has not taken yet
    class Effects;   // the sound effects on the sound thread

    bool playable(int n);
    void request(int n);

    QString m_programDir;
    std::function<void()> m_alert;
    std::map<int, bool> m_playable; // checked when first asked for
    int m_lastStarted = 0;
    std::shared_ptr<Requests> m_requests;
    QThread* m_thread = nullptr;
    Effects* m_effects = nullptr; // lives on m_thread
};

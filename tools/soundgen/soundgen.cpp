// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesises the game's sounds as 16-bit mono PCM WAV files at 22050 Hz.
// Usage: soundgen <program directory>
// Every sound is short, starts and ends with a fade (no clicks) and is scaled to a common peak
// below full scale (no clipping).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 22050;
constexpr double Pi = 3.14159265358979323846;
constexpr double Peak = 0.70; // of full scale

using Samples = std::vector<double>;

int samplesFor(double seconds) {
    return static_cast<int>(seconds * Rate);
}

// Adds a tone whose frequency glides from f0 to f1, with an exponential decay and a few harmonics.
void addTone(Samples& s, double start, double length, double f0, double f1, double decay, double gain,
             std::initializer_list<double> harmonics = {1.0}) {
    const int first = samplesFor(start);
    const int count = samplesFor(length);
    double phase = 0.0;
    for (int i = 0; i < count && first + i < int(s.size()); ++i) {
        const double t = double(i) / Rate;
        const double f = f0 + (f1 - f0) * (t / length);
        phase += 2.0 * Pi * f / Rate;
        double v = 0.0;
        int k = 1;
        for (double h : harmonics)
            v += h * std::sin(phase * k++);
        // Soft edges on every tone, so a note that stops before the sound ends does not click.
        const double attack = std::min(1.0, t / 0.004);
        const double release = std::min(1.0, double(count - i) / samplesFor(0.012));
        s[static_cast<std::size_t>(first + i)] += gain * attack * release * std::exp(-decay * t) * v;
    }
}

// A bell: inharmonic partials, each dying away at its own pace.
void addBell(Samples& s, double start, double f, double gain) {
    const double ratios[] = {1.0, 2.01, 2.76, 4.07, 5.43};
    const double gains[] = {1.0, 0.55, 0.35, 0.2, 0.1};
    for (int i = 0; i < 5; ++i)
        addTone(s, start, 1.0, f * ratios[i], f * ratios[i], 3.5 + 2.5 * i, gain * gains[i]);
}

// Noise through a one-pole low-pass whose cut-off glides, shaped by an envelope.
void addSwoosh(Samples& s, double start, double length, double cut0, double cut1, double gain,
               unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> white(-1.0, 1.0);
    const int first = samplesFor(start);
    const int count = samplesFor(length);
    double low = 0.0, lower = 0.0;
    for (int i = 0; i < count && first + i < int(s.size()); ++i) {
        const double t = double(i) / count;
        const double cut = cut0 * std::pow(cut1 / cut0, t);
        const double a = 1.0 - std::exp(-2.0 * Pi * cut / Rate);
        low += a * (white(random) - low);
        lower += a * (low - lower);
        const double envelope = std::sin(Pi * t) * std::sin(Pi * t);
        s[static_cast<std::size_t>(first + i)] += gain * envelope * (low - lower) * 4.0;
    }
}

// Scales to the common peak and fades both ends so the sound starts and stops at silence.
std::vector<std::int16_t> finish(Samples s) {
    const double peak = std::max(1e-9, std::abs(*std::max_element(s.begin(), s.end(), [](double a, double b) {
                                     return std::abs(a) < std::abs(b);
                                 })));
    const int fadeIn = std::min<int>(samplesFor(0.003), int(s.size()) / 4);
    const int fadeOut = std::min<int>(samplesFor(0.015), int(s.size()) / 4);
    std::vector<std::int16_t> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        double v = s[i] / peak * Peak;
        const int fromEnd = int(s.size() - 1 - i);
        if (int(i) < fadeIn)
            v *= double(i) / fadeIn;
        if (fromEnd < fadeOut)
            v *= double(fromEnd) / fadeOut;
        out[i] = static_cast<std::int16_t>(std::lround(v * 32767.0));
    }
    return out;
}

void put16(std::FILE* f, std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v & 0xFF), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

void put32(std::FILE* f, std::uint32_t v) {
    put16(f, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(f, static_cast<std::uint16_t>(v >> 16));
}

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, 1); // mono
    put32(f, Rate);
    put32(f, Rate * 2);
    put16(f, 2);
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (std::int16_t v : samples)
        put16(f, static_cast<std::uint16_t>(v));
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

// 1: a peg lands in its hole, a short wooden knock.
Samples landing() {
    Samples s(samplesFor(0.12));
    addTone(s, 0.0, 0.12, 420, 330, 45, 1.0, {1.0, 0.35, 0.2});
    addTone(s, 0.0, 0.03, 1900, 1500, 160, 0.35);
    addSwoosh(s, 0.0, 0.02, 3000, 1500, 0.3, 1);
    return s;
}

// 2: a peg is picked up, a soft rising blip.
Samples pick() {
    Samples s(samplesFor(0.10));
    addTone(s, 0.0, 0.10, 520, 880, 28, 1.0, {1.0, 0.15});
    return s;
}

// 3: the drop is refused, two low descending buzzes.
Samples refusal() {
    Samples s(samplesFor(0.32));
    addTone(s, 0.0, 0.14, 240, 220, 9, 1.0, {1.0, 0.0, 0.33, 0.0, 0.2});
    addTone(s, 0.16, 0.16, 200, 175, 9, 1.0, {1.0, 0.0, 0.33, 0.0, 0.2});
    return s;
}

// 4: no jump is left, a slow falling minor phrase.
Samples sadEnd() {
    Samples s(samplesFor(1.15));
    addTone(s, 0.00, 0.35, 392.0, 392.0, 4, 0.8, {1.0, 0.3, 0.1});
    addTone(s, 0.30, 0.35, 311.1, 311.1, 4, 0.8, {1.0, 0.3, 0.1});
    addTone(s, 0.60, 0.55, 261.6, 246.9, 3, 0.9, {1.0, 0.3, 0.1});
    return s;
}

// 5: solved, a short bright fanfare.
Samples fanfare() {
    Samples s(samplesFor(1.1));
    const double notes[] = {523.3, 659.3, 784.0};
    for (int i = 0; i < 3; ++i)
        addTone(s, 0.11 * i, 0.2, notes[i], notes[i], 7, 0.7, {1.0, 0.5, 0.35, 0.2, 0.1});
    addTone(s, 0.33, 0.75, 1046.5, 1046.5, 3.2, 0.8, {1.0, 0.5, 0.35, 0.2, 0.1});
    addTone(s, 0.33, 0.75, 784.0, 784.0, 3.2, 0.4, {1.0, 0.4, 0.2});
    return s;
}

// 6: the replay is finished, a two-note chime.
Samples chime() {
    Samples s(samplesFor(1.1));
    addBell(s, 0.0, 880.0, 0.8);
    addBell(s, 0.18, 1174.7, 0.7);
    return s;
}

// 7: a peg dissolves, a short glittering shimmer.
Samples dissolve() {
    Samples s(samplesFor(0.32));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> pitch(1800.0, 4200.0);
    for (int i = 0; i < 28; ++i) {
        const double start = 0.01 * i;
        const double f = pitch(random);
        addTone(s, start, 0.05, f, f * 1.02, 70, 0.35 * (1.0 - i / 40.0));
    }
    addSwoosh(s, 0.0, 0.32, 6000, 2500, 0.25, 3);
    return s;
}

// 8: a jump is taken back, a falling swoosh.
Samples undo() {
    Samples s(samplesFor(0.35));
    addSwoosh(s, 0.0, 0.35, 3500, 400, 1.0, 5);
    addTone(s, 0.0, 0.3, 700, 380, 9, 0.25);
    return s;
}

// 11 to 14: the editor's cell ticks, rising with the cell code.
Samples tick(int code) {
    Samples s(samplesFor(0.07));
    const double f = 660.0 * std::pow(2.0, code * 4.0 / 12.0);
    addTone(s, 0.0, 0.07, f, f, 60, 1.0, {1.0, 0.25});
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen <program directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::pair<int, std::function<Samples()>> sounds[] = {
        {1, landing},
        {2, pick},
        {3, refusal},
        {4, sadEnd},
        {5, fanfare},
        {6, chime},
        {7, dissolve},
        {8, undo},
        {11,
         [] {
             return tick(0);
         }},
        {12,
         [] {
             return tick(1);
         }},
        {13,
         [] {
             return tick(2);
         }},
        {14,
         [] {
             return tick(3);
         }},
    };
    bool ok = true;
    for (const auto& [n, make] : sounds) {
        const std::string path = dir + "/w" + std::to_string(n) + ".wav";
        if (!writeWav(path, finish(make()))) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}

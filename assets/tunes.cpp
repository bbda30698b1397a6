#include <cmath>

#include "generated_media.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double NoteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

// A plucked tone: a quick attack, then an exponential fade, with a soft octave.
void AddTone(Wave& wave, size_t start, double seconds, double frequency, double decay, double level) {
    size_t length = size_t(seconds * Wave::kRate);
    if (wave.samples.size() < start + length) wave.samples.resize(start + length, 0);
    for (size_t i = 0; i < length; ++i) {
        double t = double(i) / Wave::kRate;
        double attack = std::fmin(1.0, t / 0.005);
        double envelope = attack * std::exp(-decay * t);
        double tone = std::sin(2.0 * kPi * frequency * t) + 0.3 * std::sin(4.0 * kPi * frequency * t);
        double mixed = wave.samples[start + i] + level * envelope * tone * 32767.0 / 1.3;
        wave.samples[start + i] = int16_t(std::lround(std::fmax(-32767.0, std::fmin(32767.0, mixed))));
    }
}

}  // namespace

// Sixteen steps of a little minor-key figure over a bass note per bar: three seconds.
Wave ComposeSong() {
    static const int kMelody[16] = {69, 72, 76, 74, 72, 76, 79, 76, 74, 77, 81, 77, 76, 72, 69, 64};
    static const int kBass[4] = {45, 48, 50, 45};
    constexpr double kStep = 0.1875;
    Wave wave;
    for (int i = 0; i < 16; ++i)
        AddTone(wave, size_t(i * kStep * Wave::kRate), kStep * 2, NoteFrequency(kMelody[i]), 6.0, 0.35);
    for (int bar = 0; bar < 4; ++bar)
        AddTone(wave, size_t(bar * 4 * kStep * Wave::kRate), kStep * 4, NoteFrequency(kBass[bar]), 2.0, 0.3);
    return wave;
}

Wave ComposeChime(double frequency) {
    Wave wave;
    AddTone(wave, 0, 0.4, frequency, 10.0, 0.5);
    AddTone(wave, 0, 0.4, frequency * 2.76, 18.0, 0.15);  // a bell's inharmonic partial
    return wave;
}

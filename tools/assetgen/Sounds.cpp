#include "Sounds.h"

#include <cmath>

namespace assetgen {
namespace {

constexpr double kAttack = 0.005;

// A pitched note: harmonics of a gliding tone under an attack and an exponential release.
struct Tone {
    double from, to;  // frequency glide, Hz
    double seconds;
    double tau;
    int harmonics;
    double tilt;
    bool oddOnly;
};

Signal Render(const Tone& tone) {
    Signal s = Silence(tone.seconds);
    Phase phase;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        double f = tone.from * std::pow(tone.to / tone.from, t / tone.seconds);
        s[i] = Harmonics(phase.Advance(f), f, tone.harmonics, tone.tilt, tone.oddOnly) *
               Envelope(t, kAttack, tone.tau);
    }
    return s;
}

// Noise through a band-pass whose centre slides exponentially from one frequency to another.
Signal SweptNoise(double seconds, double from, double to, double q, double tau, uint32_t seed) {
    Signal s = Silence(seconds);
    Noise noise(seed);
    BandPass filter;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        double centre = from * std::pow(to / from, t / seconds);
        s[i] = filter.Process(noise.Next(), centre, q) * Envelope(t, kAttack, tau);
    }
    return s;
}

Signal Shipped(Signal s, double fadeOut) {
    Finish(s, fadeOut);
    return s;
}

// One struck metal partial: frequency, loudness, decay time.
struct Partial {
    double ratio, gain, tau;
};

// One "he" of the giggle: breath, then a voiced vowel whose pitch falls and wavers.
Signal Syllable(double pitch, double seconds, uint32_t seed) {
    Signal s = Silence(seconds);
    Noise breath(seed);
    BandPass f1, f2, f3;
    Phase phase;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = TimeOf(i);
        double f0 = pitch * (1 - 0.16 * t / seconds) * (1 + 0.025 * std::sin(2 * 3.14159265 * 7 * t));
        double voice = Harmonics(phase.Advance(f0), f0, 40, 1.1, false) * std::min(1.0, t / 0.018);
        double aspiration = breath.Next() * 1.6 * std::exp(-t / 0.02);
        double x = voice + aspiration;
        double vowel = f1.Process(x, 560, 5) + 0.7 * f2.Process(x, 1950, 9) + 0.35 * f3.Process(x, 2750, 11);
        double fall = t < seconds - 0.03 ? 1.0 : (seconds - t) / 0.03;
        s[i] = vowel * Envelope(t, 0.008, 0.08) * fall;
    }
    return s;
}

}  // namespace

Signal MakePaddleBlip() {
    Signal s = Render({700, 600, 0.060, 0.022, 3, 1.6, false});
    return Shipped(s, 0.006);
}

Signal MakeBlockBreak() {
    Signal s = Render({1040, 1250, 0.090, 0.028, 7, 1.0, true});
    MixAt(s, SweptNoise(0.090, 5200, 2400, 1.2, 0.012, 91), 0, 0.9);
    return Shipped(s, 0.008);
}

Signal MakeWallBounce() {
    Signal s = Render({450, 430, 0.040, 0.012, 2, 2.5, false});
    return Shipped(s, 0.005);
}

Signal MakeMetalClang() {
    const Partial partials[] = {{1.0, 1.0, 0.11},  {1.47, 0.45, 0.08}, {2.76, 0.6, 0.07},
                                {3.91, 0.3, 0.04}, {5.40, 0.4, 0.035}, {8.93, 0.25, 0.02}};
    const double base = 560;
    Signal s = Silence(0.250);
    for (const Partial& p : partials) {
        double f = base * p.ratio;
        MixAt(s, Render({f, f * 0.995, 0.250, p.tau, 1, 1, false}), 0, p.gain);
    }
    MixAt(s, SweptNoise(0.03, 6000, 4000, 2, 0.004, 17), 0, 0.8);
    return Shipped(s, 0.02);
}

Signal MakeStartJingle() {
    const double notes[4] = {523.25, 659.26, 783.99, 1046.50};  // C5 E5 G5 C6
    Signal s = Silence(0.600);
    for (int k = 0; k < 4; ++k) {
        double start = 0.11 * k, length = 0.600 - start, tau = k == 3 ? 0.12 : 0.07;
        MixAt(s, Render({notes[k], notes[k], length, tau, 5, 1.3, true}), start, 1.0);
        MixAt(s, Render({2 * notes[k], 2 * notes[k], length, tau * 0.6, 1, 1, false}), start, 0.25);
    }
    return Shipped(s, 0.04);
}

Signal MakePurchaseChime() {
    Signal s = Silence(0.200);
    const double notes[2] = {987.77, 1479.98};  // B5 then F#6
    for (int k = 0; k < 2; ++k) {
        double start = 0.07 * k;
        MixAt(s, Render({notes[k], notes[k], 0.2 - start, 0.06, 1, 1, false}), start, 1.0);
        MixAt(s, Render({notes[k] * 2.76, notes[k] * 2.76, 0.2 - start, 0.025, 1, 1, false}), start, 0.3);
    }
    return Shipped(s, 0.02);
}

Signal MakeGiggle() {
    Signal s = Silence(0.700);
    for (int k = 0; k < 4; ++k) {
        double length = k == 3 ? 0.19 : 0.12;
        MixAt(s, Syllable(520 - 45 * k, length, 100 + k), 0.165 * k, 1.0);
    }
    return Shipped(s, 0.01);
}

Signal MakeRocketWhoosh() {
    Signal s = SweptNoise(0.400, 2600, 280, 3.0, 0.16, 7);
    MixAt(s, Render({130, 55, 0.400, 0.14, 3, 1.5, false}), 0, 0.25);
    return Shipped(s, 0.03);
}

Signal MakeRefusalBuzz() {
    Signal s = Silence(0.250);
    for (int k = 0; k < 2; ++k) {
        Signal pulse = Render({98, 96, 0.105, 0.09, 24, 1.0, false});
        MixAt(pulse, Render({98.8, 97, 0.105, 0.09, 24, 1.0, false}), 0, 0.7);
        Finish(pulse, 0.012);
        MixAt(s, pulse, 0.135 * k, 1.0);
    }
    return Shipped(s, 0.005);
}

}  // namespace assetgen

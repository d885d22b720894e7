// Small synthesis kit for the sound effects: oscillators, noise, resonant filters and envelopes.
#pragma once

#include <vector>

#include "Draw.h"

namespace assetgen {

constexpr int kSampleRate = 22050;
using Signal = std::vector<double>;

Signal Silence(double seconds);
double TimeOf(size_t i);

// Raised-cosine rise over attack seconds, then an exponential fall with time constant tau.
double Envelope(double t, double attack, double tau);

// A running phase for oscillators whose pitch moves.
class Phase {
public:
    double Advance(double frequency);  // returns the phase (radians) before advancing
private:
    double m_phase = 0;
};

// A sum of harmonics 1..count of one phase with amplitudes 1/n^tilt, kept below the Nyquist limit.
double Harmonics(double phase, double frequency, int count, double tilt, bool oddOnly);

class Noise {
public:
    explicit Noise(uint32_t seed) : m_rng(seed) {}
    double Next() { return m_rng.Unit() * 2 - 1; }

private:
    Lcg m_rng;
};

// Two-pole band-pass (constant peak gain), retunable every sample.
class BandPass {
public:
    double Process(double x, double centre, double q);

private:
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

// Mixes src into dst starting at offset seconds.
void MixAt(Signal& dst, const Signal& src, double offset, double gain);

// Makes a signal ready to ship: no DC, silent first and last samples, peak at -3 dBFS.
void Finish(Signal& s, double fadeOutSeconds);

}  // namespace assetgen

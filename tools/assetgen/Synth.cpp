#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen {

constexpr double kTwoPi = 2 * std::numbers::pi;

Signal Silence(double seconds) {
    return Signal(size_t(std::lround(seconds * kSampleRate)), 0.0);
}

double TimeOf(size_t i) {
    return double(i) / kSampleRate;
}

double Envelope(double t, double attack, double tau) {
    if (t < 0) return 0;
    if (t < attack) return 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
    return std::exp(-(t - attack) / tau);
}

double Phase::Advance(double frequency) {
    double now = m_phase;
    m_phase = std::fmod(m_phase + kTwoPi * frequency / kSampleRate, kTwoPi);
    return now;
}

double Harmonics(double phase, double frequency, int count, double tilt, bool oddOnly) {
    double sum = 0;
    for (int n = 1; n <= count; n += oddOnly ? 2 : 1) {
        if (n * frequency >= kSampleRate / 2.2) break;
        sum += std::sin(n * phase) / std::pow(n, tilt);
    }
    return sum;
}

double BandPass::Process(double x, double centre, double q) {
    double w = kTwoPi * std::min(centre, kSampleRate * 0.45) / kSampleRate;
    double alpha = std::sin(w) / (2 * q);
    double a0 = 1 + alpha;
    double y = (alpha * x - alpha * m_x2 + 2 * std::cos(w) * m_y1 - (1 - alpha) * m_y2) / a0;
    m_x2 = m_x1, m_x1 = x;
    m_y2 = m_y1, m_y1 = y;
    return y;
}

void MixAt(Signal& dst, const Signal& src, double offset, double gain) {
    size_t start = size_t(std::lround(offset * kSampleRate));
    for (size_t i = 0; i < src.size() && start + i < dst.size(); ++i) dst[start + i] += gain * src[i];
}

namespace {

void RemoveDc(Signal& s) {
    double mean = 0;
    for (double v : s) mean += v;
    mean /= double(s.size());
    for (double& v : s) v -= mean;
}

// Cosine ramps at both ends; the very first and last samples become exactly zero.
void FadeEnds(Signal& s, double fadeOutSeconds) {
    const size_t in = size_t(0.002 * kSampleRate), out = size_t(fadeOutSeconds * kSampleRate);
    for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * i / in);
    for (size_t i = 0; i < out && i < s.size(); ++i)
        s[s.size() - 1 - i] *= 0.5 - 0.5 * std::cos(std::numbers::pi * i / out);
}

void Normalise(Signal& s, double peak) {
    double high = 0;
    for (double v : s) high = std::max(high, std::abs(v));
    if (high > 0)
        for (double& v : s) v *= peak / high;
}

}  // namespace

void Finish(Signal& s, double fadeOutSeconds) {
    RemoveDc(s);
    FadeEnds(s, fadeOutSeconds);
    Normalise(s, std::pow(10.0, -3.0 / 20));
}

}  // namespace assetgen

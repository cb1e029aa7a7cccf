#include "sounds.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A mixing buffer with a few instruments; times are in seconds.
class Mix {
public:
    explicit Mix(double seconds) : m_samples(std::size_t(seconds * kSampleRate), 0.0f) {}

    // A tone with a short linear attack and an exponential decay; partials
    // are (frequency factor, amplitude, decay factor) triples.
    struct Partial {
        double ratio, amplitude, decayScale;
    };
    void tone(double start, double length, double frequency, double amplitude, double attack, double decay,
              std::initializer_list<Partial> partials = {{1.0, 1.0, 1.0}}) {
        const int first = int(start * kSampleRate);
        const int count = int(length * kSampleRate);
        for (int i = 0; i < count && first + i < int(m_samples.size()); ++i) {
            const double t = double(i) / kSampleRate;
            const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
            double v = 0;
            for (const Partial& p : partials)
                v += p.amplitude * std::exp(-t / (decay * p.decayScale)) *
                     std::sin(2 * kPi * frequency * p.ratio * t);
            // The last 4 ms fade out so that a note never ends in a click.
            const double tail = std::min(1.0, double(count - i) / (0.004 * kSampleRate));
            m_samples[first + i] += float(amplitude * rise * tail * v);
        }
    }

    // A burst of noise, high-passed (bright) or low-passed (dull).
    void noise(double start, double length, double amplitude, double decay, bool bright) {
        const int first = int(start * kSampleRate);
        const int count = int(length * kSampleRate);
        double previous = 0, smooth = 0;
        for (int i = 0; i < count && first + i < int(m_samples.size()); ++i) {
            const double t = double(i) / kSampleRate;
            const double white = nextNoise();
            double v;
            if (bright) {
                v = (white - previous) * 0.5;
                previous = white;
            } else {
                smooth += (white - smooth) * 0.15;
                v = smooth * 2.0;
            }
            const double rise = std::min(1.0, t / 0.0004); // no step at the start
            m_samples[first + i] += float(amplitude * rise * std::exp(-t / decay) * v);
        }
    }

    // A soft rush of noise whose brightness sweeps while its loudness swells
    // and fades.
    void whoosh(double start, double length, double amplitude, double fromCut, double toCut) {
        const int first = int(start * kSampleRate);
        const int count = int(length * kSampleRate);
        double low = 0;
        for (int i = 0; i < count && first + i < int(m_samples.size()); ++i) {
            const double u = double(i) / count;
            const double cut = fromCut + (toCut - fromCut) * u;
            low += (nextNoise() - low) * cut;
            m_samples[first + i] += float(amplitude * std::sin(kPi * u) * low * 2.0);
        }
    }

    std::vector<float> take() { return std::move(m_samples); }

private:
    // A fixed linear congruential generator: the same noise on every build.
    double nextNoise() {
        m_seed = m_seed * 1664525u + 1013904223u;
        return double(m_seed >> 8) / double(1u << 24) * 2.0 - 1.0;
    }

    std::vector<float> m_samples;
    std::uint32_t m_seed = 0x5eed1234u;
};

// A block set down: a bright tick over a short knock.
std::vector<float> Click1() {
    Mix m(0.07);
    m.noise(0, 0.01, 0.55, 0.0018, true);
    m.tone(0, 0.07, 2350, 0.30, 0.0005, 0.010, {{1.0, 1.0, 1.0}, {1.46, 0.5, 0.7}});
    m.tone(0, 0.07, 185, 0.45, 0.001, 0.018);
    return m.take();
}

// A block lifted off: a softer, lower tick.
std::vector<float> Unclick1() {
    Mix m(0.08);
    m.noise(0, 0.015, 0.25, 0.003, false);
    m.tone(0, 0.08, 880, 0.26, 0.003, 0.014, {{1.0, 1.0, 1.0}, {1.5, 0.35, 0.7}});
    m.tone(0, 0.08, 130, 0.40, 0.003, 0.022);
    return m.take();
}

// A quick ratchet over a short rush of air.
std::vector<float> Rotate() {
    Mix m(0.19);
    m.whoosh(0, 0.19, 0.30, 0.05, 0.45);
    for (int k = 0; k < 4; ++k) {
        const double at = 0.012 + k * 0.042;
        m.noise(at, 0.012, 0.35, 0.0015, true);
        m.tone(at, 0.03, 1450 + 260 * k, 0.22, 0.0004, 0.005);
    }
    return m.take();
}

// Two soft notes a fifth apart.
std::vector<float> TwoTone(double first, double second) {
    Mix m(0.24);
    const std::initializer_list<Mix::Partial> voice = {{1.0, 1.0, 1.0}, {2.0, 0.30, 0.6}, {3.0, 0.10, 0.4}};
    m.tone(0, 0.105, first, 0.42, 0.005, 0.09, voice);
    m.tone(0.10, 0.14, second, 0.42, 0.005, 0.07, voice);
    return m.take();
}

// A small bell: two struck notes with inharmonic partials.
std::vector<float> Changelib() {
    Mix m(0.34);
    const std::initializer_list<Mix::Partial> bell = {
        {1.0, 1.0, 1.0}, {2.76, 0.40, 0.45}, {5.40, 0.18, 0.25}, {0.5, 0.12, 1.4}};
    m.tone(0, 0.34, 1318.5, 0.30, 0.001, 0.085, bell);
    m.tone(0.075, 0.265, 1975.5, 0.26, 0.001, 0.075, bell);
    return m.take();
}

} // namespace

QByteArray EncodeWave8(const std::vector<float>& input) {
    std::vector<float> samples = input;
    if (samples.size() % 2) // an even data length needs no pad byte
        samples.push_back(0.0f);
    const auto dataLength = std::uint32_t(samples.size());
    QByteArray out;
    auto put32 = [&](std::uint32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto put16 = [&](std::uint16_t v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF", 4);
    put32(36 + dataLength);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(kSampleRate);
    put32(kSampleRate); // bytes per second
    put16(1);           // bytes per sample frame
    put16(8);           // bits per sample
    out.append("data", 4);
    put32(dataLength);
    for (float s : samples) {
        const long v = std::lround(128.0 + 127.0 * std::clamp(double(s), -1.0, 1.0));
        out.append(char(std::clamp(v, 0L, 255L)));
    }
    return out;
}

std::vector<std::pair<QString, QByteArray>> MakeSounds() {
    return {
        {QStringLiteral("click1"), EncodeWave8(Click1())},
        {QStringLiteral("unclick1"), EncodeWave8(Unclick1())},
        {QStringLiteral("rotate"), EncodeWave8(Rotate())},
        {QStringLiteral("openbucket"), EncodeWave8(TwoTone(523.25, 783.99))},
        {QStringLiteral("closebucket"), EncodeWave8(TwoTone(783.99, 523.25))},
        {QStringLiteral("changelib"), EncodeWave8(Changelib())},
    };
}

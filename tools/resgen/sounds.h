#pragma once
// The program's sound effects, synthesized: each a complete RIFF WAVE image
// (PCM, mono, 22050 Hz, 8 bits per sample).

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

constexpr int kSampleRate = 22050;

// Name (as in ":/sounds/<name>.wav") and WAVE image of every sound.
std::vector<std::pair<QString, QByteArray>> MakeSounds();

// The WAVE image of samples in -1..1, quantised to unsigned 8 bits.
QByteArray EncodeWave8(const std::vector<float>& samples);

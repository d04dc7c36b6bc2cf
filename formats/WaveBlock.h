// RIFF WAVE blocks of PCM samples, as a recording holds them: the ink
// content stores each recording as one canonical wave with a 44-byte header
// ("RIFF" size "WAVE" "fmt " 16 ... "data" size samples).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace formats {

const size_t kWaveHeaderSize = 44;

struct WaveFormat {
    unsigned channels = 0;
    unsigned rate = 0;
    unsigned bits = 0;
};

// A canonical wave around the samples; a trailing part of a sample frame is
// left out.
std::vector<uint8_t> BuildWave(const uint8_t* pcm, size_t size, unsigned rate, unsigned channels,
                               unsigned bits);

// Reads a RIFF WAVE block of PCM (mono or stereo, 8 or 16 bits) from
// untrusted bytes and rebuilds it in canonical form; a data chunk cut short
// keeps the samples present. False, out untouched, when no usable PCM wave
// is there.
bool NormalizeWave(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

// The format of a canonical wave and where its samples are; false when wave
// is not one.
bool ReadCanonicalWave(const std::vector<uint8_t>& wave, WaveFormat* format, size_t* samplesAt,
                       size_t* samplesSize);
unsigned WaveDurationMs(const std::vector<uint8_t>& wave);

// The first whole RIFF WAVE block of PCM in data at or after from: its
// "RIFF" must start a block whose chunks reach a data chunk with every
// sample its length claims. False when there is none.
bool FindWholeWave(const uint8_t* data, size_t size, size_t from, size_t* offset, size_t* length);

}  // namespace formats

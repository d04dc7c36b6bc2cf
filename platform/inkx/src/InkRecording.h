// A voice recording in the content: where its icon sits (content units) and
// the recording itself as one complete RIFF WAVE block of PCM samples.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class InkRecording {
public:
    InkRecording() = default;
    InkRecording(int x, int y, std::vector<uint8_t> wave)
        : x_(x), y_(y), wave_(static_cast<std::vector<uint8_t>&&>(wave)) {}

    int X() const { return x_; }
    int Y() const { return y_; }
    void MoveTo(int x, int y) { x_ = x; y_ = y; }
    const std::vector<uint8_t>& Wave() const { return wave_; }
    unsigned DurationMs() const;

    // A canonical 44-byte-header PCM wave around the samples.
    static std::vector<uint8_t> BuildWave(const uint8_t* pcm, size_t size, unsigned rate,
                                          unsigned channels, unsigned bits);
    // Reads a RIFF WAVE block of PCM from untrusted bytes and rebuilds it in
    // canonical form; a data chunk cut short keeps the samples present.
    // Returns false (out untouched) when no usable PCM wave is there.
    static bool NormalizeWave(const uint8_t* data, size_t size, std::vector<uint8_t>& out);

private:
    int x_ = 0;
    int y_ = 0;
    std::vector<uint8_t> wave_;
};

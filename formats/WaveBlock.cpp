#include "formats/WaveBlock.h"

#include "formats/LeReader.h"
#include "formats/LeWriter.h"

#include <string.h>

namespace formats {

namespace {

bool IsTag(const uint8_t* tag, const char* name)
{
    return memcmp(tag, name, 4) == 0;
}

bool UsableFormat(unsigned format, const WaveFormat& f)
{
    return format == 1 && f.channels >= 1 && f.channels <= 2 && f.rate >= 1000 &&
           f.rate <= 192000 && (f.bits == 8 || f.bits == 16);
}

// Walks the chunks of a RIFF WAVE block up to its data chunk. samples and
// claimed describe the data chunk: where its samples start and how many
// bytes it says it has (which may be more than data holds).
bool WalkWave(const uint8_t* data, size_t size, WaveFormat* format, size_t* samples,
              size_t* claimed)
{
    LeReader r(data, size);
    if (!r.TagIs("RIFF"))
        return false;
    r.U32();  // the declared size is not trusted; the chunks are walked instead
    if (!r.TagIs("WAVE") || r.Failed())
        return false;
    bool haveFormat = false;
    while (r.Remaining() >= 8) {
        const uint8_t* tag = r.Take(4);
        uint32_t length = r.U32();
        if (IsTag(tag, "fmt ")) {
            if (length < 16 || length > r.Remaining())
                return false;
            LeReader f(r.Take(length), length);
            unsigned code = f.U16();
            format->channels = f.U16();
            format->rate = f.U32();
            f.U32();
            f.U16();
            format->bits = f.U16();
            if (!UsableFormat(code, *format))
                return false;
            haveFormat = true;
        } else if (IsTag(tag, "data")) {
            if (!haveFormat)
                return false;
            *samples = r.Position();
            *claimed = length;
            return true;
        } else {
            if (length > r.Remaining())
                return false;
            // Chunks are padded to an even length.
            r.Skip(length + (length & 1 && length < r.Remaining() ? 1 : 0));
        }
    }
    return false;
}

}  // namespace

std::vector<uint8_t> BuildWave(const uint8_t* pcm, size_t size, unsigned rate, unsigned channels,
                               unsigned bits)
{
    unsigned blockAlign = channels * (bits / 8);
    if (blockAlign != 0)
        size -= size % blockAlign;
    std::vector<uint8_t> wave;
    wave.reserve(kWaveHeaderSize + size);
    LeWriter w(wave);
    w.Tag("RIFF");
    w.U32(static_cast<uint32_t>(36 + size));
    w.Tag("WAVE");
    w.Tag("fmt ");
    w.U32(16);
    w.U16(1);  // PCM
    w.U16(static_cast<uint16_t>(channels));
    w.U32(rate);
    w.U32(rate * blockAlign);
    w.U16(static_cast<uint16_t>(blockAlign));
    w.U16(static_cast<uint16_t>(bits));
    w.Tag("data");
    w.U32(static_cast<uint32_t>(size));
    if (size > 0)
        w.Bytes(pcm, size);
    return wave;
}

bool NormalizeWave(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    WaveFormat format;
    size_t samples = 0, claimed = 0;
    if (!WalkWave(data, size, &format, &samples, &claimed))
        return false;
    size_t present = claimed <= size - samples ? claimed : size - samples;
    out = BuildWave(data + samples, present, format.rate, format.channels, format.bits);
    return true;
}

bool ReadCanonicalWave(const std::vector<uint8_t>& wave, WaveFormat* format, size_t* samplesAt,
                       size_t* samplesSize)
{
    size_t samples = 0, claimed = 0;
    if (!WalkWave(wave.data(), wave.size(), format, &samples, &claimed) ||
        claimed > wave.size() - samples)
        return false;
    *samplesAt = samples;
    *samplesSize = claimed;
    return true;
}

unsigned WaveDurationMs(const std::vector<uint8_t>& wave)
{
    WaveFormat f;
    size_t at = 0, size = 0;
    if (!ReadCanonicalWave(wave, &f, &at, &size))
        return 0;
    unsigned long long bytesPerSecond = 1ULL * f.rate * f.channels * (f.bits / 8);
    return static_cast<unsigned>(size * 1000ULL / bytesPerSecond);
}

bool FindWholeWave(const uint8_t* data, size_t size, size_t from, size_t* offset, size_t* length)
{
    if (data == nullptr)
        return false;
    for (size_t at = from; at + 12 <= size; ++at) {
        if (data[at] != 'R' || !IsTag(data + at, "RIFF"))
            continue;
        WaveFormat format;
        size_t samples = 0, claimed = 0;
        if (WalkWave(data + at, size - at, &format, &samples, &claimed) &&
            claimed <= size - at - samples) {
            *offset = at;
            *length = samples + claimed;
            return true;
        }
    }
    return false;
}

}  // namespace formats

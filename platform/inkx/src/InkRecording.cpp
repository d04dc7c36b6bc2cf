#include "InkRecording.h"

#include "LeReader.h"
#include "LeWriter.h"

// The canonical header puts the format at fixed offsets.
static const size_t kWaveHeaderSize = 44;

std::vector<uint8_t> InkRecording::BuildWave(const uint8_t* pcm, size_t size, unsigned rate,
                                             unsigned channels, unsigned bits)
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

bool InkRecording::NormalizeWave(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    LeReader r(data, size);
    if (!r.TagIs("RIFF"))
        return false;
    r.U32();  // the declared size is not trusted; the chunks are walked instead
    if (!r.TagIs("WAVE") || r.Failed())
        return false;
    bool haveFormat = false;
    unsigned channels = 0, rate = 0, bits = 0;
    while (r.Remaining() >= 8) {
        const uint8_t* tag = r.Take(4);
        uint32_t length = r.U32();
        if (tag[0] == 'f' && tag[1] == 'm' && tag[2] == 't' && tag[3] == ' ') {
            if (length < 16 || length > r.Remaining())
                return false;
            LeReader f(r.Take(length), length);
            unsigned format = f.U16();
            channels = f.U16();
            rate = f.U32();
            f.U32();
            f.U16();
            bits = f.U16();
            if (format != 1 || channels < 1 || channels > 2 || rate < 1000 || rate > 192000 ||
                (bits != 8 && bits != 16))
                return false;
            haveFormat = true;
        } else if (tag[0] == 'd' && tag[1] == 'a' && tag[2] == 't' && tag[3] == 'a') {
            if (!haveFormat)
                return false;
            size_t present = length <= r.Remaining() ? length : r.Remaining();
            out = BuildWave(r.Take(present), present, rate, channels, bits);
            return true;
        } else {
            if (length > r.Remaining())
                return false;
            r.Take(length + (length & 1 && length < r.Remaining() ? 1 : 0));
        }
    }
    return false;
}

unsigned InkRecording::DurationMs() const
{
    if (wave_.size() < kWaveHeaderSize)
        return 0;
    LeReader r(wave_.data() + 28, 4);
    uint32_t bytesPerSecond = r.U32();
    if (bytesPerSecond == 0)
        return 0;
    unsigned long long data = wave_.size() - kWaveHeaderSize;
    return static_cast<unsigned>(data * 1000ULL / bytesPerSecond);
}

#include "InkRecording.h"

#include "LeReader.h"

#include "formats/WaveBlock.h"

std::vector<uint8_t> InkRecording::BuildWave(const uint8_t* pcm, size_t size, unsigned rate,
                                             unsigned channels, unsigned bits)
{
    return formats::BuildWave(pcm, size, rate, channels, bits);
}

bool InkRecording::NormalizeWave(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    return formats::NormalizeWave(data, size, out);
}

unsigned InkRecording::DurationMs() const
{
    if (wave_.size() < formats::kWaveHeaderSize)
        return 0;
    LeReader r(wave_.data() + 28, 4);
    uint32_t bytesPerSecond = r.U32();
    if (bytesPerSecond == 0)
        return 0;
    unsigned long long data = wave_.size() - formats::kWaveHeaderSize;
    return static_cast<unsigned>(data * 1000ULL / bytesPerSecond);
}

#include "InkRecorder.h"

#include "InkRecording.h"

#include <stdlib.h>

InkRecorder::~InkRecorder()
{
    Cancel();
}

unsigned InkRecorder::ElapsedMs() const
{
    if (!recording_)
        return 0;
    return static_cast<unsigned>(GetTickCount64() - startTick_);
}

// Test runs and machines without a microphone set INKX_NO_SOUND_INPUT to
// take the silent path even where a device exists.
static bool SoundInputDisabled()
{
    wchar_t value[8];
    DWORD n = GetEnvironmentVariableW(L"INKX_NO_SOUND_INPUT", value, 8);
    return n > 0 && n < 8 && value[0] == L'1';
}

// Tests set INKX_LONGEST_RECORDING_MS to reach the longest recording in
// less than its ten minutes; only a shorter one is taken.
static unsigned LongestRecordingMs()
{
    wchar_t value[16];
    DWORD n = GetEnvironmentVariableW(L"INKX_LONGEST_RECORDING_MS", value, 16);
    unsigned ms = n > 0 && n < 16 ? static_cast<unsigned>(wcstoul(value, nullptr, 10)) : 0;
    return ms > 0 && ms < InkRecorder::kMaxRecordingMs ? ms : InkRecorder::kMaxRecordingMs;
}

bool InkRecorder::OpenDevice()
{
    if (SoundInputDisabled() || waveInGetNumDevs() == 0)
        return false;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = kSampleRate;
    format.wBitsPerSample = 8 * kBytesPerSample;
    format.nBlockAlign = kBytesPerSample;
    format.nAvgBytesPerSec = kSampleRate * kBytesPerSample;
    if (waveInOpen(&device_, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        device_ = nullptr;
        return false;
    }
    for (int i = 0; i < kBufferCount; ++i) {
        buffers_[i].assign(kBufferBytes, 0);
        headers_[i] = WAVEHDR{};
        headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
        headers_[i].dwBufferLength = kBufferBytes;
        waveInPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
        waveInAddBuffer(device_, &headers_[i], sizeof(WAVEHDR));
    }
    next_ = 0;
    if (waveInStart(device_) != MMSYSERR_NOERROR) {
        CloseDevice();
        return false;
    }
    return true;
}

void InkRecorder::CloseDevice()
{
    if (device_ == nullptr)
        return;
    waveInReset(device_);
    for (int i = 0; i < kBufferCount; ++i)
        waveInUnprepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
    waveInClose(device_);
    device_ = nullptr;
}

void InkRecorder::Start()
{
    if (recording_)
        return;
    pcm_.clear();
    startTick_ = GetTickCount64();
    recording_ = true;
    reachedLongest_ = false;
    longestMs_ = LongestRecordingMs();
    silent_ = !OpenDevice();
}

void InkRecorder::Collect(WAVEHDR& header)
{
    DWORD n = header.dwBytesRecorded <= header.dwBufferLength ? header.dwBytesRecorded : 0;
    const uint8_t* data = reinterpret_cast<const uint8_t*>(header.lpData);
    pcm_.insert(pcm_.end(), data, data + n);
}

void InkRecorder::Poll()
{
    if (!recording_ || device_ == nullptr)
        return;
    // Buffers come back in the order they were queued.
    for (int k = 0; k < kBufferCount && (headers_[next_].dwFlags & WHDR_DONE); ++k) {
        WAVEHDR& h = headers_[next_];
        Collect(h);
        h.dwFlags &= ~WHDR_DONE;
        h.dwBytesRecorded = 0;
        waveInAddBuffer(device_, &h, sizeof(WAVEHDR));
        next_ = (next_ + 1) % kBufferCount;
    }
}

std::vector<uint8_t> InkRecorder::Stop()
{
    if (!recording_)
        return std::vector<uint8_t>();
    unsigned elapsed = ElapsedMs();
    if (device_ != nullptr) {
        Poll();
        waveInReset(device_);
        for (int k = 0; k < kBufferCount; ++k) {
            WAVEHDR& h = headers_[(next_ + k) % kBufferCount];
            if (h.dwFlags & WHDR_DONE)
                Collect(h);
        }
        CloseDevice();
    }
    recording_ = false;
    // A device that delivered less than the time that passed (or none at
    // all) is made up with silence: the recording lasts as long as the user
    // recorded.
    unsigned long long wanted = static_cast<unsigned long long>(elapsed) * kSampleRate / 1000 *
                                kBytesPerSample;
    unsigned long long slack = kSampleRate * kBytesPerSample / 4;
    if (pcm_.size() + slack < wanted)
        pcm_.resize(static_cast<size_t>(wanted), 0);
    std::vector<uint8_t> wave = InkRecording::BuildWave(pcm_.data(), pcm_.size(), kSampleRate, 1,
                                                        8 * kBytesPerSample);
    pcm_.clear();
    pcm_.shrink_to_fit();
    return wave;
}

void InkRecorder::Cancel()
{
    if (!recording_)
        return;
    CloseDevice();
    recording_ = false;
    pcm_.clear();
}

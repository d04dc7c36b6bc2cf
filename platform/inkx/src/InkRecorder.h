// Records from the sound input through the wave-in calls, polled from the
// control's timer. Without a usable input it still records: silence, as
// long as the recording ran, so the note keeps a recording of the real
// length and the bar can say why it is silent.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <stdint.h>

#include <vector>

class InkRecorder {
public:
    ~InkRecorder();

    void Start();
    // Moves finished buffers into the recording; call often while recording.
    void Poll();
    // Ends the recording and returns it as a complete RIFF WAVE block.
    std::vector<uint8_t> Stop();
    // Ends a recording and throws it away.
    void Cancel();

    bool Recording() const { return recording_; }
    // The recording reached the longest one allowed and was stopped there;
    // until the next Start.
    bool ReachedLongest() const { return reachedLongest_; }
    void MarkLongestReached() { reachedLongest_ = true; }
    // The longest recording allowed, in milliseconds.
    unsigned LongestMs() const { return longestMs_; }
    bool UsingDevice() const { return device_ != nullptr; }
    // Whether the last recording started had no sound input.
    bool WasSilent() const { return silent_; }
    unsigned ElapsedMs() const;

    static const unsigned kSampleRate = 11025;
    static const unsigned kBytesPerSample = 2;
    static const unsigned kMaxRecordingMs = 10 * 60 * 1000;

private:
    bool OpenDevice();
    void CloseDevice();
    void Collect(WAVEHDR& header);

    static const int kBufferCount = 8;
    static const unsigned kBufferBytes = kSampleRate * kBytesPerSample / 4;

    HWAVEIN device_ = nullptr;
    WAVEHDR headers_[kBufferCount] = {};
    std::vector<uint8_t> buffers_[kBufferCount];
    int next_ = 0;
    std::vector<uint8_t> pcm_;
    ULONGLONG startTick_ = 0;
    bool recording_ = false;
    bool silent_ = false;
    bool reachedLongest_ = false;
    unsigned longestMs_ = kMaxRecordingMs;
};

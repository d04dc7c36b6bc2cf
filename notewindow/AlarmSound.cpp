#include "notewindow/AlarmSound.h"

#include "notewindow/ThreadWait.h"
#include "platform/common/Text.h"

#include <mmsystem.h>
#include <new>

namespace {

// While the playback thread still runs after being asked to stop, the cut is
// repeated this often: a repetition that had just begun streaming the note
// out when the first cut came starts its sound after it.
const DWORD kRecutStep = 20;

// How long StopFiles waits for the wave-file threads at most.
const DWORD kFileStopWaitMs = 2000;

volatile LONG g_filesPlaying = 0;
// Raised by StopFiles: a wave-file thread started before it plays no more.
volatile LONG g_fileRound = 0;

struct FileJob {
    wchar_t path[MAX_PATH];
    int count;
    LONG round;
};

int HeldToRange(int count)
{
    return count > AlarmSound::kMostRepetitions ? AlarmSound::kMostRepetitions : count;
}

}  // namespace

AlarmSound::~AlarmSound()
{
    StopRecording();
}

bool AlarmSound::PlayFile(const wchar_t* path, int count)
{
    if (path == nullptr || path[0] == L'\0' || count < 1)
        return false;
    FileJob* job = new (std::nothrow) FileJob;
    if (job == nullptr)
        return false;
    CopyText(job->path, MAX_PATH, path);
    job->count = HeldToRange(count);
    job->round = InterlockedCompareExchange(&g_fileRound, 0, 0);
    InterlockedIncrement(&g_filesPlaying);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, FileThread, job, 0, &id);
    if (thread == nullptr) {
        InterlockedDecrement(&g_filesPlaying);
        delete job;
        return false;
    }
    CloseHandle(thread);
    return true;
}

LONG AlarmSound::FilesPlaying()
{
    return InterlockedCompareExchange(&g_filesPlaying, 0, 0);
}

void AlarmSound::StopFiles()
{
    if (FilesPlaying() == 0)
        return;
    InterlockedIncrement(&g_fileRound);
    // Cut again while a thread still plays: one between two repetitions
    // starts its next sound after the first cut.
    for (DWORD waited = 0; FilesPlaying() > 0 && waited < kFileStopWaitMs; waited += kRecutStep) {
        InkControl::StopSound();
        Sleep(kRecutStep);
    }
}

DWORD WINAPI AlarmSound::FileThread(void* parameter)
{
    FileJob* job = static_cast<FileJob*>(parameter);
    for (int i = 0; i < job->count && InterlockedCompareExchange(&g_fileRound, 0, 0) == job->round; ++i)
        InkControl::playSound(job->path, nullptr, SND_FILENAME);
    delete job;
    InterlockedDecrement(&g_filesPlaying);
    return 0;
}

bool AlarmSound::PlayRecording(InkControl& ink, int count)
{
    StopRecording();
    if (count < 1 || !ink.CopyFirstRecording(&recording_))
        return false;
    repetitions_ = HeldToRange(count);
    InterlockedExchange(&playing_, 1);
    DWORD id = 0;
    playbackThread_ = CreateThread(nullptr, 0, RecordingThread, this, 0, &id);
    if (playbackThread_ == nullptr) {
        InterlockedExchange(&playing_, 0);
        return false;
    }
    return true;
}

DWORD WINAPI AlarmSound::RecordingThread(void* self)
{
    static_cast<AlarmSound*>(self)->PlayRecordingRepetitions();
    return 0;
}

void AlarmSound::PlayRecordingRepetitions()
{
    for (int i = 0; i < repetitions_ && InterlockedCompareExchange(&playing_, 0, 0) != 0; ++i)
        InkControl::playSound(reinterpret_cast<LPCWSTR>(recording_.data()), nullptr, SND_MEMORY);
}

void AlarmSound::StopRecording()
{
    if (playbackThread_ == nullptr)
        return;
    InterlockedExchange(&playing_, 0);
    // Only a playback still running is cut: a sound cut here is whatever the
    // process plays, and a recording that ended by itself leaves the wave
    // file alone.
    while (!WaitForThreadServingSends(playbackThread_, 0)) {
        InkControl::StopSound();
        if (WaitForThreadServingSends(playbackThread_, kRecutStep))
            break;
    }
    CloseHandle(playbackThread_);
    playbackThread_ = nullptr;
}

bool AlarmSound::RecordingPlaying() const
{
    return playbackThread_ != nullptr && WaitForSingleObject(playbackThread_, 0) == WAIT_TIMEOUT;
}

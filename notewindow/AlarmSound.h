// The sound of an alarm note: the chosen wave file on a thread of its own,
// and the note's first recording on another. Every sound goes out through
// InkControl::playSound, the one place tests replace.
#pragma once

#include "notewindow/InkControl.h"

#include <windows.h>

#include <vector>

class AlarmSound {
public:
    AlarmSound() = default;
    // Cuts and waits for the recording's playback, so that its thread never
    // outlives the ink control it plays from.
    ~AlarmSound();
    AlarmSound(const AlarmSound&) = delete;
    AlarmSound& operator=(const AlarmSound&) = delete;

    // Plays the wave file at path count times, one after the other, on a
    // thread that nobody waits for and that only the next alarm stops
    // early (StopFiles). The thread
    // works on its own copy of the path and touches nothing else, so the
    // window that started it may go at any time. False when nothing was
    // started (no path, a count below 1, or no thread).
    static bool PlayFile(const wchar_t* path, int count);
    // Wave-file threads still playing in this process.
    static LONG FilesPlaying();
    // Ends the wave files an earlier alarm left playing and returns when
    // their threads have ended: one alarm sounds at a time, and each sound
    // call cuts whatever plays, so the next alarm's sound would be cut by
    // the earlier file's repetitions.
    static void StopFiles();

    // Plays ink's first recording count times on the playback thread; a
    // playback already running is cut first. The recording is taken out of
    // the control here, on the caller's thread: the control hands its
    // content only to its own thread. False when the note holds no whole
    // recording, or no thread could start.
    bool PlayRecording(InkControl& ink, int count);
    // Cuts the recording's playback at once and returns when its thread has
    // ended. A wave file playing is left to finish.
    void StopRecording();
    bool RecordingPlaying() const;

    // The repetitions the options offer at most; a larger count read from
    // the registry is held to it, so that a damaged setting cannot keep a
    // thread busy for days.
    static const int kMostRepetitions = 100;

private:
    static DWORD WINAPI FileThread(void* job);
    static DWORD WINAPI RecordingThread(void* self);
    void PlayRecordingRepetitions();

    // The wave block the thread plays, owned here until the thread has ended.
    std::vector<BYTE> recording_;
    int repetitions_ = 0;
    HANDLE playbackThread_ = nullptr;
    // Set before the thread starts and cleared by the close to ask it to
    // stop: a close that comes before the thread's first step still stops it.
    volatile LONG playing_ = 0;
};

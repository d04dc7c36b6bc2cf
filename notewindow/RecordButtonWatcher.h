// Push-to-talk: a thread that watches the hardware record button while a
// recording started by it runs, and stops the recording once the button is
// let go.
#pragma once

#include <windows.h>

class RecordButtonWatcher {
public:
    RecordButtonWatcher() = default;
    ~RecordButtonWatcher();
    RecordButtonWatcher(const RecordButtonWatcher&) = delete;
    RecordButtonWatcher& operator=(const RecordButtonWatcher&) = delete;

    // Starts watching; a watcher already running is stopped first. Once the
    // button is let go, or the watcher is stopped, stopRecording runs on
    // the watcher's thread. False when no thread could be made.
    bool Start(void (*stopRecording)());
    // Asks the watcher to end and returns when it has (it stops the
    // recording on its way out).
    void Stop();
    bool Running() const;

    // How often the button is looked at while it is held.
    static const DWORD kPollMs = 100;

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Watch();

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    volatile LONG stop_ = 0;
    void (*stopRecording_)() = nullptr;
};

// The recorder of message sequences: a window procedure of the test's own
// hands it each message it gets (Record), or the log watches a window of
// the program ahead of its procedure (Watch). Each record says whether the
// message was posted: a message taken from the thread's queue, by whatever
// loop took it (ours, a dialog's, the program's), is seen on its way out by
// a WH_GETMESSAGE hook, and the first window procedure that records it with
// the same numbers got it through DispatchMessage; anything else was sent.
// Records are made as a procedure is entered, so what its handling sends
// comes after it. (A message taken and never dispatched, as a PeekMessage
// that only clears the queue, is pending until the next one is taken: a
// send of exactly its numbers to its window meanwhile would count as posted.)
#pragma once

#include "tests/support/MessageSequence.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class MessageLog : public MessageSequence {
public:
    explicit MessageLog(unsigned fields = kAllFields, unsigned names = kProgramMessages);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // From now on only the messages that pass are recorded.
    void Keep(std::function<bool(UINT)> which) { keep_ = std::move(which); }

    // Records a message as the procedure of hwnd gets it, under the test's
    // name for the window.
    void Record(const char* window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Records what reaches window's procedure from now on, ahead of it,
    // until the window or the log goes.
    void Watch(HWND window, const char* name);

private:
    // The hook is the thread's, put on by the first log made or used there.
    static void WatchQueue();

    struct Watched {
        MessageLog* log;
        std::string name;
    };
    static LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);

    std::function<bool(UINT)> keep_;
    std::vector<std::pair<HWND, Watched*>> watched_;
};

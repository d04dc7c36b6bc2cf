// When the note store may carry out a request, and what becomes of one that
// may not yet. The requests are a check for due notes, the opening of a
// note (a tap in the list or on the Today screen, a path handed over) and a
// new note; the user's commands on the list ask the same rules. The rules
// read top to bottom: what a request waits behind, what waits and how, what
// waits behind an alarm on screen, how and when what waited runs, and which
// notes a check leaves alone. The store asks them before it acts and then
// carries the request out itself.
#pragma once

#include "notes/NoteEntryList.h"

#include <windows.h>

#include <string>
#include <vector>

class NoteRequests {
public:
    enum class Kind { Check, Open, New };
    struct Request {
        Kind kind;
        bool flag;           // Check: forced; New: from the record button
        // Open: the note to open. A forced check: the note it would have
        // opened when it came; once that note is gone, so is the reason to
        // force, and it runs as a plain check.
        std::wstring path;
    };
    // What the rules look at of the store's note window.
    struct Screen {
        bool noteShown = false;     // it has a window
        bool noteClosing = false;   // its close is running
        bool alarm = false;         // it is shown as an alarm
    };

    NoteRequests() = default;
    NoteRequests(const NoteRequests&) = delete;
    NoteRequests& operator=(const NoteRequests&) = delete;

    // mainWindow is told (1028) when what waited may run, and each time the
    // last question on screen is answered.
    void Attach(HWND mainWindow);

    // 1. What a request waits behind: another request under way (its
    // question's loop, or a send from elsewhere it waits on, lets others
    // in), a question on screen, and a note window on its way out (it
    // serves messages sent from elsewhere while it waits for its threads: a
    // request taken then would replace the window whose close is still
    // running). A check, an open or a new note that must wait is kept
    // (Defer); the user's commands on the list are not, and do nothing.
    bool MustWait(Screen screen) const;

    // A request under way, from its start to its end; the last one to end
    // lets the waiting ones run.
    class Scope {
    public:
        explicit Scope(NoteRequests& requests) : requests(requests) { ++requests.underWay; }
        ~Scope()
        {
            if (--requests.underWay == 0)
                requests.PostWaiting();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        NoteRequests& requests;
    };

    // 2. What waits, in the order it came: a check waiting already is done
    // once, forced if either asked for it; a later open or new note
    // replaces one that waits, since only one note can be on screen.
    void Defer(const Request& request);

    // 3. One alarm at a time. A check while an alarm is on screen is done
    // when the alarm closes: true when this check waits for that.
    bool CheckWaitsForAlarm(Screen screen);
    // An alarm just opened with more notes due: the next comes when it
    // closes.
    void SetMoreDue(bool more) { checkAfterAlarm = more; }
    // A note window closed: true when the check that waited for an alarm
    // runs now (nothing is on screen any more; an alarm closed by opening
    // another note waits for that one too).
    bool CheckDueOnClose(Screen screen) const { return checkAfterAlarm && !screen.noteShown; }

    // 4. When what waited runs: the store hears 1028 whenever what held the
    // requests up ends, and takes the first that may run now. An open or
    // a new note the user asked for before an alarm came up waits for the
    // alarm to close: running now, it would close (and with "AutoDel"
    // delete) the alarm unseen. A forced check whose note is no longer
    // listed runs as a plain check. False when nothing may run.
    bool TakeNext(Screen screen, NoteEntryList& listed, Request* next);
    // Posts 1028 when requests wait.
    void PostWaiting() const;

    // 5. A note whose alarm found its file damaged in this run: the user is
    // told once, and the checks leave it alone from then on, known by its
    // name, size and last write (names are reused, lowest first, and
    // another file under the name is another note).
    static void RememberDamagedAlarm(const wchar_t* path);
    static bool IsDamagedAlarm(const wchar_t* path);

private:
    std::vector<Request> waiting;
    int underWay = 0;
    // More notes are due: the next alarm comes when the one on screen
    // closes.
    bool checkAfterAlarm = false;
    HWND mainWindow = nullptr;
};

// Whatever the user is in the middle of when a note window closes (by ok,
// or from outside: an alarm, the record button, another note opened) is
// finished and kept in the note, with the real ink control.
#include "notewindow/NoteWindow.h"
#include "notewindow/NoteWindowMessages.h"
#include "process/Application.h"
#include "resources/resource.h"
#include "shared/Registry.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/DeviceInput.h"
#include "tests/support/MessagePump.h"

#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <inkx.h>

#include <memory>
#include <vector>

namespace {

// The picker's month calendar.
const int kPickerCalendarId = 1005;

// What the owner was handed when the window closed.
class KeptNoteWindow : public NoteWindow {
public:
    void OnClose(bool save) override
    {
        closes.push_back(save);
        recordingKept = InkControl::FirstRecording(Note().data, Note().dataLength) != nullptr;
        expiry = Note().expiry;
    }
    std::vector<bool> closes;
    bool recordingKept = false;
    SYSTEMTIME expiry = {};
};

// The device's input is silent here as on the device: a recording of
// silence still has its samples.
class SilentInput {
public:
    SilentInput() { SetEnvironmentVariableW(L"INKX_NO_SOUND_INPUT", L"1"); }
    ~SilentInput() { SetEnvironmentVariableW(L"INKX_NO_SOUND_INPUT", nullptr); }
};

class NoteCloseTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        InitInkX();
        SipShowIM(SIPF_OFF);
        Pump();
    }
    void TearDown() override
    {
        note.reset();
        SipShowIM(SIPF_OFF);
        Pump();
        ApplicationTest::TearDown();
    }

    void Open(bool stored = false, bool alarm = false)
    {
        note.reset(new KeptNoteWindow());
        ASSERT_NE(nullptr, note->Create(nullptr, stored, alarm));
        PumpFor(200);
    }
    void Command(WORD id)
    {
        SendMessageW(note->Window(), WM_COMMAND, id, 0);
        Pump();
    }
    // ok on the screen, or a request from outside (an alarm falling due,
    // the record button, a tap on the Today screen), which sends 1124.
    void Close(bool byOk)
    {
        if (byOk)
            Command(IDOK);
        else
            note->RequestClose();
        PumpUntil([&] { return note->Window() == nullptr; }, 2000);
    }

    SilentInput silent;
    std::unique_ptr<KeptNoteWindow> note;
};

TEST_F(NoteCloseTest, ARecordingUnderWayIsFinishedAndKeptHoweverTheNoteCloses)
{
    // Push-to-talk lasts while the program's record key is held.
    const wchar_t kTable[] = L"SOFTWARE\\Microsoft\\Shell\\Keys\\JotlingsCloseTest";
    RegWriteString(kTable, L"Name", L"Button 5");
    WORD key = WORD(g_application->RecordButtonKey());
    ASSERT_NE(0, key);
    for (bool pushToTalk : {false, true}) {
        for (bool byOk : {true, false}) {
            SCOPED_TRACE(pushToTalk ? "the record button held" : "Record, then Rec");
            SCOPED_TRACE(byOk ? "closed by ok" : "closed from outside");
            Open();
            std::unique_ptr<KeyHeld> held;
            if (pushToTalk) {
                held.reset(new KeyHeld(key));
                note->StartRecordButtonRecording();
            } else {
                Command(IDM_NOTE_RECORD);
                SendMessageW(note->Ink().Window(), kInkMsgStartRecording, 0, 0);
            }
            PumpFor(400);
            Close(byOk);
            ASSERT_EQ(std::vector<bool>{true}, note->closes);
            EXPECT_TRUE(note->recordingKept);
        }
    }
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTable);
}

// The day moved on in the picker, then an alarm (or the record button)
// closes the note: the note keeps the day shown, a stored one is written
// with it. A picker left as it opened gives nothing: a new note is still
// empty, not due at the moment it was opened.
TEST_F(NoteCloseTest, ATimeBeingPickedIsTakenWhenTheNoteClosesFromOutside)
{
    const SYSTEMTIME kStoredExpiry = {2030, 3, 0, 10, 14, 30, 0, 0};
    struct Case {
        const char* what;
        bool stored, dayMoved, kept;
    };
    const Case cases[] = {
        {"new note, a day on", false, true, true},
        {"stored note, a day on", true, true, true},
        {"new note, the picker untouched", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        note.reset(new KeptNoteWindow());
        note->Note().expiry = kStoredExpiry;
        ASSERT_NE(nullptr, note->Create(nullptr, c.stored, false));
        PumpFor(200);
        SendMessageW(note->Window(), kMsgNoteOpenPicker, 0, 0);
        PumpFor(200);
        ASSERT_TRUE(note->Picker().IsOpen());
        SYSTEMTIME shown = {};
        HWND calendar = GetDlgItem(note->Picker().Window(), kPickerCalendarId);
        if (c.dayMoved)
            SendMessageW(calendar, WM_KEYDOWN, VK_RIGHT, 0);
        ASSERT_TRUE(SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown)));
        Close(false);
        ASSERT_EQ(std::vector<bool>{c.kept}, note->closes);
        if (!c.kept)
            continue;
        EXPECT_EQ(shown.wDay, note->expiry.wDay);
        EXPECT_EQ(shown.wMonth, note->expiry.wMonth);
        if (c.stored) {
            EXPECT_EQ(11, note->expiry.wDay);
            EXPECT_EQ(14, note->expiry.wHour);
            EXPECT_EQ(30, note->expiry.wMinute);
        }
    }
}

}  // namespace

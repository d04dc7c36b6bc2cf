// The note window's pen and typing modes with the real ink control and the
// platform's input panel: the keyboard follows the mode the user chose, and
// a stroke draws whenever the note is in writing mode.
#include "process/Application.h"
#include "notewindow/NoteWindow.h"
#include "resources/resource.h"
#include "notewindow/NoteWindowMessages.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/DeviceInput.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"

#include <aygshell.h>
#include <gtest/gtest.h>
#include <inkx.h>
#include <stdlib.h>

namespace {

class PlainNoteWindow : public NoteWindow {
public:
    void OnClose(bool) override {}
};

class NoteInputTest : public ApplicationTest {
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
        delete note;
        SipShowIM(SIPF_OFF);
        Pump();
        ApplicationTest::TearDown();
    }

    void Open(int mode, bool stored = false)
    {
        g_application->SetMode(mode);
        delete note;
        note = new PlainNoteWindow();
        ASSERT_NE(nullptr, note->Create(nullptr, stored, false));
        Settle();
    }
    // The input panel tells every window of its changes; what each change
    // sets off is over once nothing more comes for a moment.
    void Settle() { PumpFor(300); }
    void PenMode()
    {
        SendMessageW(note->Window(), WM_COMMAND, IDM_NOTE_PEN_MODE, 0);
        Settle();
    }
    // The user taps the title box, then the note again.
    void ToTitleAndBack()
    {
        SetFocus(GetDlgItem(note->Window(), IDC_NOTE_TITLE));
        Settle();
        SetFocus(note->Ink().InnerWindow());
        Settle();
    }
    bool KeyboardUp()
    {
        SIPINFO info = {};
        info.cbSize = sizeof(info);
        return SHSipInfo(SPI_GETSIPINFO, 0, &info, 0) && (info.fdwFlags & SIPF_ON) != 0;
    }
    DWORD ContentSize()
    {
        BYTE* data = nullptr;
        DWORD size = 0;
        note->Ink().GetInkData(&data, &size);
        free(data);
        return size;
    }
    // A stroke across the writing area; true when the note took it.
    bool Stroke()
    {
        DWORD before = ContentSize();
        HWND inner = note->Ink().InnerWindow();
        SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 60));
        SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 80));
        SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 70));
        SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(140, 70));
        Pump();
        return ContentSize() > before;
    }

    PlainNoteWindow* note = nullptr;
};

TEST_F(NoteInputTest, PenModeBringsBackWritingAndTheKeyboardFollowsTheChosenMode)
{
    for (int mode : {0, 1}) {
        SCOPED_TRACE(mode == 0 ? "writing by default" : "typing by default");
        Open(mode);
        if (mode == 0) {
            ASSERT_TRUE(Stroke());
            PenMode();
        }
        ASSERT_FALSE(note->InWritingMode());
        EXPECT_TRUE(KeyboardUp()) << "typing brings the keyboard";

        PenMode();
        EXPECT_TRUE(note->InWritingMode());
        EXPECT_FALSE(KeyboardUp()) << "the pen sends it away";
        EXPECT_TRUE(Stroke());
        // The title's keyboard goes with the title; the note stays in
        // writing mode.
        ToTitleAndBack();
        EXPECT_TRUE(note->InWritingMode());
        EXPECT_FALSE(KeyboardUp());
        EXPECT_TRUE(Stroke());

        // Typing again: back from the title, the keyboard comes back.
        PenMode();
        ToTitleAndBack();
        EXPECT_FALSE(note->InWritingMode());
        EXPECT_TRUE(KeyboardUp());
    }
}

// The tap that closes the expiry picker reaches nothing under it: not the
// status line or the clock button (which would open it again), not the
// writing area (a dot, and a stored note marked changed).
TEST_F(NoteInputTest, TheTapThatClosesThePickerReachesNothingElse)
{
    Open(0, true);
    HWND inner = note->Ink().InnerWindow();
    struct Place {
        const char* name;
        HWND window;
        POINT at;
    };
    const Place places[] = {{"status line", note->Window(), {120, 33}},
                            {"clock button", GetDlgItem(note->Window(), IDC_NOTE_CLOCK), {8, 8}},
                            {"writing area", inner, {30, 150}}};   // beside the pop-up
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        DWORD before = ContentSize();
        SendMessageW(note->Window(), kMsgNoteOpenPicker, 0, 0);
        Settle();
        ASSERT_TRUE(note->Picker().IsOpen());
        TapThroughInput(place.window, place.at.x, place.at.y);
        ASSERT_TRUE(PumpUntil([&] { return !note->Picker().IsOpen(); }));
        Settle();
        EXPECT_FALSE(note->Picker().IsOpen()) << "opened again";
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(before, ContentSize()) << "nothing drawn";
        EXPECT_TRUE(note->Ink().IsUnmodified());
    }
}

// Another window takes the front (a message, the picker, another program)
// and gives it back: the focus is where the user left it, the page or the
// title box, so the input panel's keys reach it.
TEST_F(NoteInputTest, TheFocusComesBackWhereItWasWhenTheNoteIsInFrontAgain)
{
    Open(1);
    HWND inner = note->Ink().InnerWindow();
    HWND title = GetDlgItem(note->Window(), IDC_NOTE_TITLE);
    for (bool onTitle : {false, true}) {
        SCOPED_TRACE(onTitle ? "the title box" : "the page");
        SetFocus(onTitle ? title : inner);
        Settle();
        HWND had = GetFocus();
        ASSERT_TRUE(had == inner || IsChild(title, had));
        {
            TestWindow other;
            ShowWindow(other.Handle(), SW_SHOWNORMAL);
            SetForegroundWindow(other.Handle());
            Settle();
            ASSERT_NE(had, GetFocus());
        }
        SetForegroundWindow(note->Window());
        Settle();
        EXPECT_EQ(had, GetFocus());
        if (!onTitle) {
            DWORD before = ContentSize();
            SendKeys({{'Q', true}, {'Q', false}});
            Settle();
            EXPECT_GT(ContentSize(), before) << "the key went nowhere";
        }
    }
}

}  // namespace

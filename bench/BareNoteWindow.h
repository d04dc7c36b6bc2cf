// The floor of opening a note: the same window made the plainest way. A
// bare full-screen pop-up made with CreateWindowExW holds what the note
// window shows: a toolbar strip with the seven tool buttons and their
// bitmap strip, a combo box with the title list's entries, the two image
// buttons as bitmap statics, the status line drawn in WM_PAINT, and an
// InkX control made with the note window's style and view set-up, into
// which the note file's ink is streamed with one EM_STREAMIN.
#pragma once

#include <windows.h>

#include <vector>

namespace bench {

class BareNoteWindow {
public:
    BareNoteWindow() = default;
    ~BareNoteWindow();
    BareNoteWindow(const BareNoteWindow&) = delete;
    BareNoteWindow& operator=(const BareNoteWindow&) = delete;

    // Reads the note file whole, makes the window with its controls, streams
    // the ink in and shows the window in front. False when the file could
    // not be read or a window could not be made.
    bool Open(const wchar_t* path);
    // Destroys the window (on the thread that opened it).
    void Close();

    HWND Window() const { return window; }
    // The ink control's inner window, which paints the page.
    HWND InkInner() const { return inkInner; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* given);
    bool ReadNoteBytes(const wchar_t* path);
    void MakeToolbar(HINSTANCE instance);
    void MakeTitleBox(HINSTANCE instance, const wchar_t* title);
    HWND MakeBitmapStatic(HINSTANCE instance, int bitmapId, int x, HBITMAP* bitmap);
    bool MakeInk(HINSTANCE instance, int zoom, const BYTE* ink, size_t inkLength);
    void OnPaint();

    std::vector<BYTE> bytes;
    HWND window = nullptr;
    HWND inkInner = nullptr;
    HBITMAP popupBitmap = nullptr;
    HBITMAP clockBitmap = nullptr;
    wchar_t statusText[256] = L"";
    // Where the stream-in callback reads.
    const BYTE* streamAt = nullptr;
    size_t streamLeft = 0;
};

}  // namespace bench

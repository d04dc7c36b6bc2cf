// The program's wrapper around one platform ink control ("InkX"): creates
// and re-creates it, steers zoom, input mode, page and recorder, moves the
// note's content in and out as an opaque block, and paints the inner window
// yellow through a subclass.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <vector>

class InkControl {
public:
    InkControl();
    virtual ~InkControl();
    InkControl(const InkControl&) = delete;
    InkControl& operator=(const InkControl&) = delete;

    bool Create(HWND parent, int id, int x, int y, int width, int height, bool bordered);
    void Destroy();
    void Recreate(bool keepSettings);

    void SetZoom(int percent);
    void SetZoomIndex(int index);
    int GetZoom() const { return zoom_; }
    bool ZoomIn();
    bool ZoomOut();

    void Undo();
    bool CanUndo();
    void SetInputMode(int mode);
    void SetPageStyle(bool shown, int style);
    void SetCompact(bool on);
    bool IsUnmodified();

    // Streams the content out into a new block (malloc'd: free it with free()
    // or FreeNoteData). False, with a null block, when there is no control.
    bool GetInkData(BYTE** data, DWORD* size);
    void SetInkData(const BYTE* data, DWORD size);

    void ToggleRecorder();
    void StartVoiceRecording();
    void StopVoiceRecording();
    void PlayFirstRecording();
    // Copies the first recording's whole wave block out of the control into
    // wave; false, with wave empty, when the note holds none. Like every
    // stream, only on the control's own thread.
    bool CopyFirstRecording(std::vector<BYTE>* wave);
    // The first recording's wave block within content streamed out of the
    // control (recordings come first): the first "RIFF" ... "WAVE" whose
    // size keeps it whole within the data; null when it holds none.
    static const BYTE* FirstRecording(const BYTE* data, DWORD size);
    // Cuts whatever sound the process plays; any thread may.
    static void StopSound();

    void Cut();
    void Copy();
    void Paste();
    void SetPreviewView();
    // Marks count parts of the typed text, each its first character and
    // its length (UINT32 pairs), and brings the first into view; none
    // clears the marks.
    void MarkText(const UINT32* parts, size_t count);

    HWND Window() const { return control_; }
    HWND InnerWindow() const { return inner_; }

    // Sound playback goes through this; tests point it elsewhere.
    typedef BOOL(WINAPI* PlaySoundFunction)(LPCWSTR sound, HMODULE module, DWORD flags);
    static PlaySoundFunction playSound;

private:
    // Where the stream callbacks read or write: {buffer start, current
    // position, size}. A null start counts bytes instead of copying them.
    struct StreamCursor {
        BYTE* start;
        BYTE* current;
        DWORD size;
    };

    static LRESULT CALLBACK InnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static DWORD CALLBACK OutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
    static DWORD CALLBACK InCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done);
    LRESULT OnInnerMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void SendZoom();
    void Lock();
    void Unlock();

    HWND control_ = nullptr;
    HWND inner_ = nullptr;
    HWND parent_ = nullptr;
    int id_ = 0;
    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool bordered_ = false;
    HBRUSH background_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    CRITICAL_SECTION lock_;
    UINT_PTR repaintTimer_ = 0;
    int zoom_ = 100;
    BYTE recorderOn_ = 0;
    bool pageShown_ = false;
    int pageStyle_ = 0;
    int inputMode_ = 0;
    bool compact_ = false;
    StreamCursor cursor_ = {nullptr, nullptr, 0};
    EDITSTREAM stream_ = {0, 0, nullptr};
};

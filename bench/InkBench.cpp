// Speed of the ink control against floors measured in the same run:
//  - stream out / stream in of a note with 10,000 strokes and a 60-second
//    recording, and the program's two-pass GetInkData, against copying the
//    same bytes;
//  - the latency of one stroke segment while writing, against drawing the
//    same segment with bare GDI;
//  - a full repaint of that note, against a bare GDI polyline of the same
//    points.
// Prints one line per figure: name, project ms, floor ms, ratio.
#include "InkRecording.h"
#include "InkStreamFormat.h"
#include "inkx.h"
#include "notewindow/InkControl.h"

#include <windows.h>
#include <richedit.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

const int kStrokes = 10000;
const int kPointsPerStroke = 16;
const int kRecordingSeconds = 60;
const int kRuns = 5;

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double Median(F f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        double start = Now();
        f();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[kRuns / 2];
}

void Report(const char* figure, double project, double floor)
{
    printf("%-44s project %9.3f ms   floor %9.3f ms   ratio %7.1f\n", figure, project, floor,
           floor > 0 ? project / floor : 0.0);
    fflush(stdout);
}

std::vector<uint8_t> BigNote()
{
    InkDocument doc;
    for (int s = 0; s < kStrokes; ++s) {
        InkStroke stroke(RGB(0, 0, 0), 8);
        int x = (s % 40) * 24, y = (s / 40) * 40;
        for (int p = 0; p < kPointsPerStroke; ++p)
            stroke.AddPoint({x + p * 5, y + (p % 3) * 7});
        doc.Strokes().push_back(stroke);
    }
    std::vector<uint8_t> pcm(static_cast<size_t>(kRecordingSeconds) * 11025 * 2);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<uint8_t>(i * 31);
    doc.Recordings().emplace_back(8, 0, InkRecording::BuildWave(pcm.data(), pcm.size(), 11025, 1, 16));
    std::vector<uint8_t> bytes;
    InkStreamFormat::Write(doc, bytes);
    return bytes;
}

struct Sink {
    uint8_t* buffer;
    size_t pos;
    size_t size;
};

DWORD CALLBACK Take(DWORD_PTR cookie, LPBYTE data, LONG count, LONG* taken)
{
    Sink* s = reinterpret_cast<Sink*>(cookie);
    size_t n = std::min(static_cast<size_t>(count), s->size - s->pos);
    memcpy(s->buffer + s->pos, data, n);
    s->pos += n;
    *taken = count;
    return 0;
}

DWORD CALLBACK Give(DWORD_PTR cookie, LPBYTE data, LONG count, LONG* given)
{
    Sink* s = reinterpret_cast<Sink*>(cookie);
    size_t n = std::min(static_cast<size_t>(count), s->size - s->pos);
    memcpy(data, s->buffer + s->pos, n);
    s->pos += n;
    *given = static_cast<LONG>(n);
    return 0;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND PlainWindow(const wchar_t* name, int x, int y)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return CreateWindowExW(0, name, L"", WS_POPUP | WS_VISIBLE, x, y, 240, 268, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

void StreamFigures(HWND parent, const std::vector<uint8_t>& note)
{
    InkControl ink;
    ink.Create(parent, 105, 0, 0, 240, 268, true);
    HWND control = ink.Window();
    std::vector<uint8_t> in(note), out(note.size() + 64), copy(note.size());

    Sink source = {in.data(), 0, in.size()};
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&source), 0, Give};
    double streamIn = Median([&] {
        source.pos = 0;
        SendMessageW(control, EM_STREAMIN, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
    });
    double floorIn = Median([&] { memcpy(copy.data(), in.data(), in.size()); });

    Sink sink = {out.data(), 0, out.size()};
    EDITSTREAM eo = {reinterpret_cast<DWORD_PTR>(&sink), 0, Take};
    double streamOut = Median([&] {
        sink.pos = 0;
        SendMessageW(control, EM_STREAMOUT, kInkStreamFlags, reinterpret_cast<LPARAM>(&eo));
    });
    if (sink.pos != note.size() || memcmp(out.data(), note.data(), note.size()) != 0)
        printf("warning: streamed-out note differs from the one streamed in\n");
    double floorOut = Median([&] { memcpy(out.data(), copy.data(), copy.size()); });

    double getInk = Median([&] {
        BYTE* data = nullptr;
        DWORD size = 0;
        ink.GetInkData(&data, &size);
        free(data);
    });

    char name[80];
    snprintf(name, sizeof(name), "stream in  (%.1f MB note)", note.size() / 1048576.0);
    Report(name, streamIn, floorIn);
    snprintf(name, sizeof(name), "stream out (%.1f MB note)", note.size() / 1048576.0);
    Report(name, streamOut, floorOut);
    Report("GetInkData, two passes", getInk, floorOut);

    // A full repaint of the note at 100 %, against GDI polylines of the
    // strokes that fall in the window.
    SendMessageW(ink.InnerWindow(), kInkMsgSetZoom, 0, 100);
    double repaint = Median([&] {
        InvalidateRect(ink.InnerWindow(), nullptr, FALSE);
        UpdateWindow(ink.InnerWindow());
    });
    InkDocument doc;
    InkStreamFormat::Read(note.data(), note.size(), doc);
    double floorPaint = Median([&] {
        HDC dc = GetDC(parent);
        HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        std::vector<POINT> pts;
        for (const InkStroke& s : doc.Strokes()) {
            RECT b = s.Bounds();
            if (b.left / 4 > 240 || b.top / 4 > 268)
                continue;
            pts.clear();
            for (const POINT& p : s.Points())
                pts.push_back({p.x / 4, p.y / 4});
            Polyline(dc, pts.data(), static_cast<int>(pts.size()));
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        ReleaseDC(parent, dc);
    });
    Report("full repaint, 10,000-stroke note", repaint, floorPaint);
    ink.Destroy();
}

void SegmentFigure(HWND parent)
{
    const int segments = 1000;
    InkControl ink;
    ink.Create(parent, 105, 0, 0, 240, 268, true);
    ink.SetZoom(100);
    HWND inner = ink.InnerWindow();
    SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    double start = Now();
    for (int i = 1; i <= segments; ++i)
        SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + (i * 7) % 200, 10 + (i * 3) % 220));
    double project = (Now() - start) / segments;
    SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    ink.Destroy();

    HWND plain = PlainWindow(L"InkBenchPlain", 0, 26);
    POINT last = {10, 10};
    start = Now();
    for (int i = 1; i <= segments; ++i) {
        POINT p = {10 + (i * 7) % 200, 10 + (i * 3) % 220};
        HDC dc = GetDC(plain);
        HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, last.x, last.y, nullptr);
        LineTo(dc, p.x, p.y);
        SelectObject(dc, old);
        DeleteObject(pen);
        ReleaseDC(plain, dc);
        last = p;
    }
    double floor = (Now() - start) / segments;
    DestroyWindow(plain);
    Report("one stroke segment while writing", project, floor);
}

}  // namespace

int main()
{
    if (!InitInkX()) {
        printf("InkX.dll did not initialise\n");
        return 1;
    }
    HWND parent = PlainWindow(L"InkBenchHost", 0, 26);
    std::vector<uint8_t> note = BigNote();
    StreamFigures(parent, note);
    SegmentFigure(parent);
    DestroyWindow(parent);
    return 0;
}

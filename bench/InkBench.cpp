// Speed of the ink control against floors measured in the same run:
//  - stream out / stream in of a note with 10,000 strokes and a 60-second
//    recording, and the program's two-pass GetInkData, against reading the
//    same bytes from a file (CreateFileW, one ReadFile of the whole file).
//    A copy of bytes already in the cache is too small a floor to compare
//    with: its ratios swung from 40 to 190 between runs;
//  - the latency of one stroke segment while writing, at 100 % and at the
//    largest zoom, 300 %, against drawing the same segment with bare GDI;
//  - a full repaint of that note, against a bare GDI polyline of the same
//    points;
//  - one keystroke typed at the end of a 50,000-character paragraph, with
//    its repaint, against measuring the whole paragraph once with bare GDI
//    (GetTextExtentExPointW, the measuring any layout of it needs; Wine's
//    DrawTextW wrapping the same text takes about fifteen times longer);
//  - the memory the undo history holds after a pasted 1 MB text is edited
//    word by word, 200 steps, against the text itself.
// Prints one line per figure: name, project ms (or bytes), floor, ratio.
#include "InkStreamFormat.h"
#include "InkUndo.h"
#include "bench/BenchSupport.h"
#include "formats/PageStyle.h"
#include "inkx.h"
#include "notewindow/InkControl.h"

#include <windows.h>
#include <richedit.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

using bench::kRuns;
const int kSegments = 1000;

template <typename F>
double Median(F f)
{
    return bench::Median(kRuns, f);
}

using bench::Now;
using bench::Report;

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

void StreamFigures(HWND parent, const std::vector<uint8_t>& note, const wchar_t* noteFile)
{
    InkControl ink;
    ink.Create(parent, 105, 0, 0, 240, 268, true);
    HWND control = ink.Window();
    std::vector<uint8_t> in(note), out(note.size() + 64);

    Sink source = {in.data(), 0, in.size()};
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&source), 0, Give};
    double streamIn = Median([&] {
        source.pos = 0;
        SendMessageW(control, EM_STREAMIN, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
    });
    size_t read = 0;
    double floorRead = Median([&] { read = bench::ReadWholeFileFloor(noteFile); });
    if (read != note.size())
        printf("warning: the floor read %zu of the note's %zu bytes\n", read, note.size());

    Sink sink = {out.data(), 0, out.size()};
    EDITSTREAM eo = {reinterpret_cast<DWORD_PTR>(&sink), 0, Take};
    double streamOut = Median([&] {
        sink.pos = 0;
        SendMessageW(control, EM_STREAMOUT, kInkStreamFlags, reinterpret_cast<LPARAM>(&eo));
    });
    if (sink.pos != note.size() || memcmp(out.data(), note.data(), note.size()) != 0)
        printf("warning: streamed-out note differs from the one streamed in\n");

    double getInk = Median([&] {
        BYTE* data = nullptr;
        DWORD size = 0;
        ink.GetInkData(&data, &size);
        free(data);
    });

    char name[80];
    snprintf(name, sizeof(name), "stream in  (%.1f MB note)", note.size() / 1048576.0);
    Report(name, streamIn, floorRead);
    snprintf(name, sizeof(name), "stream out (%.1f MB note)", note.size() / 1048576.0);
    Report(name, streamOut, floorRead);
    Report("GetInkData, two passes", getInk, floorRead);

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

// The average of one segment over a stroke of kSegments, at zoom percent.
double StrokeSegment(HWND parent, int zoom)
{
    InkControl ink;
    ink.Create(parent, 105, 0, 0, 240, 268, true);
    ink.SetZoom(zoom);
    HWND inner = ink.InnerWindow();
    SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    double start = Now();
    for (int i = 1; i <= kSegments; ++i)
        SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + (i * 7) % 200, 10 + (i * 3) % 220));
    double segment = (Now() - start) / kSegments;
    SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    ink.Destroy();
    return segment;
}

// The same segments drawn with bare GDI, the pen as much wider as the zoom.
double BareSegment(HWND plain, int zoom)
{
    POINT last = {10, 10};
    double start = Now();
    for (int i = 1; i <= kSegments; ++i) {
        POINT p = {10 + (i * 7) % 200, 10 + (i * 3) % 220};
        HDC dc = GetDC(plain);
        HPEN pen = CreatePen(PS_SOLID, 2 * zoom / 100, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, last.x, last.y, nullptr);
        LineTo(dc, p.x, p.y);
        SelectObject(dc, old);
        DeleteObject(pen);
        ReleaseDC(plain, dc);
        last = p;
    }
    return (Now() - start) / kSegments;
}

void SegmentFigure(HWND parent, int zoom, const char* name)
{
    HWND plain = PlainWindow(L"InkBenchPlain", 0, 26);
    std::vector<double> projectTimes, floorTimes;
    for (int run = 0; run < kRuns; ++run) {
        projectTimes.push_back(StrokeSegment(parent, zoom));
        floorTimes.push_back(BareSegment(plain, zoom));
    }
    DestroyWindow(plain);
    Report(name, bench::MedianOf(projectTimes), bench::MedianOf(floorTimes));
}

const size_t kParagraphChars = 50000;
const int kKeystrokes = 20;

// Words of varied length and no line break: one paragraph for the layout.
std::wstring LongParagraph()
{
    static const wchar_t* const kWords[] = {L"note", L"alarm", L"a", L"recording", L"of",
                                            L"tomorrow's", L"meeting", L"at", L"ten"};
    std::wstring text;
    for (size_t i = 0; text.size() < kParagraphChars; ++i) {
        text += kWords[(i * 7) % 9];
        text += L' ';
    }
    text.resize(kParagraphChars);
    return text;
}

void TypingFigure(HWND parent)
{
    std::wstring text = LongParagraph();
    InkDocument doc;
    doc.Text() = text;
    std::vector<uint8_t> content;
    InkStreamFormat::Write(doc, content);

    InkControl ink;
    ink.Create(parent, 105, 0, 0, 240, 268, true);
    ink.SetInputMode(1);
    ink.SetZoom(100);
    HWND inner = ink.InnerWindow();
    std::vector<double> perKey;
    for (int run = 0; run < kRuns; ++run) {
        ink.SetInkData(content.data(), static_cast<DWORD>(content.size()));
        UpdateWindow(inner);
        double start = Now();
        for (int i = 0; i < kKeystrokes; ++i) {
            SendMessageW(inner, WM_CHAR, i % 5 == 4 ? L' ' : L'x', 1);
            UpdateWindow(inner);
        }
        perKey.push_back((Now() - start) / kKeystrokes);
    }
    RECT client;
    GetClientRect(inner, &client);
    ink.Destroy();

    // The view wraps at its width less the text's left margin and 4 pixels.
    HFONT font = CreateFontW(-formats::kPageTextFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
    std::vector<int> extents(text.size());
    int fit = 0;
    double floor = Median([&] {
        HDC dc = GetDC(parent);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size;
        GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), 1 << 30, &fit,
                              extents.data(), &size);
        SelectObject(dc, old);
        ReleaseDC(parent, dc);
    });
    DeleteObject(font);
    if (fit != static_cast<int>(text.size()))
        printf("warning: the floor measured %d of %zu characters\n", fit, text.size());
    Report("keystroke in a 50,000-character paragraph", bench::MedianOf(perKey), floor);
}

// Each step replaces one word of the text, as the typing of a word after a
// double tap does.
void UndoMemoryFigure()
{
    const size_t kCharacters = 1u << 20;
    const int kSteps = 200;
    std::wstring text;
    text.reserve(kCharacters);
    while (text.size() + 6 <= kCharacters)
        text += L"words ";
    InkUndo undo;
    for (int i = 0; i < kSteps; ++i) {
        std::wstring before = text;
        size_t at = (text.size() / kSteps) * static_cast<size_t>(i) / 6 * 6;
        text.replace(at, 5, L"WORDS");
        undo.TextChanging(before, at, false);
    }
    bench::ReportBytes("undo of a 1 MB text edited word by word, 200 steps", static_cast<double>(undo.Bytes()),
                       static_cast<double>(text.size() * sizeof(wchar_t)));
}

}  // namespace

int main()
{
    if (!InitInkX()) {
        printf("InkX.dll did not initialise\n");
        return 1;
    }
    HWND parent = PlainWindow(L"InkBenchHost", 0, 26);
    std::vector<uint8_t> note = bench::BigInkContent();
    wchar_t noteFile[MAX_PATH];
    if (!bench::TempFilePath(L"InkBench.ink", noteFile, MAX_PATH) ||
        !bench::WriteBytes(noteFile, note.data(), note.size())) {
        printf("the note's bytes could not be written to a file\n");
        return 1;
    }
    StreamFigures(parent, note, noteFile);
    SegmentFigure(parent, 100, "one stroke segment while writing");
    SegmentFigure(parent, 300, "one stroke segment while writing, 300 %");
    TypingFigure(parent);
    UndoMemoryFigure();
    DestroyWindow(parent);
    DeleteFileW(noteFile);
    return 0;
}

// Speed of the help viewer against help-file size, 64 KB to 4 MB, for three
// kinds of file: topics with ordinary markup, text strewn with '<' that
// opens no tag and '&' that starts no entity, and one paragraph without a
// break. Each size is measured twice:
//  - parse: the topic's blocks from the text, against copying the text;
//  - layout: the viewer's window with every line laid out, against bare GDI
//    measuring every character of the text once.
// Prints one line per figure: name, project ms, floor ms, ratio. The time
// should grow as the file does: the ratio stays flat from size to size.
#include "bench/BenchSupport.h"

#include "platform/peghelp/src/HelpDocument.h"
#include "platform/peghelp/src/HelpLayout.h"
#include "platform/peghelp/src/HelpWindow.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using bench::kRuns;
using bench::Report;
const size_t kSizes[] = {64 * 1024, 256 * 1024, 1024 * 1024, 4 * 1024 * 1024};

template <typename F>
double Median(F f)
{
    return bench::Median(kRuns, f);
}

// Text of about size characters made of unit repeated, inside a body.
std::wstring Fill(const std::wstring& head, const std::wstring& unit, const std::wstring& tail,
                  size_t size)
{
    std::wstring html = head;
    while (html.size() + tail.size() < size)
        html += unit;
    return html + tail;
}

std::wstring Topics(size_t size)
{
    return Fill(L"<html><head><title>Bench</title><style>p{}</style></head><body>",
                L"<h2><a name=\"T\"></a>A topic</h2><p>Tap <b>Edit</b> &gt; <i>Undo</i> to take "
                L"back the last stroke &amp; keep the rest.</p><ul><li>One item</li><li>Another "
                L"item with more words in it</li></ul><!-- a comment --><p>Caf&#233; &copy;</p>\n",
                L"</body></html>", size);
}

std::wstring Stray(size_t size)
{
    return Fill(L"<p>", L"if a <b then c & d; <<< && x < y and so on, ", L"</p>", size);
}

std::wstring OneParagraph(size_t size)
{
    return Fill(L"<p>", L"A paragraph that never ends, with words of every length. ", L"</p>",
                size);
}

// Every character measured once, a line's piece at a time, with the body font.
void MeasureBare(HDC dc, const std::vector<peghelp::HelpBlock>& blocks)
{
    for (const peghelp::HelpBlock& block : blocks) {
        const std::wstring& text = block.text;
        for (size_t at = 0; at < text.size(); at += peghelp::HelpLayout::kPiece) {
            int count = static_cast<int>(std::min(peghelp::HelpLayout::kPiece, text.size() - at));
            int fit = 0;
            SIZE size;
            GetTextExtentExPointW(dc, text.c_str() + at, count, 1 << 30, &fit, nullptr, &size);
        }
    }
}

void Measure(const char* kind, std::wstring (*make)(size_t))
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    for (size_t size : kSizes) {
        std::wstring html = make(size);
        std::wstring copy;
        double parse = Median([&] {
            peghelp::HelpDocument document;
            document.LoadText(html, L"bench.htm", L"");
        });
        double parseFloor = Median([&] {
            copy.assign(html.begin(), html.end());
        });
        peghelp::HelpDocument document;
        document.LoadText(html, L"bench.htm", L"");
        size_t lines = 0;
        double layout = Median([&] {
            peghelp::HelpWindow window(document);
            window.Create(GetModuleHandleW(nullptr), false);
            lines = window.View().Layout().Lines().size();
        });
        double layoutFloor = Median([&] { MeasureBare(dc, document.Blocks()); });
        char name[96];
        snprintf(name, sizeof(name), "parse  %-13s %5zu KB", kind, size / 1024);
        Report(name, parse, parseFloor);
        snprintf(name, sizeof(name), "layout %-13s %5zu KB (%zu lines)", kind, size / 1024, lines);
        Report(name, layout, layoutFloor);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

}  // namespace

int wmain()
{
    Measure("topics", Topics);
    Measure("stray markup", Stray);
    Measure("one paragraph", OneParagraph);
    return 0;
}

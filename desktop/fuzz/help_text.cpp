// The help viewer's tag reader, topic finder, block parser and layout, on
// any text: the lines laid out stay inside their blocks' text, in order.
// The input is the help file's text as UTF-16LE units; its first unit picks
// the topic asked for.
#include "desktop/fuzz/FuzzCheck.h"
#include "platform/peghelp/src/HelpDocument.h"
#include "platform/peghelp/src/HelpLayout.h"
#include "platform/peghelp/src/HtmlTag.h"

#include <string>

namespace {

// Every character 6 pixels wide, headings' lines taller than the rest.
class FixedMeasure : public peghelp::HelpTextMeasure {
public:
    explicit FixedMeasure(int width) : width_(width) {}
    void Begin(peghelp::BlockKind kind, int* lineHeight, int* width) override
    {
        *lineHeight = kind == peghelp::BlockKind::Heading ? 16 : 11;
        *width = width_;
    }
    size_t Fit(const wchar_t*, size_t count, int width) override
    {
        size_t fit = width > 0 ? static_cast<size_t>(width) / 6 : 0;
        return fit < count ? fit : count;
    }

private:
    int width_;
};

const wchar_t* const kAnchors[] = {L"", L"Main", L"Edit", L"AllJotl", L"Titles", L"nowhere"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    std::wstring html;
    for (size_t i = 2; i + 1 < size; i += 2)
        html += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    std::wstring anchor = kAnchors[data[0] % (sizeof kAnchors / sizeof kAnchors[0])];

    // As the viewer reads: on past each tag read, else past the '<'.
    for (size_t at = html.find(L'<'); at != std::wstring::npos; at = html.find(L'<', at + 1)) {
        peghelp::HtmlTag tag;
        if (peghelp::ReadHtmlTag(html, at, tag)) {
            FUZZ_CHECK(tag.begin == at && tag.end > at && tag.end <= html.size());
            at = tag.end - 1;
        }
    }

    peghelp::HelpDocument document;
    document.LoadText(html, L"fuzz.htm", anchor);
    FixedMeasure measure(data[1] % 4 == 0 ? 0 : 40 + data[1]);
    peghelp::HelpLayout layout;
    layout.Build(measure, document.Blocks(), 4, 6);
    int previousTop = -1;
    for (const peghelp::HelpLine& line : layout.Lines()) {
        FUZZ_CHECK(line.block < document.Blocks().size());
        const std::wstring& text = document.Blocks()[line.block].text;
        FUZZ_CHECK(line.start <= text.size() && line.length <= text.size() - line.start);
        FUZZ_CHECK(line.top > previousTop);
        previousTop = line.top;
    }
    if (!layout.Lines().empty())
        FUZZ_CHECK(layout.FirstLineBelow(layout.Bottom()) == layout.Lines().size());
    return 0;
}

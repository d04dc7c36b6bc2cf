#include "platform/peghelp/src/HelpDocument.h"

#include "platform/peghelp/src/HtmlTag.h"

#include <algorithm>
#include <cwctype>

namespace peghelp {

namespace {

struct Entity {
    const wchar_t* name;
    wchar_t character;
};

// From the '&' to the ';' of the longest entity taken ("&#1114111;").
const size_t kMaxEntityLength = 10;

const Entity kEntities[] = {
    {L"amp", L'&'},     {L"lt", L'<'},      {L"gt", L'>'},      {L"quot", L'"'},
    {L"apos", L'\''},   {L"nbsp", 0x00A0},  {L"copy", 0x00A9},  {L"reg", 0x00AE},
    {L"trade", 0x2122}, {L"hellip", 0x2026}, {L"ndash", 0x2013}, {L"mdash", 0x2014},
    {L"bull", 0x2022},  {L"deg", 0x00B0},   {L"laquo", 0x00AB}, {L"raquo", 0x00BB},
};

// Whether html[from, to) holds word; looks no further than to.
bool Contains(const std::wstring& html, size_t from, size_t to, const std::wstring& word)
{
    auto last = html.begin() + static_cast<std::ptrdiff_t>(to);
    return std::search(html.begin() + static_cast<std::ptrdiff_t>(from), last, word.begin(),
                       word.end()) != last;
}

bool IsBreak(const std::wstring& name)
{
    static const wchar_t* const breaks[] = {L"p",  L"/p", L"div", L"/div", L"br",  L"tr",
                                            L"table", L"/table", L"ul", L"/ul", L"ol", L"/ol",
                                            L"blockquote", L"/blockquote", L"hr", L"dl", L"dt",
                                            L"dd", L"/li", L"body", L"/body"};
    for (const wchar_t* b : breaks) {
        if (name == b) {
            return true;
        }
    }
    return false;
}

void AppendCodePoint(std::wstring& out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        out += static_cast<wchar_t>(0xFFFD);
    } else if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (code >> 10));
        out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<wchar_t>(code);
    }
}

// Decodes the entity at html[at] == '&'; returns the index after it, or
// at + 1 with a plain '&' when it is no entity.
size_t DecodeEntity(const std::wstring& html, size_t at, std::wstring& out)
{
    // The ';' is looked for only as far as the longest entity goes: a search
    // to the end of the text at every '&' would grow with the square of it.
    size_t semicolon = std::wstring::npos;
    for (size_t i = at + 1; i < html.size() && i - at <= kMaxEntityLength; ++i) {
        if (html[i] == L';') {
            semicolon = i;
            break;
        }
    }
    if (semicolon == std::wstring::npos) {
        out += L'&';
        return at + 1;
    }
    std::wstring body = html.substr(at + 1, semicolon - at - 1);
    if (!body.empty() && body[0] == L'#') {
        bool hex = body.size() > 1 && (body[1] == L'x' || body[1] == L'X');
        const wchar_t* digits = body.c_str() + (hex ? 2 : 1);
        wchar_t* end = nullptr;
        unsigned long code = wcstoul(digits, &end, hex ? 16 : 10);
        if (end == digits || *end != L'\0') {
            out += L'&';
            return at + 1;
        }
        AppendCodePoint(out, code);
        return semicolon + 1;
    }
    for (const Entity& entity : kEntities) {
        if (body == entity.name) {
            out += entity.character;
            return semicolon + 1;
        }
    }
    out += L'&';
    return at + 1;
}

class BlockBuilder {
public:
    void Text(wchar_t c)
    {
        if (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n') {
            if (!text_.empty() && text_.back() != L' ') {
                text_ += L' ';
            }
            return;
        }
        text_ += c;
    }
    void Flush()
    {
        while (!text_.empty() && text_.back() == L' ') {
            text_.pop_back();
        }
        if (!text_.empty()) {
            blocks_.push_back({kind_, text_});
        }
        text_.clear();
    }
    void Start(BlockKind kind)
    {
        Flush();
        kind_ = kind;
    }
    std::vector<HelpBlock> Take()
    {
        Flush();
        return std::move(blocks_);
    }

private:
    std::vector<HelpBlock> blocks_;
    std::wstring text_;
    BlockKind kind_ = BlockKind::Paragraph;
};

}  // namespace

bool HelpDocument::FindTopic(const std::wstring& html, const std::wstring& anchor,
                             size_t& begin, size_t& end)
{
    // One pass: the anchor, then the end of its topic. The last tag read with
    // only white space after it is kept, for a heading around an anchor.
    HtmlTag tag;
    HtmlTag previous;
    bool previousAdjoins = false;
    bool found = false;
    size_t at = 0;
    while (at < html.size()) {
        wchar_t c = html[at];
        if (c != L'<' || !ReadHtmlTag(html, at, tag)) {
            if (!iswspace(c)) {
                previousAdjoins = false;
            }
            ++at;
            continue;
        }
        at = tag.end;
        if (!found) {
            const std::wstring* name = tag.name == L"a" ? tag.Attribute(L"name") : nullptr;
            const std::wstring* id = tag.Attribute(L"id");
            if ((name != nullptr && *name == anchor) || (id != nullptr && *id == anchor)) {
                found = true;
                // An anchor written inside its heading starts the topic at
                // the heading.
                begin = previousAdjoins && (previous.IsHeading() || previous.name == L"p" ||
                                            previous.name == L"div")
                            ? previous.begin
                            : tag.begin;
                end = html.size();
                previousAdjoins = false;
                continue;
            }
        } else if (tag.name == L"!") {
            if (Contains(html, tag.begin, tag.end, L"PegHelp")) {
                end = tag.begin;
                return true;
            }
            continue;
        } else if (tag.IsAnchor() || tag.name == L"/body") {
            // The next topic's heading may open before its anchor.
            end = previousAdjoins && previous.IsHeading() ? previous.begin : tag.begin;
            return true;
        }
        previous = std::move(tag);
        previousAdjoins = true;
    }
    return found;
}

std::vector<HelpBlock> HelpDocument::Parse(const std::wstring& html)
{
    BlockBuilder builder;
    HtmlTag tag;
    // Set while inside an element whose content is not shown: its closing tag.
    std::wstring skipTo;
    size_t i = 0;
    while (i < html.size()) {
        wchar_t c = html[i];
        if (c == L'<' && ReadHtmlTag(html, i, tag)) {
            i = tag.end;
            const std::wstring& name = tag.name;
            if (!skipTo.empty()) {
                if (name == skipTo) {
                    skipTo.clear();
                }
            } else if (name == L"head" || name == L"script" || name == L"style" || name == L"title") {
                skipTo = L"/" + name;
            } else if (tag.IsHeading()) {
                builder.Start(name == L"h1" ? BlockKind::Title : BlockKind::Heading);
            } else if (name.size() == 3 && name[0] == L'/' && name[1] == L'h' && name[2] >= L'1' &&
                       name[2] <= L'6') {
                builder.Start(BlockKind::Paragraph);
            } else if (name == L"li") {
                builder.Start(BlockKind::ListItem);
            } else if (IsBreak(name)) {
                builder.Start(BlockKind::Paragraph);
            }
            continue;
        }
        if (!skipTo.empty()) {
            ++i;
        } else if (c == L'&') {
            std::wstring decoded;
            i = DecodeEntity(html, i, decoded);
            for (wchar_t d : decoded) {
                builder.Text(d);
            }
        } else {
            builder.Text(c);
            ++i;
        }
    }
    return builder.Take();
}

void HelpDocument::ShowMessage(const std::wstring& title, const std::wstring& text)
{
    blocks_.clear();
    blocks_.push_back({BlockKind::Title, title});
    blocks_.push_back({BlockKind::Message, text});
    found_ = false;
}

bool HelpDocument::LoadText(const std::wstring& html, const std::wstring& name,
                            const std::wstring& anchor)
{
    size_t begin = 0;
    size_t end = html.size();
    if (!anchor.empty() && !FindTopic(html, anchor, begin, end)) {
        ShowMessage(L"Topic not found",
                    L"The topic \"" + anchor + L"\" is not in the help file \"" + name + L"\".");
        return false;
    }
    blocks_ = Parse(html.substr(begin, end - begin));
    if (blocks_.empty()) {
        ShowMessage(L"No help text", L"The help file \"" + name + L"\" has no text here.");
        return false;
    }
    found_ = true;
    return true;
}

}  // namespace peghelp

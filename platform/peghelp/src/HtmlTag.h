// One tag of a help file's HTML, read where a '<' stands. Help files are
// written by hand and may hold a '<' that opens no tag ("a < b", "<<<"), so
// a '<' counts as a tag only when a letter, '/', '!' or '?' follows it and
// its '>' comes before any other '<' (quoted values included); otherwise
// the '<' is text. A scan never runs past the next '<' except in a comment,
// and every reader moves on past the tag it read, so a whole file is read in
// time that grows linearly with its length.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace peghelp {

struct HtmlTag {
    // Lower case; "/x" for a closing tag, "!" for a comment.
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> attributes;
    size_t begin = 0;  // index of the '<'
    size_t end = 0;    // index after the '>'

    // The attribute's value (name in any case), or null when absent.
    const std::wstring* Attribute(const wchar_t* wanted) const;
    bool IsHeading() const;
    bool IsAnchor() const;
};

// Reads the tag at html[at] == '<' into tag; false when that '<' is text. A
// comment without its "-->" runs to the end of the text, as in a browser.
bool ReadHtmlTag(const std::wstring& html, size_t at, HtmlTag& tag);

}  // namespace peghelp

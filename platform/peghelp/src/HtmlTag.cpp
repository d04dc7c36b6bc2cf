#include "platform/peghelp/src/HtmlTag.h"

#include <cwctype>

namespace peghelp {

namespace {

bool EqualsNoCase(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != L'\0'; ++i) {
        if (towlower(a[i]) != towlower(b[i])) {
            return false;
        }
    }
    return i == a.size() && b[i] == L'\0';
}

bool OpensTag(wchar_t c)
{
    return iswalpha(c) || c == L'/' || c == L'!' || c == L'?';
}

// The value after '=' from html[i]; false when the tag ends without its '>'.
bool ReadValue(const std::wstring& html, size_t& i, std::wstring& value)
{
    wchar_t quote = L'\0';
    if (i < html.size() && (html[i] == L'"' || html[i] == L'\'')) {
        quote = html[i++];
    }
    for (; i < html.size(); ++i) {
        wchar_t c = html[i];
        if (c == L'<') {
            return false;
        }
        if (quote != L'\0' ? c == quote : (iswspace(c) || c == L'>')) {
            break;
        }
        value += c;
    }
    if (quote != L'\0') {
        if (i >= html.size()) {
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace

const std::wstring* HtmlTag::Attribute(const wchar_t* wanted) const
{
    for (const auto& attribute : attributes) {
        if (EqualsNoCase(attribute.first, wanted)) {
            return &attribute.second;
        }
    }
    return nullptr;
}

bool HtmlTag::IsHeading() const
{
    return name.size() == 2 && name[0] == L'h' && name[1] >= L'1' && name[1] <= L'6';
}

bool HtmlTag::IsAnchor() const
{
    return name == L"a" && Attribute(L"name") != nullptr;
}

bool ReadHtmlTag(const std::wstring& html, size_t at, HtmlTag& tag)
{
    tag = HtmlTag();
    tag.begin = at;
    size_t i = at + 1;
    if (i >= html.size() || !OpensTag(html[i])) {
        return false;
    }
    if (html.compare(i, 3, L"!--") == 0) {
        size_t close = html.find(L"-->", i + 3);
        tag.name = L"!";
        tag.end = close == std::wstring::npos ? html.size() : close + 3;
        return true;
    }
    while (i < html.size() && !iswspace(html[i]) && html[i] != L'>') {
        if (html[i] == L'<') {
            return false;
        }
        tag.name += static_cast<wchar_t>(towlower(html[i]));
        ++i;
    }
    while (i < html.size() && html[i] != L'>') {
        if (iswspace(html[i]) || html[i] == L'/') {
            ++i;
            continue;
        }
        std::wstring name;
        while (i < html.size() && !iswspace(html[i]) && html[i] != L'=' && html[i] != L'>') {
            if (html[i] == L'<') {
                return false;
            }
            name += html[i++];
        }
        std::wstring value;
        if (i < html.size() && html[i] == L'=') {
            ++i;
            if (!ReadValue(html, i, value)) {
                return false;
            }
        }
        if (!name.empty()) {
            tag.attributes.push_back({name, value});
        }
    }
    if (i >= html.size()) {
        return false;
    }
    tag.end = i + 1;
    if (!tag.name.empty() && tag.name.back() == L'/') {
        tag.name.pop_back();
    }
    return true;
}

}  // namespace peghelp

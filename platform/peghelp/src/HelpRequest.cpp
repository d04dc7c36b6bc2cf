#include "platform/peghelp/src/HelpRequest.h"

#include <cwctype>

namespace peghelp {

namespace {

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    while (first < text.size() && (iswspace(text[first]) || text[first] == L'"')) {
        ++first;
    }
    size_t last = text.size();
    while (last > first && (iswspace(text[last - 1]) || text[last - 1] == L'"')) {
        --last;
    }
    return text.substr(first, last - first);
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t i = 0;
    for (; prefix[i] != L'\0'; ++i) {
        if (i >= text.size() || towlower(text[i]) != towlower(prefix[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

HelpRequest HelpRequest::Parse(const wchar_t* commandLine, const std::wstring& windowsFolder)
{
    HelpRequest request;
    std::wstring text = Trim(commandLine != nullptr ? commandLine : L"");
    if (StartsWithNoCase(text, L"file:")) {
        text = Trim(text.substr(5));
    }
    size_t hash = text.find(L'#');
    if (hash != std::wstring::npos) {
        request.anchor = Trim(text.substr(hash + 1));
        text = Trim(text.substr(0, hash));
    }
    request.name = text;
    if (text.empty()) {
        return request;
    }
    bool hasDrive = text.size() >= 2 && text[1] == L':';
    if (hasDrive) {
        request.path = text;
    } else if (text[0] == L'\\' || text[0] == L'/') {
        // A device path: the device's root is C:.
        request.path = L"C:" + text;
    } else {
        request.path = windowsFolder + L"\\" + text;
    }
    return request;
}

}  // namespace peghelp

// The help document's ties to the device: reading the file and turning its
// bytes into text use the system's file and code-page calls. The rest of
// HelpDocument needs neither, so it also builds off the device.
#include "platform/peghelp/src/HelpDocument.h"

#include <windows.h>

namespace peghelp {

std::wstring HelpDocument::Decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    size_t skip = 0;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB &&
        static_cast<unsigned char>(bytes[2]) == 0xBF) {
        skip = 3;
    }
    if (bytes.size() == skip) {
        return std::wstring();
    }
    const char* data = bytes.data() + skip;
    int length = static_cast<int>(bytes.size() - skip);
    UINT codePage = CP_UTF8;
    int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, length, nullptr, 0);
    if (count <= 0) {
        codePage = 1252;
        count = MultiByteToWideChar(codePage, 0, data, length, nullptr, 0);
    }
    if (count <= 0) {
        return std::wstring();
    }
    std::wstring text(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(codePage, 0, data, length, &text[0], count);
    return text;
}

bool HelpDocument::Load(const std::wstring& path, const std::wstring& name,
                        const std::wstring& anchor)
{
    if (path.empty()) {
        ShowMessage(L"No help file", L"PegHelp shows a help file: file:NAME#TOPIC.");
        return false;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowMessage(L"Help file not found",
                    L"The help file \"" + name + L"\" could not be found.");
        return false;
    }
    LARGE_INTEGER size = {};
    std::string bytes;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
                static_cast<unsigned long long>(size.QuadPart) <= kMaxFileBytes;
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        read = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got,
                                          nullptr) &&
                                 got == bytes.size());
    }
    CloseHandle(file);
    if (!read) {
        ShowMessage(L"Help file unreadable",
                    L"The help file \"" + name + L"\" could not be read.");
        return false;
    }
    return LoadText(Decode(bytes), name, anchor);
}

}  // namespace peghelp

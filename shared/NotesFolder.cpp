#include "shared/NotesFolder.h"

#include "platform/common/Text.h"

#include <windows.h>
#include <shlobj.h>

bool ProgramNotesFolder(const wchar_t* documents, wchar_t* out, size_t count)
{
    wchar_t device[MAX_PATH] = L"";
    if (documents == nullptr) {
        if (!SHGetSpecialFolderPathW(nullptr, device, CSIDL_PERSONAL, FALSE))
            device[0] = L'\0';
        documents = device;
    }
    if (count == 0)
        return false;
    if (documents[0] == L'\0' || FormatText(out, count, L"%s\\My Jotlings", documents) < 0) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

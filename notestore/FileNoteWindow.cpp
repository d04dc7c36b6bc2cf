#include "notestore/FileNoteWindow.h"

#include "notes/NoteFile.h"
#include "notestore/NoteReports.h"
#include "notestore/NoteRequests.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "process/UserPrompt.h"

#include <wchar.h>

const wchar_t kAsideSuffix[] = L".alarm";

namespace {

const wchar_t kCaption[] = L"Jotlings";
const wchar_t kUnreadableText[] = L"This jotling could not be read. Its file is left as it is.";
const wchar_t kNoFreeNameText[] =
    L"All 1000 jotlings are in use. Delete some in the list of all jotlings, then tap ok again to keep this one.";
const wchar_t kNotSavedText[] = L"This jotling could not be saved. Tap ok to try again.";

}  // namespace

FileNoteWindow::FileNoteWindow()
{
    asidePath[0] = L'\0';
    storedPath[0] = L'\0';
}

FileNoteWindow::~FileNoteWindow() = default;

HWND FileNoteWindow::Open(HWND owner, const wchar_t* path, int openMode, HWND notify, NoteRecord* record)
{
    mode = openMode & OpenMode::ModeMask;
    notifyWindow = nullptr;
    if (mode == OpenMode::New || mode == OpenMode::Open || mode == OpenMode::Alarm ||
        mode == OpenMode::MarkExpired) {
        notifyWindow = notify;
        // The all-notes window comes forward first, so the note opens over it.
        SendMessageW(notifyWindow, kMsgNoteOpening, 0, 0);
    }
    SetFilePath(L"");
    if ((openMode == OpenMode::Open || openMode == OpenMode::Alarm) && path != nullptr)
        CloseWindowsShowingFile(path);
    SetFilePath(path);

    switch (mode) {
    case OpenMode::New: {
        HWND window = Create(owner, false, false);
        if (window != nullptr && (openMode & OpenMode::StartRecording) != 0)
            StartRecordButtonRecording();
        return window;
    }
    case OpenMode::Open:
        if (ReadForEditing(owner, path))
            Create(owner, true, false);
        return nullptr;
    case OpenMode::Alarm:
        if (!ReadForEditing(owner, path))
            return nullptr;
        SetAside(path);
        g_application->SignalChange();
        Note().expired = 1;
        if (Create(owner, true, true) != nullptr)
            StartAlarmSound();
        else if (wcscmp(asidePath, path) != 0 && RenameNoteFile(asidePath, path)) {
            asidePath[0] = L'\0';   // no window to show it in: the note goes back
            g_application->SignalChange();
        }
        return nullptr;
    case OpenMode::MarkExpired:
        if (path != nullptr && ReadWholeNoteFile(path, &Note())) {
            Note().expired = 1;
            WriteNoteFile(path, Note());
            g_application->SignalChange();
        }
        return nullptr;
    case OpenMode::LoadRecord:
        if (path != nullptr && record != nullptr)
            ReadNoteFile(path, record);
        return nullptr;
    default:
        return nullptr;
    }
}

// A note that cannot be read whole is not shown: an empty note saved back
// would replace it. The user is told each time they open it; an alarm
// tells them once, since every later check would find it due again.
bool FileNoteWindow::ReadForEditing(HWND owner, const wchar_t* path)
{
    readWhole = path != nullptr && ReadWholeNoteFile(path, &Note());
    if (readWhole)
        return true;
    if (mode == OpenMode::Alarm) {
        if (path == nullptr || NoteRequests::IsDamagedAlarm(path))
            return false;
        NoteRequests::RememberDamagedAlarm(path);
    }
    AskUser(owner, kUnreadableText, kCaption, MB_OK | MB_ICONWARNING);
    return false;
}

bool FileNoteWindow::SetAside(const wchar_t* path)
{
    asidePath[0] = L'\0';
    // The Today item holds notes open for a moment while it reads their
    // heads, most likely just now, when notes fall due: the rename waits
    // for it as a save does. An aside copy still there (a start that found
    // no name free for it) is another note, never replaced.
    if (FormatText(asidePath, MAX_PATH, L"%s%s", path, kAsideSuffix) < 0 || !RenameNoteFile(path, asidePath)) {
        // Left where it is, then: the note is still there if anything goes
        // wrong, and closing replaces it as it would the aside copy.
        CopyText(asidePath, MAX_PATH, path);
        return false;
    }
    return true;
}

bool FileNoteWindow::DropAside()
{
    bool dropped = asidePath[0] != L'\0' && DeleteNoteFile(asidePath);
    asidePath[0] = L'\0';
    return dropped;
}

// The expired note replaces its set-aside copy, and one rename makes that
// the kept note: a crash at any moment leaves exactly one whole copy, never
// the kept note beside an aside copy that the next start shows again.
bool FileNoteWindow::KeepAside(const wchar_t* target)
{
    if (!WriteNoteFile(asidePath, Note()) || !RenameNoteFile(asidePath, target))
        return false;
    asidePath[0] = L'\0';
    return true;
}

bool FileNoteWindow::StoreNote()
{
    storedPath[0] = L'\0';
    // An alarm's note with "AutoDel" is done with: nothing to keep. A note
    // the user opened is written back, expired or not.
    if (mode == OpenMode::Alarm && Note().expired == 1 && g_application->AutoDel())
        return true;
    wchar_t target[MAX_PATH];
    if (mode == OpenMode::Open) {
        CopyText(target, MAX_PATH, FilePath());
    } else if (!NewNoteFileName(g_application->NotesFolder(), g_application->NoteExtension(), target, MAX_PATH)) {
        AskUser(Window(), kNoFreeNameText, kCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    bool kept = mode == OpenMode::Alarm && asidePath[0] != L'\0' ? KeepAside(target) : WriteNoteFile(target, Note());
    if (!kept) {
        AskUser(Window(), kNotSavedText, kCaption, MB_OK | MB_ICONWARNING);
        return false;
    }
    CopyText(storedPath, MAX_PATH, target);
    return true;
}

void FileNoteWindow::OnClose(bool save)
{
    StopAlarmSound();
    // With "AutoDel" the alarm's note goes here, and the Today item must
    // hear of it: it would keep the note as pending, its timed run spent.
    bool dropped = mode == OpenMode::Alarm && DropAside();
    if (save && storedPath[0] != L'\0') {
        ReportNoteSaved(notifyWindow, storedPath, mode != OpenMode::Open);
        g_application->SignalChange();
    } else if (!save && mode == OpenMode::Open && readWhole && WriteNoteFile(FilePath(), Note())) {
        // An opened note is always written back, so the list takes it again.
        ReportNoteSaved(notifyWindow, FilePath(), false);
        g_application->SignalChange();
    } else if (dropped) {
        g_application->SignalChange();
    }
    PostMessageW(notifyWindow, kMsgNoteClosed, 0, 0);
}

int FileNoteWindow::RestoreNotesLeftAside(const wchar_t* folder, const wchar_t* extension)
{
    // A save the same death cut short would otherwise stay for good, as
    // large as its note, until that name is saved again.
    DropUnfinishedSaves(folder);
    wchar_t ending[MAX_PATH];
    if (FormatText(ending, MAX_PATH, L"%s%s", extension, kAsideSuffix) < 0)
        return 0;
    int restored = 0;
    size_t suffixLength = wcslen(kAsideSuffix);
    ForEachFileEndingIn(folder, ending, [&](const wchar_t* aside, const WIN32_FIND_DATAW& found) {
        if (wcslen(found.cFileName) <= suffixLength)
            return;
        wchar_t target[MAX_PATH];
        CopyText(target, MAX_PATH, aside);
        target[wcslen(aside) - suffixLength] = L'\0';
        if (GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES &&
            !NewNoteFileName(folder, extension, target, MAX_PATH))
            return;   // no name free: it stays aside, whole, for a later start
        if (MoveFileExW(aside, target, MOVEFILE_WRITE_THROUGH))
            ++restored;
    });
    return restored;
}

#include "notes/NoteFile.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

void SetData(NoteRecord* record, const std::string& bytes)
{
    BYTE* block = AllocateNoteData(DWORD(bytes.size()));
    memcpy(block, bytes.data(), bytes.size());
    record->TakeData(block, DWORD(bytes.size()));
}

std::string DataOf(const NoteRecord& record)
{
    return std::string(reinterpret_cast<const char*>(record.data), record.dataLength);
}

unsigned U16At(const std::string& b, size_t at) { return BYTE(b[at]) | BYTE(b[at + 1]) << 8; }
unsigned U32At(const std::string& b, size_t at) { return U16At(b, at) | U16At(b, at + 2) << 16; }

// A file as the layout says it is, built by hand.
std::string HandMadeFile(const wchar_t* title, BYTE expired, DWORD zoom, const std::string& data,
                         DWORD declaredLength)
{
    std::string bytes(535, '\0');
    const WORD time[8] = {2002, 8, 6, 3, 9, 5, 0, 0};
    for (int i = 0; i < 8; ++i) {
        bytes[2 * i] = char(time[i]);
        bytes[2 * i + 1] = char(time[i] >> 8);
    }
    for (size_t i = 0; title[i] != 0 && i < 255; ++i) {
        bytes[16 + 2 * i] = char(title[i]);
        bytes[16 + 2 * i + 1] = char(title[i] >> 8);
    }
    bytes[526] = char(expired);
    for (int i = 0; i < 4; ++i) {
        bytes[527 + i] = char(zoom >> (8 * i));
        bytes[531 + i] = char(declaredLength >> (8 * i));
    }
    return bytes + data;
}

}  // namespace

TEST(NoteFileTest, LaysOutEveryFieldAtItsOffset)
{
    TempFolder folder;
    NoteRecord record;
    wcscpy(record.title, L"Milk");
    record.expiry = Time(2002, 8, 3, 9, 5);
    record.expiry.wSecond = 7;
    record.expired = 1;
    record.zoom = 150;
    SetData(&record, "ink!");

    std::wstring path = folder.File(L"Jotling0.jot");
    ASSERT_TRUE(WriteNoteFile(path.c_str(), record));
    std::string b = ReadBytes(path);

    ASSERT_EQ(b.size(), 535u + 4);
    EXPECT_EQ(U16At(b, 0), 2002u);
    EXPECT_EQ(U16At(b, 2), 8u);
    EXPECT_EQ(U16At(b, 6), 3u);
    EXPECT_EQ(U16At(b, 8), 9u);
    EXPECT_EQ(U16At(b, 10), 5u);
    EXPECT_EQ(U16At(b, 12), 7u);
    EXPECT_EQ(U16At(b, 16), unsigned('M'));
    EXPECT_EQ(U16At(b, 22), unsigned('k'));
    EXPECT_EQ(U16At(b, 24), 0u);
    // The title's unused units are zeros, so nothing of an earlier title leaks.
    EXPECT_EQ(b.substr(24, 510 - 8), std::string(510 - 8, '\0'));
    EXPECT_EQ(BYTE(b[526]), 1);
    EXPECT_EQ(U32At(b, 527), 150u);
    EXPECT_EQ(U32At(b, 531), 4u);
    EXPECT_EQ(b.substr(535), "ink!");
}

TEST(NoteFileTest, NoteWithoutInkIsExactlyTheHeaderAndNeverExpiringIsHour25)
{
    TempFolder folder;
    NoteRecord record;
    wcscpy(record.title, L"Call Anna");
    record.expiry.wHour = 25;
    std::wstring path = folder.File(L"Jotling0.jot");
    ASSERT_TRUE(WriteNoteFile(path.c_str(), record));
    std::string b = ReadBytes(path);
    ASSERT_EQ(b.size(), 535u);
    EXPECT_EQ(BYTE(b[8]), 0x19);
    EXPECT_EQ(BYTE(b[9]), 0x00);
    EXPECT_EQ(U32At(b, 531), 0u);
}

TEST(NoteFileTest, RoundTripsEveryFieldAndTheHeadReadsTheSame)
{
    TempFolder folder;
    NoteRecord written;
    wcscpy(written.title, L"Zahnarzt \x00e4\x00f6\x00fc \x20ac");
    written.expiry = Time(2026, 12, 31, 23, 50);
    written.expired = 1;
    written.zoom = 75;
    std::string data(70000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i * 31 + 7);
    SetData(&written, data);
    std::wstring path = folder.File(L"Jotling3.jot");
    ASSERT_TRUE(WriteNoteFile(path.c_str(), written));

    NoteRecord read;
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &read));
    EXPECT_STREQ(read.title, written.title);
    EXPECT_EQ(memcmp(&read.expiry, &written.expiry, sizeof(SYSTEMTIME)), 0);
    EXPECT_EQ(read.expired, 1);
    EXPECT_EQ(read.zoom, 75u);
    EXPECT_EQ(DataOf(read), data);

    NoteHead head;
    ASSERT_TRUE(ReadNoteHead(path.c_str(), &head));
    EXPECT_STREQ(head.title, written.title);
    EXPECT_EQ(head.expired, 1);
    EXPECT_EQ(head.expiry.wMinute, 50);
    written.ClearData();
    read.ClearData();
}

TEST(NoteFileTest, MissingFileDropsTheDataAndKeepsTheRest)
{
    TempFolder folder;
    NoteRecord record;
    wcscpy(record.title, L"kept");
    record.expiry = Time(2020, 1, 2, 3, 4);
    SetData(&record, "old data");
    EXPECT_FALSE(ReadNoteFile(folder.File(L"Jotling9.jot").c_str(), &record));
    EXPECT_EQ(record.dataLength, 0u);
    EXPECT_EQ(record.data, nullptr);
    EXPECT_STREQ(record.title, L"kept");
    EXPECT_EQ(record.expiry.wMinute, 4);
    NoteHead head;
    EXPECT_FALSE(ReadNoteHead(folder.File(L"Jotling9.jot").c_str(), &head));
}

TEST(NoteFileTest, DamagedFilesNeverYieldMoreThanTheyHold)
{
    TempFolder folder;
    std::wstring path = folder.File(L"Jotling0.jot");

    // A data length far beyond the end of the file: the data is what the
    // file has, not what it claims.
    WriteBytes(path, HandMadeFile(L"Claims a lot", 0, 100, "abc", 0x7FFFFFF0));
    NoteRecord record;
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_STREQ(record.title, L"Claims a lot");
    EXPECT_EQ(DataOf(record), "abc");

    // A title that fills all 255 units without a terminator ends terminated.
    std::wstring longTitle(255, L'x');
    WriteBytes(path, HandMadeFile(longTitle.c_str(), 0, 100, "", 0));
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_EQ(wcslen(record.title), 254u);
    NoteHead head;
    ASSERT_TRUE(ReadNoteHead(path.c_str(), &head));
    EXPECT_EQ(wcslen(head.title), 254u);

    // Cut inside the title: the part that is there, terminated, no data.
    std::string cut = HandMadeFile(L"Truncated title", 1, 100, "", 0).substr(0, 16 + 10);
    WriteBytes(path, cut);
    SetData(&record, "previous");
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_STREQ(record.title, L"Trunc");
    EXPECT_EQ(record.dataLength, 0u);
    // Too short for a head: such a file is not listed, and is no busy file
    // to wait for whatever error an earlier call left.
    SetLastError(ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(ReadNoteHead(path.c_str(), &head));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_HANDLE_EOF));

    // Cut inside the length field: no data at all.
    WriteBytes(path, HandMadeFile(L"t", 0, 100, "", 5).substr(0, 533));
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_EQ(record.dataLength, 0u);
    EXPECT_TRUE(ReadNoteHead(path.c_str(), &head));

    // An empty file.
    WriteBytes(path, "");
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_EQ(record.dataLength, 0u);
    EXPECT_FALSE(ReadNoteHead(path.c_str(), &head));
}

TEST(NoteFileTest, AFileCutInsideItsTitleHasNoExpiredFlag)
{
    TempFolder folder;
    std::wstring path = folder.File(L"Jotling0.jot");
    // Five whole units and one byte of the sixth: that byte is the title's,
    // not a flag that would show the note as expired.
    WriteBytes(path, HandMadeFile(L"Truncated title", 0, 100, "", 0).substr(0, 16 + 11));
    NoteRecord record;
    ASSERT_TRUE(ReadNoteFile(path.c_str(), &record));
    EXPECT_STREQ(record.title, L"Trunc");
    EXPECT_EQ(record.expired, 0);
    EXPECT_EQ(record.zoom, kDefaultNoteZoom);
}

TEST(NoteFileTest, NewNamesTakeTheLowestFreeNumberWithoutLeadingZeros)
{
    TempFolder folder;
    wchar_t name[MAX_PATH];
    ASSERT_TRUE(NewNoteFileName(folder.Path(), L".jot", name, MAX_PATH));
    EXPECT_EQ(std::wstring(name), folder.File(L"Jotling0.jot"));

    WriteBytes(folder.File(L"Jotling0.jot"), "x");
    WriteBytes(folder.File(L"Jotling2.jot"), "x");
    ASSERT_TRUE(NewNoteFileName(folder.Path(), L".jot", name, MAX_PATH));
    EXPECT_EQ(std::wstring(name), folder.File(L"Jotling1.jot"));

    for (int n = 0; n < 10; ++n)
        WriteBytes(folder.File(L"Jotling" + std::to_wstring(n) + L".jot"), "x");
    ASSERT_TRUE(NewNoteFileName(folder.Path(), L".jot", name, MAX_PATH));
    EXPECT_EQ(std::wstring(name), folder.File(L"Jotling10.jot"));
}

TEST(NoteFileTest, FullFolderGivesNoNameAndNothingIsOverwritten)
{
    TempFolder folder;
    for (int n = 0; n < 1000; ++n)
        WriteBytes(folder.File(L"Jotling" + std::to_wstring(n) + L".jot"), "keep");
    wchar_t name[MAX_PATH] = L"garbage";
    EXPECT_FALSE(NewNoteFileName(folder.Path(), L".jot", name, MAX_PATH));
    EXPECT_STREQ(name, L"");
    EXPECT_EQ(ReadBytes(folder.File(L"Jotling999.jot")), "keep");
}

TEST(NoteFileTest, SaveThatCannotFinishLeavesTheOldNoteWhole)
{
    TempFolder folder;
    std::wstring path = folder.File(L"Jotling0.jot");
    NoteRecord old;
    wcscpy(old.title, L"old");
    SetData(&old, "old ink");
    ASSERT_TRUE(WriteNoteFile(path.c_str(), old));
    std::string before = ReadBytes(path);

    // What a save killed half-way leaves: a partial file beside the note.
    // It is not a note (the name does not end in .jot) and the next save
    // simply replaces it.
    WriteBytes(path + L".saving", before.substr(0, 100));
    EXPECT_EQ(ReadBytes(path), before);
    NoteHead head;
    ASSERT_TRUE(ReadNoteHead(path.c_str(), &head));
    EXPECT_STREQ(head.title, L"old");

    // While another process holds the note exclusively for longer than a
    // save waits, the save fails, says so, and the old note stays.
    DWORD savedRetry = g_noteFileBusyRetryMs;
    g_noteFileBusyRetryMs = 200;
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    NoteRecord changed;
    wcscpy(changed.title, L"new");
    EXPECT_FALSE(WriteNoteFile(path.c_str(), changed));
    CloseHandle(held);
    g_noteFileBusyRetryMs = savedRetry;
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(FileExists(path + L".saving"));
    old.ClearData();
}

namespace {
struct HoldArgs {
    std::wstring path;
    DWORD ms;
    HANDLE holding;   // set once the file is held
};
DWORD WINAPI HoldBriefly(void* param)
{
    HoldArgs* args = static_cast<HoldArgs*>(param);
    HANDLE held = CreateFileW(args->path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetEvent(args->holding);
    Sleep(args->ms);
    CloseHandle(held);
    return 0;
}
}  // namespace

// The Today item opens note files exclusively for a moment while it reads
// their heads: the program's saves, head reads and deletes wait for it.
TEST(NoteFileTest, SaveHeadReadAndDeleteWaitForAReaderThatHoldsTheNoteBriefly)
{
    TempFolder folder;
    std::wstring path = folder.File(L"Jotling0.jot");
    NoteRecord record;
    wcscpy(record.title, L"first");
    ASSERT_TRUE(WriteNoteFile(path.c_str(), record));

    HoldArgs args = {path, 300, CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    // Returns once the other side really holds the file: a poll of the
    // file could miss a hold that began late on a busy machine.
    auto holdBriefly = [&] {
        HANDLE thread = CreateThread(nullptr, 0, HoldBriefly, &args, 0, nullptr);
        WaitForSingleObject(args.holding, 5000);
        return thread;
    };
    auto done = [](HANDLE thread) {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    };

    HANDLE holder = holdBriefly();
    wcscpy(record.title, L"second");
    EXPECT_TRUE(WriteNoteFile(path.c_str(), record));
    done(holder);

    holder = holdBriefly();
    NoteHead head;
    EXPECT_FALSE(ReadNoteHead(path.c_str(), &head)) << "the Today item's own read does not wait";
    EXPECT_TRUE(ReadNoteHeadWaiting(path.c_str(), &head));
    EXPECT_STREQ(head.title, L"second");
    done(holder);

    holder = holdBriefly();
    EXPECT_TRUE(DeleteNoteFile(path.c_str()));
    EXPECT_FALSE(FileExists(path));
    done(holder);
    EXPECT_TRUE(DeleteNoteFile(path.c_str())) << "a note already gone counts as deleted";
    CloseHandle(args.holding);
}

namespace {
const wchar_t kKillPathVariable[] = L"JOTLINGS_KILL_TEST_NOTE";
const DWORD kKillNoteSize = 4 * 1024 * 1024;

// Every note of the kill test carries data that says which save wrote it.
void FillKillNote(NoteRecord* record, int generation)
{
    wsprintfW(record->title, L"generation %d", generation);
    BYTE* block = AllocateNoteData(kKillNoteSize);
    memset(block, generation & 0xFF, kKillNoteSize);
    record->TakeData(block, kKillNoteSize);
}
}  // namespace

// Run only as the child of the test below: saves one note over and over.
TEST(NoteFileTest, DISABLED_SavesUntilKilled)
{
    wchar_t path[MAX_PATH];
    ASSERT_NE(GetEnvironmentVariableW(kKillPathVariable, path, MAX_PATH), 0u);
    NoteRecord record;
    for (int generation = 1;; ++generation) {
        FillKillNote(&record, generation);
        WriteNoteFile(path, record);
    }
}

TEST(NoteFileTest, SaveKilledHalfWayLeavesOneWholeNote)
{
    TempFolder folder;
    std::wstring path = folder.File(L"Jotling0.jot");
    NoteRecord record;
    FillKillNote(&record, 0);
    ASSERT_TRUE(WriteNoteFile(path.c_str(), record));
    record.ClearData();

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SetEnvironmentVariableW(kKillPathVariable, path.c_str());

    // A child saves the note over and over and is killed at a different
    // moment of a save each round.
    for (int round = 0; round < 6; ++round) {
        std::wstring command = L"\"" + std::wstring(self) +
                               L"\" --gtest_also_run_disabled_tests --gtest_filter=NoteFileTest.DISABLED_SavesUntilKilled";
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION child = {};
        ASSERT_TRUE(
            CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
        for (int i = 0; i < 2500 && !FileExists(path + L".saving"); ++i)
            Sleep(2);
        Sleep(round * 7);
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 10000);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);

        NoteRecord read;
        ASSERT_TRUE(ReadNoteFile(path.c_str(), &read))
            << "round " << round << ": note " << (FileExists(path) ? "there" : "missing");
        int generation = -1;
        ASSERT_EQ(swscanf(read.title, L"generation %d", &generation), 1);
        ASSERT_EQ(read.dataLength, kKillNoteSize) << "a save was cut short";
        for (DWORD i = 0; i < read.dataLength; i += 4096)
            ASSERT_EQ(read.data[i], BYTE(generation & 0xFF)) << "the note mixes two saves";
        read.ClearData();
    }
}

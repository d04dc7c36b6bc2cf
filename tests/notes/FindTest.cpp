// Find's data side: which notes a typed query finds (case, accents and the
// letters read as others ignored, every word needed, title and text
// together), where the words stand in a text, and the kept texts read from
// note files, damaged ones included.
#include "notes/FindFolding.h"
#include "notes/FindQuery.h"
#include "notes/NoteEntry.h"
#include "notes/NoteFile.h"
#include "notes/NoteTextCache.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNotes.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool Finds(const wchar_t* typed, const wchar_t* title, const wchar_t* text)
{
    return FindQuery(typed).Matches(FoldForFind(title), FoldForFind(text));
}

TEST(FindQueryTest, FindsEveryWordInTitleOrTextIgnoringCaseAndAccents)
{
    struct Case {
        const wchar_t* typed;
        const wchar_t* title;
        const wchar_t* text;
        bool found;
    } cases[] = {
        {L"DENTIST", L"Call the dentist", L"", true},
        {L"dent", L"", L"the Dentist's number", true},            // inside a longer word
        {L"dentist tuesday", L"Dentist", L"on Tuesday at ten", true},  // one word each
        {L"tuesday   dentist", L"Dentist", L"on Tuesday at ten", true},
        {L"dentist friday", L"Dentist", L"on Tuesday at ten", false},
        {L"zahnarzte", L"Zahn\u00e4rzte", L"", true},
        {L"ZAHN\u00c4RZTE", L"", L"drei zahnarzte", true},
        {L"cafe", L"", L"un caf\u00e9 cr\u00e8me", true},
        {L"strasse", L"Hauptstra\u00dfe 3", L"", true},
        {L"\u00e6ble", L"", L"AEBLER", true},
        {L"\u0142odz", L"", L"bus to Lodz", true},
        {L"file", L"", L"\ufb01le away", true},                   // a ligature
        {L"\u043f\u0440\u0438\u0432\u0435\u0442", L"\u041f\u0420\u0418\u0412\u0415\u0422", L"", true},
        {L"\u03b1\u03b8\u03b7\u03bd\u03b1", L"", L"\u0391\u03b8\u03ae\u03bd\u03b1", true},
        {L"\u03bb\u03cc\u03b3\u03bf\u03c2", L"\u039b\u039f\u0393\u039f\u03a3", L"", true},   // final sigma
        {L"dentist", L"", L"\U0001D403\U0001D41E\U0001D427\U0001D42D\U0001D422\U0001D42C\U0001D42D", true},
        {L"\U00010428", L"\U00010400", L"", true},   // Deseret's cases
        {L"dentist", L"denist", L"dentis t", false},
        {L"e", L"", L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, Finds(c.typed, c.title, c.text)) << c.typed;
    EXPECT_TRUE(FindQuery(L"  \t ").Empty());
    EXPECT_TRUE(FindQuery(L"\u0301").Empty()) << "a mark alone is no word";
    EXPECT_TRUE(FindQuery(L"\u00b4 \u00a8\u02dc").Empty()) << "nor are spacing accents";
    EXPECT_EQ(2u, FindQuery(L"a b a").Words().size());
}

// The same letters are one letter to find as to the system's comparison
// that ignores case and marks.
TEST(FindQueryTest, FoldingAgreesWithTheSystemsComparison)
{
    const wchar_t* words[] = {
        L"Zahn\u00e4rzte", L"ZAHNARZTE", L"caf\u00e9", L"CAFE", L"Stra\u00dfe", L"STRASSE", L"\u00c6r\u00f8",
        L"aero", L"\u0141\u00f3d\u017a", L"lodz", L"\u00de\u00f3r", L"thor", L"na\u00efve", L"NAIVE",
        L"\u00c5ngstr\u00f6m", L"angstrom", L"\ufb01ne", L"fine", L"r\u00e9sum\u00e9", L"resume",
        L"\u00d8rsted", L"orsted", L"dentist", L"dentists", L"gross", L"gro\u00df", L"\u0391\u0398\u0397\u039d\u0391",
        L"\u03b1\u03b8\u03ae\u03bd\u03b1", L"\u041f\u0440\u0438\u0432\u0435\u0442", L"\u043f\u0440\u0438\u0432\u0435\u0442",
        L"\u0111\u00f0", L"dd", L"\u0127\u0131", L"hi", L"\u0153uf", L"oeuf"};
    for (const wchar_t* a : words) {
        for (const wchar_t* b : words) {
            bool system = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNORENONSPACE, a, -1, b, -1) ==
                          CSTR_EQUAL;
            EXPECT_EQ(system, FoldForFind(a) == FoldForFind(b)) << "'" << a << "' and '" << b << "'";
        }
    }
}

// The list reads only the notes a query can change: what a narrower query
// finds, the wider finds too.
TEST(FindQueryTest, AQueryIsWithinAnotherOnlyWhenEachOfItsWordsHoldsOneOfTheOthers)
{
    auto within = [](const wchar_t* a, const wchar_t* b) { return FindQuery(a).Within(FindQuery(b)); };
    EXPECT_TRUE(within(L"dent", L"d"));
    EXPECT_TRUE(within(L"dentist tue", L"dent"));
    EXPECT_TRUE(within(L"Zahn\u00e4rzte", L"ZAHNA"));   // folded first
    EXPECT_TRUE(within(L"dentist", L""));
    EXPECT_TRUE(within(L"", L""));
    EXPECT_FALSE(within(L"", L"d"));
    EXPECT_FALSE(within(L"dent", L"dentist"));
    EXPECT_FALSE(within(L"dentist", L"dentist tue"));
    EXPECT_FALSE(within(L"ten", L"tent"));
}

TEST(FindQueryTest, SpansMarkTheWordsWhereTheyStandInTheText)
{
    std::wstring text = L"Zahn\u00e4rzte: the dentist, DENTIST and Stra\u00dfe";
    std::vector<TextSpan> spans = FindQuery(L"dentist zahnarzte strasse dent").SpansIn(text);
    ASSERT_EQ(4u, spans.size());
    EXPECT_EQ(0u, spans[0].start);
    EXPECT_EQ(9u, spans[0].length);
    EXPECT_EQ(text.find(L"dentist"), spans[1].start);
    EXPECT_EQ(7u, spans[1].length) << "dent and dentist overlap: one span";
    EXPECT_EQ(text.find(L"DENTIST"), spans[2].start);
    EXPECT_EQ(text.find(L"Stra"), spans[3].start);
    EXPECT_EQ(6u, spans[3].length) << "the sharp s is one unit of the text";
    EXPECT_TRUE(FindQuery(L"absent").SpansIn(text).empty());

    // A decomposed accent belongs to its letter's span.
    std::wstring decomposed = L"cafe\u0301 noir";
    spans = FindQuery(L"caf\u00e9").SpansIn(decomposed);
    ASSERT_EQ(1u, spans.size());
    EXPECT_EQ(4u, spans[0].length);
}

class NoteTextCacheTest : public ::testing::Test {
protected:
    void SetUp() override { cache.SetFolder(folder.Path(), L".jot"); }

    std::wstring AddNote(const wchar_t* name, const wchar_t* title, const std::wstring& text,
                         size_t recordingBytes = 0)
    {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(WriteTestNote(path, title, NeverExpiring(), 0, InkWithText(text, recordingBytes)));
        return path;
    }

    TempFolder folder;
    NoteTextCache cache;
};

TEST_F(NoteTextCacheTest, KeepsEachTextUntilItsNoteIsSavedOrChanged)
{
    std::wstring voice = AddNote(L"Jotling0.jot", L"Voice", L"Dentist on Tuesday", 600000);
    // The list asks by its entry, which keeps where the text is: what it
    // keeps must go whenever the text does.
    NoteEntry listed = {};
    listed.path = voice;
    listed.title = L"Voice";
    auto textOf = [&](NoteTextCache& texts) { return texts.Get(listed).text; };
    EXPECT_EQ(L"Dentist on Tuesday", textOf(cache));
    EXPECT_EQ(L"dentist on tuesday", cache.Get(voice).folded);
    EXPECT_EQ(L"voice", cache.Get(listed).foldedTitle);

    // Written behind the cache's back: kept as read until the folder's
    // listing says otherwise.
    Sleep(20);
    AddNote(L"Jotling0.jot", L"Voice", L"Moved to Friday", 600000);
    EXPECT_EQ(L"Dentist on Tuesday", textOf(cache));
    cache.Revalidate();
    EXPECT_EQ(L"Moved to Friday", textOf(cache));

    // Replaced by a file of the same time, as a card's 2 s clock or a
    // restore leaves it: its size tells.
    FILETIME before = {};
    HANDLE file = CreateFileW(voice.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &before);
    CloseHandle(file);
    AddNote(L"Jotling0.jot", L"Voice", L"Moved to Saturday at nine", 600000);
    file = CreateFileW(voice.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &before));
    CloseHandle(file);
    cache.Revalidate();
    EXPECT_EQ(L"Moved to Saturday at nine", textOf(cache));

    // The program's own save says so at once.
    AddNote(L"Jotling0.jot", L"Voice", L"Cancelled", 600000);
    cache.Forget(voice);
    EXPECT_EQ(L"Cancelled", textOf(cache));

    // Held open for a moment by another reader, as the Today item does:
    // waited for, as the program's other reads wait.
    cache.Forget(voice);
    HANDLE held = CreateFileW(voice.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE release = CreateThread(nullptr, 0, [](void* handle) -> DWORD {
        Sleep(200);
        CloseHandle(handle);
        return 0;
    }, held, 0, nullptr);
    EXPECT_EQ(L"Cancelled", textOf(cache));
    WaitForSingleObject(release, INFINITE);
    CloseHandle(release);
    // Held for longer than a read waits: not kept, and read the next time.
    g_noteFileBusyRetryMs = 100;
    cache.Forget(voice);
    held = CreateFileW(voice.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(L"", textOf(cache));
    EXPECT_FALSE(cache.Holds(voice));
    CloseHandle(held);
    g_noteFileBusyRetryMs = 2000;
    EXPECT_EQ(L"Cancelled", textOf(cache));

    // Another cache reads for itself, whatever the entry kept from this one.
    AddNote(L"Jotling0.jot", L"Voice", L"Postponed", 600000);
    NoteTextCache other;
    EXPECT_EQ(L"Postponed", textOf(other));
    EXPECT_EQ(L"Cancelled", textOf(cache));

    ASSERT_TRUE(DeleteFileW(voice.c_str()));
    cache.Revalidate();
    EXPECT_FALSE(cache.Holds(voice));
    EXPECT_EQ(L"", textOf(cache));
}

TEST_F(NoteTextCacheTest, DamagedNotesGiveWhatCouldBeRead)
{
    // Cut inside its end mark: the text before it is whole.
    std::wstring cutAtEnd = AddNote(L"Jotling0.jot", L"Cut at the end", L"pick up the parcel", 3000);
    WIN32_FILE_ATTRIBUTE_DATA size;
    ASSERT_TRUE(GetFileAttributesExW(cutAtEnd.c_str(), GetFileExInfoStandard, &size));
    CutFile(cutAtEnd, size.nFileSizeLow - 4);
    // Cut inside its recording: no text to read, the title still finds it.
    std::wstring cutInRecording = AddNote(L"Jotling1.jot", L"Parcel voice memo", L"parcel at the post", 3000);
    CutFile(cutInRecording, kNoteFileHeaderSize + 1000);
    // Shorter than a head.
    std::wstring stub = folder.File(L"Jotling2.jot");
    WriteBytes(stub, std::string(100, 'x'));

    EXPECT_EQ(L"pick up the parcel", cache.Get(cutAtEnd).text);
    EXPECT_EQ(L"", cache.Get(cutInRecording).text);
    EXPECT_TRUE(FindQuery(L"parcel").Matches(FoldForFind(L"Parcel voice memo"), cache.Get(cutInRecording).folded));
    EXPECT_EQ(L"", cache.Get(stub).text);
    EXPECT_TRUE(cache.Holds(stub)) << "read, with nothing in it";
}

}  // namespace

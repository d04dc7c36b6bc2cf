#include "notestore/NoteStore.h"

#include "formats/HeadCache.h"
#include "notes/NoteFile.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNotes.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class NoteStoreTest : public ::testing::Test {
protected:
    // Writes a note; hour 25 never expires. The device's file system
    // gives a file the time of its last write as its creation time, and it
    // cannot be set, so tests order creation by writing in order.
    std::wstring AddNote(const wchar_t* name, const wchar_t* title, WORD day, WORD hour, BYTE expired = 0)
    {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(WriteTestNote(path, title, Time(2026, 12, day, hour, 0), expired));
        Sleep(15);
        return path;
    }

    static std::vector<std::wstring> Titles(NoteStore& store)
    {
        std::vector<std::wstring> titles;
        for (NoteEntry* e = store.FirstEntry(); e != nullptr; e = e->next)
            titles.push_back(e->title);
        // The last pointer must agree with the chain.
        if (!titles.empty()) {
            EXPECT_EQ(store.LastEntry()->next, nullptr);
        }
        return titles;
    }

    typedef std::vector<std::wstring> Names;
    TempFolder folder;
};

}  // namespace

TEST_F(NoteStoreTest, LoadsEveryNoteFileAndNothingElse)
{
    AddNote(L"Jotling0.jot", L"a", 1, 10);
    AddNote(L"Other name.jot", L"b", 2, 10);
    WriteBytes(folder.File(L"Jotling1.jot"), std::string(100, 'x'));     // too short for a head
    WriteBytes(folder.File(L"Jotling2.jot.saving"), std::string(600, 0)); // an unfinished save
    WriteBytes(folder.File(L"readme.txt"), std::string(600, 0));

    NoteStore store(folder.Path(), L".jot");
    Names titles = Titles(store);
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (Names{L"a", L"b"}));
    NoteEntry* a = store.FindEntry(folder.File(L"Jotling0.jot").c_str());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->expiry.wDay, 1);
}

TEST_F(NoteStoreTest, RemovingEntriesKeepsTheListLinkedAndLeavesFilesAlone)
{
    std::wstring p0 = AddNote(L"Jotling0.jot", L"first", 1, 10);
    NoteStore store(folder.Path(), L".jot");
    store.ClearEntries();
    store.LoadEntry(p0.c_str());
    std::wstring p1 = AddNote(L"Jotling1.jot", L"second", 1, 10);
    std::wstring p2 = AddNote(L"Jotling2.jot", L"third", 1, 10);
    store.LoadEntry(p1.c_str());
    NoteEntry* third = store.LoadEntry(p2.c_str());
    EXPECT_EQ(store.LoadEntry(folder.File(L"Jotling7.jot").c_str()), nullptr);

    // Paths compare exactly: a different letter case is another path.
    std::wstring shouted = p1;
    shouted.replace(shouted.size() - 4, 4, L".JOT");
    EXPECT_EQ(store.RemoveEntryByPath(shouted.c_str()), -1);
    EXPECT_EQ(store.RemoveEntryByPath(p1.c_str()), 1);
    EXPECT_EQ(Titles(store), (Names{L"first", L"third"}));

    // Removing the last entry moves the last pointer back.
    EXPECT_EQ(store.RemoveEntry(third), nullptr);
    EXPECT_EQ(store.LastEntry(), store.FirstEntry());
    // An entry not in the list gives the first entry and changes nothing.
    NoteEntry stranger = {};
    EXPECT_EQ(store.RemoveEntry(&stranger), store.FirstEntry());
    // Removing the first returns the new first.
    EXPECT_EQ(store.RemoveEntry(store.FirstEntry()), nullptr);
    EXPECT_EQ(store.FirstEntry(), nullptr);
    EXPECT_EQ(store.LastEntry(), nullptr);
    EXPECT_TRUE(FileExists(p0));
    EXPECT_TRUE(FileExists(p1));
}

TEST_F(NoteStoreTest, SortRequestsToggleAndKeepTheirRule)
{
    AddNote(L"Jotling0.jot", L"b", 3, 10);
    AddNote(L"Jotling1.jot", L"c", 1, 10);
    AddNote(L"Jotling2.jot", L"a", 2, 10);
    NoteStore store(folder.Path(), L".jot");
    EXPECT_EQ(store.SortColumn(), -1);

    store.SortByColumn(kSortByTime);
    EXPECT_EQ(Titles(store), (Names{L"c", L"a", L"b"}));
    store.SortByColumn(kSortByTime);
    EXPECT_EQ(Titles(store), (Names{L"b", L"a", L"c"}));
    EXPECT_EQ(store.SortDescending(), 1);
    store.SortByColumn(kSortByTitle);
    EXPECT_EQ(Titles(store), (Names{L"a", L"b", L"c"}));
    EXPECT_EQ(store.SortDescending(), 0);
    store.SortByColumn(kSortByTitle);
    EXPECT_EQ(Titles(store), (Names{L"c", L"b", L"a"}));
    // Reapplying keeps the rule, also after a note comes back at the end.
    store.OnNoteSaved(folder.File(L"Jotling2.jot").c_str(), false);
    EXPECT_EQ(Titles(store), (Names{L"c", L"b", L"a"}));
    store.SortByColumn(kSortDefault);
    EXPECT_EQ(Titles(store), (Names{L"c", L"a", L"b"}));
}

TEST_F(NoteStoreTest, ReapplyOnAnUnsortedListSortsByTimeAscending)
{
    AddNote(L"Jotling0.jot", L"late", 9, 10);
    AddNote(L"Jotling1.jot", L"early", 1, 10);
    NoteStore store(folder.Path(), L".jot");
    store.SortByColumn(kSortReapply);
    EXPECT_EQ(store.SortColumn(), kSortByTime);
    EXPECT_EQ(store.SortDescending(), 0);
    EXPECT_EQ(Titles(store), (Names{L"early", L"late"}));
}

TEST_F(NoteStoreTest, SortingAnEmptyListLeavesTheSortState)
{
    NoteStore store(folder.Path(), L".jot");
    store.SortByColumn(kSortByTitle);
    EXPECT_EQ(store.SortColumn(), -1);
    EXPECT_EQ(store.SortDescending(), -1);
}

TEST_F(NoteStoreTest, NeverExpiringNotesGoLastNewestFirstAndTheReverseDescending)
{
    AddNote(L"Jotling0.jot", L"never, oldest", 1, 25);
    AddNote(L"Jotling1.jot", L"day 5", 5, 10);
    AddNote(L"Jotling4.jot", L"never, middle", 1, 25);
    AddNote(L"Jotling3.jot", L"day 2", 2, 10);
    AddNote(L"Jotling2.jot", L"never, newest", 1, 25);
    NoteStore store(folder.Path(), L".jot");

    store.SortByColumn(kSortByTime);
    EXPECT_EQ(Titles(store), (Names{L"day 2", L"day 5", L"never, newest", L"never, middle", L"never, oldest"}));
    store.SortByColumn(kSortByTime);
    EXPECT_EQ(Titles(store), (Names{L"never, oldest", L"never, middle", L"never, newest", L"day 5", L"day 2"}));
    // Sorting by time fills every entry's creation time.
    for (NoteEntry* e = store.FirstEntry(); e != nullptr; e = e->next)
        EXPECT_GE(e->created.wYear, 2020) << e->title;
}

TEST_F(NoteStoreTest, CreationTimesComeWithTheListingAndASavedNoteTakesItsOwn)
{
    std::wstring older = AddNote(L"Jotling0.jot", L"never, older", 1, 25);
    AddNote(L"Jotling1.jot", L"never, newer", 1, 25);
    AddNote(L"Jotling2.jot", L"day 3", 3, 10);
    NoteStore store(folder.Path(), L".jot");
    // Known from the folder listing before any sort asks for them.
    for (NoteEntry* e = store.FirstEntry(); e != nullptr; e = e->next)
        EXPECT_GE(e->created.wYear, 2020) << e->title;
    store.SortByColumn(kSortByTime);
    EXPECT_EQ(Titles(store), (Names{L"day 3", L"never, newer", L"never, older"}));

    // Written again, the note's file is now the newest: its entry, read
    // again, takes that file's time and moves to the front of its block.
    AddNote(L"Jotling0.jot", L"never, written again", 1, 25);
    store.OnNoteSaved(older.c_str(), false);
    EXPECT_EQ(Titles(store), (Names{L"day 3", L"never, written again", L"never, newer"}));
}

TEST_F(NoteStoreTest, SortByTimeWorksWhileAnotherProcessHoldsANote)
{
    AddNote(L"Jotling0.jot", L"never, older", 1, 25);
    std::wstring held = AddNote(L"Jotling1.jot", L"never, newer", 1, 25);
    NoteStore store(folder.Path(), L".jot");
    HANDLE file = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    store.SortByColumn(kSortByTime);
    CloseHandle(file);
    EXPECT_EQ(Titles(store), (Names{L"never, newer", L"never, older"}));
}

TEST_F(NoteStoreTest, SavedNoteComesBackAtItsSortedPlace)
{
    AddNote(L"Jotling0.jot", L"a", 1, 10);
    std::wstring p1 = AddNote(L"Jotling1.jot", L"b", 2, 10);
    NoteStore store(folder.Path(), L".jot");
    store.SortByColumn(kSortByTime);

    // The note's expiry moved before the other: its entry is read again.
    AddNote(L"Jotling1.jot", L"b, edited", 1, 5);
    store.OnNoteSaved(p1.c_str(), false);
    EXPECT_EQ(Titles(store), (Names{L"b, edited", L"a"}));

    std::wstring p2 = AddNote(L"Jotling2.jot", L"new", 3, 10);
    store.OnNoteSaved(p2.c_str(), true);
    EXPECT_EQ(Titles(store), (Names{L"b, edited", L"a", L"new"}));
    EXPECT_EQ(store.EntryCount(), 3);
}

namespace {

// The store with its head cache, in a folder apart from the notes as the
// program keeps it.
class HeadCacheTest : public NoteStoreTest {
protected:
    // A note written a day ago, its stamp settled.
    std::wstring OldNote(const wchar_t* name, const wchar_t* title, const std::string& ink = "")
    {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(WriteTestNote(path, title, Time(2026, 12, 1, 25, 0), 0, ink));
        Backdate(path);
        return path;
    }
    // Writes the note again with a new title and the stamp it had: the
    // listing cannot tell, so a kept head is what the list shows.
    void RewriteKeepingStamp(const std::wstring& path, const wchar_t* title, const std::string& ink = "")
    {
        FILETIME written = WrittenTime(path);
        EXPECT_TRUE(WriteTestNote(path, title, Time(2026, 12, 1, 25, 0), 0, ink));
        SetWrittenTime(path, written);
    }
    Names SortedTitles()
    {
        NoteStore store(folder.Path(), L".jot", Cache().c_str());
        Names titles = Titles(store);
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    size_t CachedCount()
    {
        std::string bytes = ReadBytes(Cache());
        formats::HeadCacheView view;
        std::wstring notes = folder.Path();
        if (!view.Open(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                       std::u16string(notes.begin(), notes.end())))
            return 0;
        return view.Count();
    }
    std::wstring Cache() const { return data.File(L"NoteHeads.cache"); }

    TempFolder data;
};

}  // namespace

TEST_F(HeadCacheTest, AKeptHeadStandsUntilItsFilesSizeOrTimeChanges)
{
    std::wstring same = OldNote(L"Jotling0.jot", L"same");
    std::wstring timed = OldNote(L"Jotling1.jot", L"timed");
    std::wstring sized = OldNote(L"Jotling2.jot", L"sized");
    std::wstring gone = OldNote(L"Jotling3.jot", L"gone");
    EXPECT_EQ(SortedTitles(), (Names{L"gone", L"same", L"sized", L"timed"}));
    EXPECT_EQ(CachedCount(), 4u);

    // Unchanged to the listing: the kept head, the file not read.
    RewriteKeepingStamp(same, L"same, not read");
    // A new time, or a new size under the old time: read again.
    EXPECT_TRUE(WriteTestNote(timed, L"timed, read", Time(2026, 12, 1, 25, 0)));
    RewriteKeepingStamp(sized, L"sized, read", InkWithText(L"longer now"));
    // A note gone is gone from the list; one added, or written just now, is read.
    DeleteFileW(gone.c_str());
    AddNote(L"Jotling4.jot", L"added", 1, 25);
    EXPECT_EQ(SortedTitles(), (Names{L"added", L"same", L"sized, read", L"timed, read"}));

    // A head read within seconds of its file's write is not kept: written
    // again in the same tick of a coarse clock, it would look unchanged.
    // The timed note was written just now as well.
    EXPECT_EQ(CachedCount(), 2u);
    // Nothing else stands in the notes folder, and the list holds notes alone.
    NoteStore store(folder.Path(), L".jot", Cache().c_str());
    EXPECT_EQ(store.EntryCount(), 4);
    EXPECT_FALSE(FileExists(folder.File(L"NoteHeads.cache")));
}

TEST_F(HeadCacheTest, ADamagedOrForeignCacheCostsOnlyTheReadsAndIsWrittenAgain)
{
    std::wstring first = OldNote(L"Jotling0.jot", L"first");
    OldNote(L"Jotling1.jot", L"second", InkWithText(L"text"));
    SortedTitles();
    std::string good = ReadBytes(Cache());
    ASSERT_GT(good.size(), 40u);
    // A title changed behind the listing's back shows only when the cache
    // is not used.
    RewriteKeepingStamp(first, L"first, read");

    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x20;
    TempFolder other;
    const std::string damages[] = {"", "JHC1", good.substr(0, good.size() - 1), good.substr(0, good.size() / 2),
                                   flipped, std::string(good.size(), '\xff'), good + good};
    for (const std::string& damaged : damages) {
        WriteBytes(Cache(), damaged);
        EXPECT_EQ(SortedTitles(), (Names{L"first, read", L"second"})) << damaged.size() << " bytes";
        EXPECT_EQ(CachedCount(), 2u) << "not written again after " << damaged.size() << " bytes";
    }
    // A good cache of another folder whose notes have the same names.
    CopyFileW(folder.File(L"Jotling0.jot").c_str(), other.File(L"Jotling0.jot").c_str(), FALSE);
    DeleteFileW(Cache().c_str());
    { NoteStore elsewhere(other.Path(), L".jot", Cache().c_str()); }
    RewriteKeepingStamp(first, L"first, read again");
    EXPECT_EQ(SortedTitles(), (Names{L"first, read again", L"second"}));
}

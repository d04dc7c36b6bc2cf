#include "dialogs/TitleList.h"
#include "tests/dialogs/DialogsTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Titles = std::vector<std::wstring>;

Titles Contents(const TitleList& list)
{
    Titles out;
    for (int i = 0; i < list.Count(); ++i) {
        wchar_t text[260] = L"";
        list.GetAt(i, text, 260);
        out.push_back(text);
    }
    return out;
}

void SetValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

void SetCount(DWORD count)
{
    SetValue(L"TitlesCount", REG_DWORD, &count, sizeof count);
}

class TitleListTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveSettingsKey(); }
    void TearDown() override { RemoveSettingsKey(); }
};

}  // namespace

TEST_F(TitleListTest, KeepsTheMostRecentlyUsedTitleFirst)
{
    TitleList list;
    list.MoveToFront(L"Shopping");
    list.MoveToFront(L"Call Anna");
    list.MoveToFront(L"Dentist");
    EXPECT_EQ(Contents(list), (Titles{L"Dentist", L"Call Anna", L"Shopping"}));

    list.MoveToFront(L"Shopping");  // the third title is used again
    EXPECT_EQ(Contents(list), (Titles{L"Shopping", L"Dentist", L"Call Anna"}));
    list.MoveToFront(L"shopping");  // another letter case is another title
    EXPECT_EQ(list.Count(), 4);

    list.MoveToFront(kNoTitle);
    list.MoveToFront(L"");
    list.AddUnique(kNoTitle);
    list.AddUnique(L"Dentist");
    list.AddUnique(L"Gym");
    EXPECT_EQ(Contents(list), (Titles{L"shopping", L"Shopping", L"Dentist", L"Call Anna", L"Gym"}));
}

TEST_F(TitleListTest, SavedListLoadsBackAndLeftoverValuesAreIgnored)
{
    StoreTitles({L"One", L"Two", L"Three"});
    EXPECT_EQ(StoredTitles(), (Titles{L"One", L"Two", L"Three"}));

    StoreTitles({L"Only"});  // "Title1" and "Title2" stay behind
    wchar_t left[16] = L"";
    DWORD size = sizeof left;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"Title2", RRF_RT_REG_SZ, nullptr, left, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(StoredTitles(), (Titles{L"Only"}));
}

TEST_F(TitleListTest, DamagedValuesAreSkippedAndReadsStayInTheirBuffers)
{
    StoreTitles({L"Good", L"x", L"x", L"x", L"Last", L"Beyond"});
    DWORD number = 7;
    SetValue(L"Title1", REG_DWORD, &number, sizeof number);
    std::wstring longTitle(400, L'L');
    SetValue(L"Title2", REG_SZ, longTitle.c_str(), DWORD((longTitle.size() + 1) * sizeof(wchar_t)));
    SetValue(L"Title3", REG_SZ, L"", sizeof(wchar_t));
    SetValue(L"Title4", REG_SZ, L"Last", 4 * sizeof(wchar_t));  // no terminator stored
    HKEY key;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_WRITE, &key);
    RegDeleteValueW(key, L"Title5");
    RegCloseKey(key);
    SetValue(L"Title6", REG_SZ, L"After a gap", 12 * sizeof(wchar_t));
    SetCount(7);
    EXPECT_EQ(StoredTitles(), (Titles{L"Good", L"Last"}));

    SetCount(0xFFFFFFFF);  // reads as -1
    EXPECT_EQ(StoredTitles(), Titles{});
    SetCount(1000000);  // bounded by the values the key holds
    EXPECT_EQ(StoredTitles(), (Titles{L"Good", L"Last"}));
    SetValue(L"TitlesCount", REG_SZ, L"3", 2 * sizeof(wchar_t));
    EXPECT_EQ(StoredTitles(), Titles{});
}

TEST_F(TitleListTest, GetAtCopiesOnlyWhatFits)
{
    TitleList list;
    list.Append(L"Weekly report");
    wchar_t small[5] = L"????";
    list.GetAt(0, small, 5);
    EXPECT_STREQ(small, L"Week");
    wchar_t untouched[8] = L"keep";
    list.GetAt(1, untouched, 8);
    list.GetAt(-1, untouched, 8);
    list.GetAt(0, nullptr, 8);
    EXPECT_STREQ(untouched, L"keep");
}

#include "dialogs/TitleList.h"
#include "tests/dialogs/DialogsTestSupport.h"

#include <gtest/gtest.h>

namespace {

void SetValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name, type, data, bytes);
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

TEST_F(TitleListTest, KeepsTheMostRecentlyUsedTitleFirstAndStoresItInThatOrder)
{
    TitleList list;
    for (const wchar_t* title : {L"Shopping", L"Call Anna", L"Dentist", L"Shopping", L"shopping", L"", kNoTitle})
        list.MoveToFront(title);  // "Shopping", the third title, moves; another letter case is new
    list.AddUnique(L"Dentist");
    list.AddUnique(kNoTitle);
    list.AddUnique(L"Gym");
    list.Save();
    EXPECT_EQ(StoredTitles(), (Titles{L"shopping", L"Shopping", L"Dentist", L"Call Anna", L"Gym"}));

    StoreTitles({L"Only"});  // "Title1" to "Title4" stay behind
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"Title4", RRF_RT_REG_SZ, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(StoredTitles(), Titles{L"Only"});
}

TEST_F(TitleListTest, DamagedValuesAreSkippedAndReadsStayInTheirBuffers)
{
    StoreTitles({L"Good", L"x", L"x", L"x", L"x", L"x", L"x"});
    DWORD number = 7;
    SetValue(L"Title1", REG_DWORD, &number, sizeof number);
    std::wstring longTitle(400, L'L');
    SetValue(L"Title2", REG_SZ, longTitle.c_str(), DWORD((longTitle.size() + 1) * sizeof(wchar_t)));
    SetValue(L"Title3", REG_SZ, L"", sizeof(wchar_t));
    SetValue(L"Title4", REG_SZ, L"Last", 4 * sizeof(wchar_t));  // no terminator stored
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"Title5");
    EXPECT_EQ(StoredTitles(), (Titles{L"Good", L"Last"}));  // "Title6" lies beyond the gap

    SetCount(0xFFFFFFFF);
    EXPECT_EQ(StoredTitles(), Titles{});
    SetCount(1000000);  // no more reads than the key has values
    EXPECT_EQ(StoredTitles(), (Titles{L"Good", L"Last"}));
    SetValue(L"TitlesCount", REG_SZ, L"3", 2 * sizeof(wchar_t));
    EXPECT_EQ(StoredTitles(), Titles{});

    TitleList list;
    list.Append(L"Weekly report");
    wchar_t small[5] = L"????";
    list.GetAt(0, small, 5);
    EXPECT_STREQ(small, L"Week");
    wchar_t untouched[8] = L"keep";
    list.GetAt(1, untouched, 8);
    list.GetAt(-1, untouched, 8);
    EXPECT_STREQ(untouched, L"keep");
}

// Listing a key's subkeys, as the timed runs and the Today screen's items
// are listed.
#include "platform/common/RegistryKeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kTestKey[] = L"Software\\JotlingsTests\\RegistryKeys";

HKEY MakeKey(HKEY parent, const wchar_t* name)
{
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    return key;
}

}  // namespace

// A key deleted while it is listed answers every index with an error: the
// list ends there rather than asking for ever.
TEST(RegistryKeysTest, ListsEverySubkeyAndEndsOnAKeyDeletedMeanwhile)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    HKEY key = MakeKey(HKEY_CURRENT_USER, kTestKey);
    RegCloseKey(MakeKey(key, L"00000001"));
    RegCloseKey(MakeKey(key, L"KORVA Jotlings"));
    EXPECT_EQ((std::vector<std::wstring>{L"00000001", L"KORVA Jotlings"}), SubkeyNames(key));

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey));
    EXPECT_TRUE(SubkeyNames(key).empty());
    RegCloseKey(key);
    EXPECT_TRUE(LocalMachineSubkeyNames(L"SOFTWARE\\JotlingsTests\\No such key").empty());
}

#include "process/Application.h"
#include "process/Settings.h"
#include "shared/Registry.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

void RemoveKey(const wchar_t* key)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
}

bool KeyExists(const wchar_t* key)
{
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

struct Value {
    std::wstring name;
    DWORD type;
    std::wstring text;
    DWORD number;
};

// Every value of a key, in the order the registry keeps them.
std::vector<Value> ValuesOf(const wchar_t* key)
{
    std::vector<Value> values;
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        BYTE data[1024];
        DWORD nameLength = 256, type = 0, size = sizeof data;
        if (RegEnumValueW(handle, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        Value v = {name, type, L"", 0};
        if (type == REG_SZ)
            v.text = reinterpret_cast<wchar_t*>(data);
        else if (type == REG_DWORD)
            v.number = *reinterpret_cast<DWORD*>(data);
        values.push_back(v);
    }
    RegCloseKey(handle);
    return values;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveKey(kSettingsKey);
        RemoveKey(kTodayItemKey);
    }
    void TearDown() override
    {
        RemoveKey(kSettingsKey);
        RemoveKey(kTodayItemKey);
    }
};

const wchar_t kProgram[] = L"C:\\Program Files\\Jotlings\\Jotlings.exe";

}  // namespace

// The registry lists values by name, so what is checked is the whole set:
// every value with its type and data, and nothing more.
TEST_F(SettingsTest, FirstRunWritesEveryDefault)
{
    FirstRunSetup(L"C:\\Docs\\My Jotlings", kProgram);

    std::vector<Value> values = ValuesOf(kSettingsKey);
    EXPECT_EQ(values.size(), 24u);
    std::map<std::wstring, Value> byName;
    for (const Value& v : values)
        byName[v.name] = v;
    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"Jotlings", L"C:\\Docs\\My Jotlings"},
        {L"Path", kProgram},
        {L"Snd", L"C:\\Docs\\My Jotlings\\notify.wav"},
    };
    for (const auto& s : strings) {
        ASSERT_EQ(byName.count(s.first), 1u) << s.first;
        EXPECT_EQ(byName[s.first].type, DWORD(REG_SZ)) << s.first;
        EXPECT_EQ(byName[s.first].text, s.second) << s.first;
    }
    const std::pair<const wchar_t*, DWORD> dwords[] = {
        {L"SndCount", 1}, {L"DontPlay", 0}, {L"PlayRec", 1}, {L"PlaySnd", 0}, {L"TurnOn", 1},
        {L"Notify", 1}, {L"MenuCount", 5}, {L"FontSize", 9}, {L"LockPos", 0}, {L"PosX", 147},
        {L"PosY", 5}, {L"RecBtn", 0}, {L"AutoDel", 0}, {L"TitlesCount", 0}, {L"Mode", 0},
        {L"Page", 0}, {L"Zoom", 3}, {L"TodayShowToday", 1}, {L"TodayExpired", 1},
        {L"TodayFontSize", 9}, {L"TodayCount", 4},
    };
    for (const auto& d : dwords) {
        ASSERT_EQ(byName.count(d.first), 1u) << d.first;
        EXPECT_EQ(byName[d.first].type, DWORD(REG_DWORD)) << d.first;
        EXPECT_EQ(byName[d.first].number, d.second) << d.first;
    }

    std::vector<Value> today = ValuesOf(kTodayItemKey);
    EXPECT_EQ(today.size(), 6u);
    std::map<std::wstring, Value> item;
    for (const Value& v : today)
        item[v.name] = v;
    EXPECT_EQ(item[L"DLL"].text, L"C:\\Program Files\\Jotlings\\KJotlings.dll");
    const std::pair<const wchar_t*, DWORD> itemDwords[] = {
        {L"Flags", 0}, {L"Options", 1}, {L"Enabled", 1}, {L"Order", 0}, {L"Type", 4}};
    for (const auto& d : itemDwords) {
        ASSERT_EQ(item.count(d.first), 1u) << d.first;
        EXPECT_EQ(item[d.first].number, d.second) << d.first;
    }
    EXPECT_TRUE(IsTodayItemEnabled());
}

TEST_F(SettingsTest, LaterRunsRewriteNothingAndKeepTheUsersTodayChoice)
{
    FirstRunSetup(L"C:\\Docs\\My Jotlings", kProgram);
    RegWriteDword(kSettingsKey, L"Zoom", 6);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueW(key, L"PlayRec");
    RegCloseKey(key);
    RegWriteDword(kTodayItemKey, L"Enabled", 0);

    FirstRunSetup(L"C:\\Elsewhere", kProgram);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"Zoom"), 6);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"PlayRec"), kRegMissing);
    EXPECT_EQ(RegReadDword(kTodayItemKey, L"Enabled"), 0);
    EXPECT_FALSE(IsTodayItemEnabled());

    // Deleting the Today item key makes the next start enter it again; asking
    // whether it is enabled in between must not stand in the way.
    RemoveKey(kTodayItemKey);
    EXPECT_FALSE(IsTodayItemEnabled());
    EXPECT_FALSE(KeyExists(kTodayItemKey));
    FirstRunSetup(L"C:\\Elsewhere", kProgram);
    EXPECT_TRUE(IsTodayItemEnabled());
}

// After the user deletes the settings key, the Today item's options (Done)
// and the program's reads make it again before the next start: that start
// still writes the defaults, and keeps what was written meanwhile.
TEST_F(SettingsTest, FirstRunAfterTheKeyWasDeletedAndMadeAgainWritesWhatIsMissing)
{
    FirstRunSetup(L"C:\\Docs\\My Jotlings", kProgram);
    RemoveKey(kSettingsKey);
    RegWriteDword(kSettingsKey, L"TodayCount", 7);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"Zoom"), kRegMissing);

    FirstRunSetup(L"C:\\Docs\\My Jotlings", kProgram);
    wchar_t text[MAX_PATH];
    ASSERT_EQ(RegPeekString(kSettingsKey, L"Path", text, MAX_PATH), RegStringRead::Read);
    EXPECT_STREQ(text, kProgram);
    ASSERT_EQ(RegPeekString(kSettingsKey, L"Jotlings", text, MAX_PATH), RegStringRead::Read);
    EXPECT_STREQ(text, L"C:\\Docs\\My Jotlings");
    EXPECT_EQ(RegPeekDword(kSettingsKey, L"Zoom"), 3);
    EXPECT_EQ(RegPeekDword(kSettingsKey, L"TodayCount"), 7) << "the user's choice was written over";
    EXPECT_EQ(ValuesOf(kSettingsKey).size(), 24u);
}

TEST(TodayLibraryPathTest, OnlyAnExactProgramNameBecomesTheLibraryName)
{
    wchar_t out[MAX_PATH];
    TodayLibraryPath(L"C:\\Program Files\\Jotlings\\Jotlings.exe", out, MAX_PATH);
    EXPECT_STREQ(out, L"C:\\Program Files\\Jotlings\\KJotlings.dll");
    TodayLibraryPath(L"C:\\Tools\\jotlings.exe", out, MAX_PATH);
    EXPECT_STREQ(out, L"C:\\Tools\\jotlings.exe");
    TodayLibraryPath(L"C:\\Tools\\SettingsTest.exe", out, MAX_PATH);
    EXPECT_STREQ(out, L"C:\\Tools\\SettingsTest.exe");
    TodayLibraryPath(L"Jotlings.exe", out, MAX_PATH);
    EXPECT_STREQ(out, L"KJotlings.dll");
}

TEST_F(SettingsTest, PrimitivesFollowTheMinusOneConvention)
{
    const wchar_t key[] = L"SOFTWARE\\KORVA\\Jotlings\\Scratch";
    EXPECT_EQ(RegReadDword(key, L"Nothing"), kRegMissing);
    EXPECT_TRUE(KeyExists(key)) << "a read creates its key";
    RegWriteDword(key, L"Number", 42);
    EXPECT_EQ(RegReadDword(key, L"Number"), 42);
    RegWriteString(key, L"Text", L"hello");
    EXPECT_EQ(RegReadDword(key, L"Text"), kRegMissing) << "a value of another type reads as missing";

    wchar_t small[4] = L"xyz";
    RegReadString(key, L"Text", small, 4);
    EXPECT_STREQ(small, L"") << "a string longer than the buffer reads as empty";
    wchar_t buffer[16];
    RegReadString(key, L"Text", buffer, 16);
    EXPECT_STREQ(buffer, L"hello");
    RegReadString(key, L"Missing", buffer, 16);
    EXPECT_STREQ(buffer, L"");
}

TEST_F(SettingsTest, GettersCacheTheirFirstReadAndFallBackToDefaults)
{
    TempFolder documents;
    Application app(documents.Path());
    // The constructor made the notes folder and ran the first run.
    EXPECT_EQ(std::wstring(app.NotesFolder()), std::wstring(documents.Path()) + L"\\My Jotlings");
    EXPECT_TRUE(FileExists(app.NotesFolder()));
    EXPECT_STREQ(app.NoteExtension(), L".jot");

    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegDeleteValueW(key, L"Zoom");
    RegCloseKey(key);
    EXPECT_EQ(app.Zoom(), 3);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"Zoom"), kRegMissing) << "a default is not written back";

    EXPECT_EQ(app.FontSize(), 9);
    RegWriteDword(kSettingsKey, L"FontSize", 12);
    EXPECT_EQ(app.FontSize(), 9) << "the cache is not read again";

    app.SetPage(5);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"Page"), 5);
    RegWriteDword(kSettingsKey, L"Page", 1);
    EXPECT_EQ(app.Page(), 5);

    // Flags are stored as 0 or 1 and every non-zero value reads as true.
    app.SetNotify(false);
    EXPECT_EQ(RegReadDword(kSettingsKey, L"Notify"), 0);
    EXPECT_FALSE(app.Notify());
    RegWriteDword(kSettingsKey, L"PlaySnd", 7);
    EXPECT_TRUE(app.PlaySnd());
    EXPECT_TRUE(app.TurnOn());
    EXPECT_EQ(app.SndCount(), 1);
}

TEST_F(SettingsTest, SoundPathIsReadUntilSetThenCached)
{
    TempFolder documents;
    Application app(documents.Path());
    wchar_t path[MAX_PATH];
    app.GetSoundPath(path, MAX_PATH);
    EXPECT_EQ(std::wstring(path), std::wstring(app.NotesFolder()) + L"\\notify.wav");
    RegWriteString(kSettingsKey, L"Snd", L"C:\\other.wav");
    app.GetSoundPath(path, MAX_PATH);
    EXPECT_STREQ(path, L"C:\\other.wav") << "read from the registry while not set";

    app.SetSoundPath(L"C:\\chime.wav");
    RegWriteString(kSettingsKey, L"Snd", L"C:\\changed.wav");
    app.GetSoundPath(path, MAX_PATH);
    EXPECT_STREQ(path, L"C:\\chime.wav");
}

TEST_F(SettingsTest, ChangeEventIsSharedByName)
{
    TempFolder documents;
    Application app(documents.Path());
    HANDLE other = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kChangeEventName);
    ASSERT_NE(other, nullptr);
    ResetEvent(other);
    EXPECT_EQ(WaitForSingleObject(other, 0), DWORD(WAIT_TIMEOUT));
    app.SignalChange();
    EXPECT_EQ(WaitForSingleObject(other, 0), DWORD(WAIT_OBJECT_0));
    // Manual reset: it stays set until the Today item resets it.
    EXPECT_EQ(WaitForSingleObject(other, 0), DWORD(WAIT_OBJECT_0));
    ResetEvent(other);
    CloseHandle(other);
}

namespace {

// The platform's button table is saved and put back around each test.
class RecordButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = Subkeys();
        RemoveKey(kButtonTableKey);
    }
    void TearDown() override
    {
        RemoveKey(kButtonTableKey);
        for (const auto& button : saved)
            AddButton(button.first.c_str(), button.second.c_str());
    }

    static void AddButton(const wchar_t* subkey, const wchar_t* name)
    {
        std::wstring key = std::wstring(kButtonTableKey) + L"\\" + subkey;
        RegWriteString(key.c_str(), L"Name", name);
    }

    static std::vector<std::pair<std::wstring, std::wstring>> Subkeys()
    {
        std::vector<std::pair<std::wstring, std::wstring>> keys;
        HKEY table;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kButtonTableKey, 0, KEY_READ, &table) != ERROR_SUCCESS)
            return keys;
        wchar_t name[MAX_PATH];
        for (DWORD i = 0;; ++i) {
            DWORD length = MAX_PATH;
            if (RegEnumKeyExW(table, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            std::wstring key = std::wstring(kButtonTableKey) + L"\\" + name;
            wchar_t value[MAX_PATH];
            RegReadString(key.c_str(), L"Name", value, MAX_PATH);
            keys.push_back({name, value});
        }
        RegCloseKey(table);
        return keys;
    }

    std::vector<std::pair<std::wstring, std::wstring>> saved;
};

}  // namespace

TEST_F(RecordButtonTest, FirstMatchingButtonInTheTableDecides)
{
    AddButton(L"40C1", L"Record");
    AddButton(L"40C2", L"Side Button 5");
    EXPECT_EQ(FindRecordButtonKey(), kKeyRecord);

    RemoveKey(kButtonTableKey);
    AddButton(L"40C1", L"Calendar");
    AddButton(L"40C2", L"Button 5");
    AddButton(L"40C3", L"Record");
    EXPECT_EQ(FindRecordButtonKey(), kKeyButton5);

    RemoveKey(kButtonTableKey);
    AddButton(L"40C1", L"Calendar");
    EXPECT_EQ(FindRecordButtonKey(), kKeyButton5) << "a readable table without a match";
}

TEST_F(RecordButtonTest, WithoutATableTheKeyIsAskedForAgain)
{
    TempFolder documents;
    Application app(documents.Path());
    EXPECT_EQ(app.RecordButtonKey(), 0);
    AddButton(L"40C1", L"Side Button 5");
    EXPECT_EQ(app.RecordButtonKey(), kKeySideButton5);
    RemoveKey(kButtonTableKey);
    EXPECT_EQ(app.RecordButtonKey(), kKeySideButton5) << "once found, the key is kept";
}

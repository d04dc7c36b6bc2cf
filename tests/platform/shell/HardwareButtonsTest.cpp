// The hardware button table and the record button's host key.
#include "platform/shell/src/HardwareButtons.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

const wchar_t kTableKey[] = L"SOFTWARE\\JotlingsTests\\ShellKeys";

std::map<int, bool> held;
std::vector<std::pair<int, bool>> sent;
std::vector<std::wstring> startedPrograms;

SHORT WINAPI FakeReader(int key)
{
    return held[key] ? static_cast<SHORT>(0x8000) : 0;
}

void FakeSender(BYTE key, bool down)
{
    sent.push_back({key, down});
    held[key] = down;
}

bool RecordStart(const std::wstring& program, const std::wstring&)
{
    startedPrograms.push_back(program);
    return true;
}

// The main program's look-up of its record key: first subkey, in the
// registry's order, whose "Name" is one of the three it knows.
int FindRecordKey(const wchar_t* table)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, table, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;
    }
    int found = 197;
    for (DWORD index = 0;; ++index) {
        wchar_t name[260];
        DWORD length = 260;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        wchar_t value[260] = {};
        DWORD size = sizeof(value);
        if (RegGetValueW(key, name, L"Name", RRF_RT_REG_SZ, nullptr, value, &size) !=
            ERROR_SUCCESS) {
            continue;
        }
        if (wcscmp(value, L"Side Button 5") == 0) { found = 0xC1; break; }
        if (wcscmp(value, L"Button 5") == 0) { found = 0xC5; break; }
        if (wcscmp(value, L"Record") == 0) { found = 0xCF; break; }
    }
    RegCloseKey(key);
    return found;
}

class HardwareButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shelltest::DeleteKey(kTableKey);
        held.clear();
        sent.clear();
        startedPrograms.clear();
    }
    void TearDown() override { shelltest::DeleteKey(kTableKey); }
};

TEST_F(HardwareButtonsTest, DefaultTableNamesARecordButtonTheProgramFindsAsKey0xCF)
{
    shell::HardwareButtons buttons(kTableKey, RecordStart, FakeReader, FakeSender);
    buttons.WriteDefaultTable();
    EXPECT_EQ(0xCF, FindRecordKey(kTableKey));
    buttons.Load();
    const shell::HardwareButton* record = nullptr;
    for (const auto& button : buttons.Buttons()) {
        if (button.name == L"Record") {
            record = &button;
        }
    }
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(0xCF, record->virtualKey);
    EXPECT_EQ(VK_F9, record->hostKey);
    EXPECT_EQ(L"C:\\Program Files\\Jotlings\\Jotlings.exe", record->program);
}

TEST_F(HardwareButtonsTest, AnExistingTableIsLeftAsTheUserMadeIt)
{
    std::wstring mine = std::wstring(kTableKey) + L"\\40C5";
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, mine.c_str(), L"Name", REG_SZ, L"Button 5",
                    sizeof(L"Button 5"));
    shell::HardwareButtons buttons(kTableKey, RecordStart, FakeReader, FakeSender);
    buttons.WriteDefaultTable();
    EXPECT_EQ(0xC5, FindRecordKey(kTableKey));
    buttons.Load();
    EXPECT_EQ(1u, buttons.Buttons().size());
}

TEST_F(HardwareButtonsTest, HostKeyHoldsTheButtonKeyAndAPressStartsItsProgramOnce)
{
    shell::HardwareButtons buttons(kTableKey, RecordStart, FakeReader, FakeSender);
    buttons.WriteDefaultTable();
    buttons.Load();

    held[VK_F9] = true;
    buttons.Poll();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(0xCF, sent[0].first);
    EXPECT_TRUE(sent[0].second);
    EXPECT_EQ(1u, startedPrograms.size());

    // Still held: no repeat of either.
    buttons.Poll();
    buttons.Poll();
    EXPECT_EQ(1u, sent.size());
    EXPECT_EQ(1u, startedPrograms.size());

    held[VK_F9] = false;
    buttons.Poll();
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(0xCF, sent[1].first);
    EXPECT_FALSE(sent[1].second);
    EXPECT_EQ(1u, startedPrograms.size());
}

TEST_F(HardwareButtonsTest, ThePressOfTheDeviceDriverStartsTheProgramToo)
{
    shell::HardwareButtons buttons(kTableKey, RecordStart, FakeReader, FakeSender);
    buttons.WriteDefaultTable();
    buttons.Load();
    held[0xCF] = true;  // devicekey down 0xCF
    buttons.Poll();
    EXPECT_TRUE(sent.empty());
    ASSERT_EQ(1u, startedPrograms.size());
    held[0xCF] = false;
    buttons.Poll();
    held[0xCF] = true;
    buttons.Poll();
    EXPECT_EQ(2u, startedPrograms.size());
}

TEST_F(HardwareButtonsTest, AHostKeyStillHeldAtTheEndIsReleased)
{
    {
        shell::HardwareButtons buttons(kTableKey, RecordStart, FakeReader, FakeSender);
        buttons.WriteDefaultTable();
        buttons.Load();
        held[VK_F9] = true;
        buttons.Poll();
    }
    ASSERT_EQ(2u, sent.size());
    EXPECT_FALSE(sent[1].second);
}

TEST_F(HardwareButtonsTest, SentKeyIsReportedHeldUntilReleased)
{
    shell::HardwareButtons::SendKey(0xCF, true);
    EXPECT_TRUE(PumpUntil([] { return (GetAsyncKeyState(0xCF) & 0x8000) != 0; }));
    shell::HardwareButtons::SendKey(0xCF, false);
    EXPECT_TRUE(PumpUntil([] { return (GetAsyncKeyState(0xCF) & 0x8000) == 0; }));
}

}  // namespace

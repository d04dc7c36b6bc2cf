#include "diag/TraceLog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ReadFile(const wchar_t* path)
{
    std::string text;
    FILE* f = _wfopen(path, L"rb");
    if (f == nullptr)
        return "<missing>";
    char buffer[256];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

void WriteFile(const wchar_t* path, const char* text)
{
    FILE* f = _wfopen(path, L"wb");
    ASSERT_NE(f, nullptr);
    fputs(text, f);
    fclose(f);
}

// The default log lives in the root of the device's drive, which is the
// current drive of every program the device runs.
const wchar_t kLog[] = L"\\Trace.log";

}  // namespace

TEST(TraceLogTest, FirstTraceOfARunReplacesTheLogAndLaterOnesAppend)
{
    TraceLog::freshLog = true;
    WriteFile(kLog, "left from an earlier run\n");

    Trace(L"SHCreateMenuBar Failed");
    EXPECT_EQ(ReadFile(kLog), "SHCreateMenuBar Failed");

    // No line break is added: texts stand side by side.
    Trace(L"%s %d", L"count", 3);
    EXPECT_EQ(ReadFile(kLog), "SHCreateMenuBar Failedcount 3");
}

TEST(TraceLogTest, EmptyTextWritesNothingButStillStartsAFreshLog)
{
    TraceLog::freshLog = true;
    WriteFile(kLog, "old");
    Trace(L"");
    EXPECT_EQ(ReadFile(kLog), "");
}

TEST(TraceLogTest, WriteLogKeepsTextWithoutArgumentsUnformatted)
{
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    wcscat(path, L"jotlings-trace-test.log");
    DeleteFileW(path);
    {
        TraceLog log(path);
        log.WriteLog(L"100% plain");
        log.OpenLog();
        log.WriteLog(L" and more");
        log.CloseLog();
    }
    EXPECT_EQ(ReadFile(path), "100% plain and more");
    DeleteFileW(path);
}

TEST(TraceLogTest, NameTooLongForItsBufferIsRefusedNotCut)
{
    std::wstring name(400, L'a');
    TraceLog log(name.c_str());
    EXPECT_STREQ(log.FileName(), L"");
    log.WriteLog(L"nothing");  // must neither crash nor write a cut name
}

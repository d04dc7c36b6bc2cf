#include "bench/BenchSupport.h"

#include "InkRecording.h"
#include "InkStreamFormat.h"

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

namespace bench {

namespace {

const int kBigNoteStrokes = 10000;
const int kBigNoteRecordingSeconds = 60;
const int kPointsPerStroke = 16;
const int kRecordingRate = 11025;

}  // namespace

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MedianOf(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* figure, double project, double floor)
{
    printf("%-52s project %9.3f ms   floor %9.3f ms   ratio %7.1f\n", figure, project, floor,
           floor > 0 ? project / floor : 0.0);
    fflush(stdout);
}

void ReportRange(const char* figure, const std::vector<double>& project, const std::vector<double>& floor)
{
    Report(figure, MedianOf(project), MedianOf(floor));
    auto low = [](const std::vector<double>& t) { return t.empty() ? 0.0 : *std::min_element(t.begin(), t.end()); };
    auto high = [](const std::vector<double>& t) { return t.empty() ? 0.0 : *std::max_element(t.begin(), t.end()); };
    printf("  %-50s min-max %8.1f-%-8.1f ms   %8.1f-%-8.1f ms   (%zu runs)\n", "", low(project), high(project),
           low(floor), high(floor), project.size());
    fflush(stdout);
}

void ReportBytes(const char* figure, double projectBytes, double floorBytes)
{
    const double kMegabyte = 1048576.0;
    printf("%-52s project %9.3f MB   floor %9.3f MB   ratio %7.1f\n", figure, projectBytes / kMegabyte,
           floorBytes / kMegabyte, floorBytes > 0 ? projectBytes / floorBytes : 0.0);
    fflush(stdout);
}

void ReportStep(const char* step, const double* times, int count)
{
    printf("  step %-52s", step);
    for (int i = 0; i < count; ++i) {
        if (times[i] < 0)
            printf("        -   ");
        else
            printf(" %8.3f ms", times[i]);
    }
    printf("\n");
    fflush(stdout);
}

std::vector<uint8_t> InkContent(int strokes, int recordingSeconds)
{
    InkDocument doc;
    for (int s = 0; s < strokes; ++s) {
        InkStroke stroke(RGB(0, 0, 0), 8);
        int x = (s % 40) * 24, y = (s / 40) * 40;
        for (int p = 0; p < kPointsPerStroke; ++p)
            stroke.AddPoint({x + p * 5, y + (p % 3) * 7});
        doc.Strokes().push_back(stroke);
    }
    if (recordingSeconds > 0) {
        std::vector<uint8_t> pcm(static_cast<size_t>(recordingSeconds) * kRecordingRate * 2);
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = static_cast<uint8_t>(i * 31);
        doc.Recordings().emplace_back(8, 0,
                                      InkRecording::BuildWave(pcm.data(), pcm.size(), kRecordingRate, 1, 16));
    }
    std::vector<uint8_t> bytes;
    InkStreamFormat::Write(doc, bytes);
    return bytes;
}

std::vector<uint8_t> BigInkContent()
{
    return InkContent(kBigNoteStrokes, kBigNoteRecordingSeconds);
}

bool WriteBytes(const wchar_t* path, const void* bytes, size_t size)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    CloseHandle(file);
    return whole;
}

size_t ReadWholeFileFloor(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER length = {};
    DWORD got = 0;
    if (GetFileSizeEx(file, &length)) {
        void* buffer = malloc(static_cast<size_t>(length.QuadPart) + 1);
        if (buffer != nullptr && !ReadFile(file, buffer, static_cast<DWORD>(length.QuadPart), &got, nullptr))
            got = 0;
        free(buffer);
    }
    CloseHandle(file);
    return got;
}

bool TempFilePath(const wchar_t* name, wchar_t* path, size_t count)
{
    wchar_t folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return false;
    int written = _snwprintf(path, count, L"%s%s", folder, name);
    return written > 0 && static_cast<size_t>(written) < count;
}

}  // namespace bench

// What every benchmark shares: a millisecond clock, the median of a few
// runs, the one-line reports, the ink content of a big and a small note, and
// the file-read floor that figures moving a note's bytes are measured
// against.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <algorithm>
#include <vector>

namespace bench {

// Milliseconds from an arbitrary start, to the performance counter's precision.
double Now();

// The median of times; 0 for none.
double MedianOf(std::vector<double> times);

// Runs f runs times and returns the median of its durations.
template <typename F>
double Median(int runs, F f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        f();
        times.push_back(Now() - start);
    }
    return MedianOf(times);
}

// Every benchmark runs each figure this many times and reports the median.
const int kRuns = 5;

// One line per figure: name, project ms, floor ms, ratio.
void Report(const char* figure, double project, double floor);

// The same line with each side's median and, under it, their minimum and
// maximum over the runs.
void ReportRange(const char* figure, const std::vector<double>& project, const std::vector<double>& floor);

// One line per figure of memory: name, project MB, floor MB, ratio.
void ReportBytes(const char* figure, double projectBytes, double floorBytes);

// One line per step of a larger figure, which has no floor of its own: name,
// then its median ms in each of count columns (a negative time prints as
// not measured).
void ReportStep(const char* step, const double* times, int count);

// A note's content as the ink control streams it: strokes of 16 points and,
// for seconds > 0, a recording of that length at 11 kHz.
std::vector<uint8_t> InkContent(int strokes, int recordingSeconds);
// The big note: 10,000 strokes and a 60-second recording (about 2.7 MB).
std::vector<uint8_t> BigInkContent();

// Writes bytes to path, replacing what was there; false on any failure.
bool WriteBytes(const wchar_t* path, const void* bytes, size_t size);

// The floor of reading a file: CreateFileW, its size, a buffer of that
// size, one ReadFile of the whole file, CloseHandle. Returns the bytes
// read (0 on failure); the buffer is freed before returning.
size_t ReadWholeFileFloor(const wchar_t* path);

// A file in the device's temporary folder: "<temp>\<name>".
bool TempFilePath(const wchar_t* name, wchar_t* path, size_t count);

}  // namespace bench

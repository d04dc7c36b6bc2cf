// A second thread of a benchmark, running one job at a time for the thread
// that waits on it. Its windows are its own: the send watch that the
// program's windows put on their thread never reaches them, so a floor made
// here pays none of it.
#pragma once

#include <windows.h>

#include <functional>

namespace bench {

class BenchThread {
public:
    BenchThread();
    ~BenchThread();
    BenchThread(const BenchThread&) = delete;
    BenchThread& operator=(const BenchThread&) = delete;

    // Runs job there and returns once it is done; meanwhile this thread
    // answers what is sent to its own windows, as a waiting program does.
    // False when the thread could not be started.
    bool Run(std::function<void()> job);

private:
    static DWORD WINAPI ThreadMain(void* self);
    void Loop();

    HANDLE thread = nullptr;
    HANDLE go = nullptr;
    HANDLE done = nullptr;
    std::function<void()> job;
    bool quit = false;
};

}  // namespace bench

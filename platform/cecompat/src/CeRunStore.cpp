#include "CeRunStore.h"

#include "platform/common/RegistryKeys.h"

#include <cstring>
#include <cwchar>

const wchar_t CeRunStore::kDefaultKey[] = L"SOFTWARE\\Microsoft\\Shell\\TimedRuns";

namespace {

const wchar_t kNextHandleValue[] = L"NextHandle";
const wchar_t kApplicationValue[] = L"Application";
const wchar_t kArgumentsValue[] = L"Arguments";
const wchar_t kStartValue[] = L"Start";
// One lock for every process of the device that touches the list, so that
// two programs never get the same handle.
const wchar_t kLockName[] = L"CeRunStoreLock";
const DWORD kLockWaitMs = 5000;

// Every read-modify-write of the list holds the lock; a lock that cannot be
// had (held too long, or no lock at all) leaves the list as it is, and the
// store remembers that it missed it. A store told to go without the lock
// works on the list as it stands.
// The event that ends this thread's waits for the lock early (null: none).
thread_local HANDLE t_giveUp = nullptr;

class ScopedLock {
public:
    ScopedLock(HANDLE mutex, DWORD waitMs, bool without, bool& missed) : mutex_(mutex)
    {
        held_ = false;
        if (!without) {
            HANDLE waits[] = {mutex_, t_giveUp};
            DWORD result = mutex_ == nullptr ? WAIT_FAILED
                                             : WaitForMultipleObjects(t_giveUp != nullptr ? 2 : 1, waits, FALSE,
                                                                      waitMs);
            held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0;
            missed = !held_;
        }
        owned_ = held_ || without;
    }
    bool Owned() const { return owned_; }
    ~ScopedLock()
    {
        if (held_) {
            ReleaseMutex(mutex_);
        }
    }

private:
    HANDLE mutex_;
    bool held_;
    bool owned_;
};

bool ReadString(HKEY key, const wchar_t* name, std::wstring& out)
{
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return false;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    buffer.back() = L'\0';
    out = buffer.data();
    return true;
}

bool WriteString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

}  // namespace

CeRunStore::CeRunStore(const wchar_t* keyPath)
    : keyPath_(keyPath != nullptr ? keyPath : kDefaultKey),
      lock_(CreateMutexW(nullptr, FALSE, kLockName)),
      lockWaitMs_(kLockWaitMs)
{
}

void CeRunStore::SetLockWait(DWORD waitMs)
{
    lockWaitMs_ = waitMs;
}

void CeRunStore::GiveUpOn(HANDLE event)
{
    t_giveUp = event;
}

void CeRunStore::GoWithoutLock(bool without)
{
    withoutLock_ = without;
}

CeRunStore::~CeRunStore()
{
    if (lock_ != nullptr) {
        CloseHandle(lock_);
    }
}

void CeRunStore::HandleName(DWORD handle, wchar_t name[16])
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    for (int i = 7; i >= 0; --i) {
        name[i] = digits[handle & 0xF];
        handle >>= 4;
    }
    name[8] = L'\0';
}

void CeRunStore::WriteTime(const SYSTEMTIME& time, BYTE bytes[16])
{
    const WORD fields[8] = {time.wYear,   time.wMonth,  time.wDayOfWeek, time.wDay,
                            time.wHour,   time.wMinute, time.wSecond,    time.wMilliseconds};
    for (int i = 0; i < 8; ++i) {
        bytes[2 * i] = static_cast<BYTE>(fields[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<BYTE>(fields[i] >> 8);
    }
}

SYSTEMTIME CeRunStore::ReadTime(const BYTE bytes[16])
{
    WORD fields[8];
    for (int i = 0; i < 8; ++i) {
        fields[i] = static_cast<WORD>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    SYSTEMTIME time = {};
    time.wYear = fields[0];
    time.wMonth = fields[1];
    time.wDayOfWeek = fields[2];
    time.wDay = fields[3];
    time.wHour = fields[4];
    time.wMinute = fields[5];
    time.wSecond = fields[6];
    time.wMilliseconds = fields[7];
    return time;
}

DWORD CeRunStore::NextHandle(HKEY root)
{
    DWORD next = 0;
    DWORD size = sizeof(next);
    DWORD type = 0;
    if (RegQueryValueExW(root, kNextHandleValue, nullptr, &type, reinterpret_cast<BYTE*>(&next),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        next = 1;
    }
    // Handles are never 0 (that is "no run"), and one still pending is never
    // handed out twice, even after the counter wraps.
    for (int tries = 0; tries < 1000; ++tries) {
        if (next == 0) {
            next = 1;
        }
        if (!Exists(next)) {
            break;
        }
        ++next;
    }
    DWORD after = next + 1;
    RegSetValueExW(root, kNextHandleValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&after),
                   sizeof(after));
    return next;
}

bool CeRunStore::Write(DWORD handle, const CeTimedRun& run)
{
    wchar_t name[16];
    HandleName(handle, name);
    std::wstring path = keyPath_ + L"\\" + name;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    BYTE start[16];
    WriteTime(run.start, start);
    // The start time goes last: the scheduler takes a run without one for
    // one still being written and passes it over.
    bool done = WriteString(key, kApplicationValue, run.application) &&
                WriteString(key, kArgumentsValue, run.arguments) &&
                RegSetValueExW(key, kStartValue, 0, REG_BINARY, start, sizeof(start)) ==
                    ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

bool CeRunStore::OpenRun(DWORD handle, HKEY* key) const
{
    wchar_t name[16];
    HandleName(handle, name);
    std::wstring path = keyPath_ + L"\\" + name;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key) == ERROR_SUCCESS;
}

bool CeRunStore::Read(DWORD handle, CeTimedRun& run) const
{
    HKEY key = nullptr;
    if (!OpenRun(handle, &key)) {
        return false;
    }
    BYTE start[16];
    DWORD size = sizeof(start);
    DWORD type = 0;
    bool whole = ReadString(key, kApplicationValue, run.application) &&
                 ReadString(key, kArgumentsValue, run.arguments) &&
                 RegQueryValueExW(key, kStartValue, nullptr, &type, start, &size) ==
                     ERROR_SUCCESS &&
                 type == REG_BINARY && size == sizeof(start);
    RegCloseKey(key);
    if (whole) {
        run.handle = handle;
        run.start = ReadTime(start);
    }
    return whole;
}

DWORD CeRunStore::Add(const CeTimedRun& run)
{
    ScopedLock guard(lock_, lockWaitMs_, withoutLock_, lockMissed_);
    if (!guard.Owned()) {
        return 0;
    }
    HKEY root = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &root, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    DWORD handle = NextHandle(root);
    RegCloseKey(root);
    if (!Write(handle, run)) {
        Delete(handle);
        return 0;
    }
    return handle;
}

bool CeRunStore::Replace(DWORD handle, const CeTimedRun& run)
{
    ScopedLock guard(lock_, lockWaitMs_, withoutLock_, lockMissed_);
    if (!guard.Owned() || handle == 0 || !Exists(handle)) {
        return false;
    }
    return Write(handle, run);
}

bool CeRunStore::Remove(DWORD handle)
{
    ScopedLock guard(lock_, lockWaitMs_, withoutLock_, lockMissed_);
    if (!guard.Owned()) {
        return false;
    }
    return Delete(handle);
}

bool CeRunStore::Take(const CeTimedRun& seen)
{
    ScopedLock guard(lock_, lockWaitMs_, withoutLock_, lockMissed_);
    CeTimedRun now;
    if (!guard.Owned() || !Read(seen.handle, now)) {
        return false;
    }
    // Moved or changed since it was seen (a Today item set its note's new
    // time): it is no longer the run that was due.
    if (now.application != seen.application || now.arguments != seen.arguments ||
        memcmp(&now.start, &seen.start, sizeof(SYSTEMTIME)) != 0) {
        return false;
    }
    return Delete(seen.handle);
}

bool CeRunStore::Delete(DWORD handle)
{
    if (handle == 0) {
        return false;
    }
    wchar_t name[16];
    HandleName(handle, name);
    HKEY root = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, KEY_READ | KEY_WRITE, &root) !=
        ERROR_SUCCESS) {
        return false;
    }
    bool removed = RegDeleteKeyW(root, name) == ERROR_SUCCESS;
    RegCloseKey(root);
    return removed;
}

bool CeRunStore::Exists(DWORD handle) const
{
    if (handle == 0) {
        return false;
    }
    HKEY key = nullptr;
    if (!OpenRun(handle, &key)) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::vector<CeTimedRun> CeRunStore::List() const
{
    std::vector<CeTimedRun> runs;
    ScopedLock guard(lock_, lockWaitMs_, withoutLock_, lockMissed_);
    if (!guard.Owned()) {
        return runs;
    }
    for (const std::wstring& name : LocalMachineSubkeyNames(keyPath_)) {
        wchar_t* end = nullptr;
        unsigned long handle = wcstoul(name.c_str(), &end, 16);
        if (end == name.c_str() || *end != L'\0' || handle == 0 || handle > 0xFFFFFFFFul) {
            continue;
        }
        CeTimedRun run;
        if (Read(static_cast<DWORD>(handle), run)) {
            runs.push_back(run);
        }
    }
    return runs;
}

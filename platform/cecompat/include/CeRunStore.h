// The timed runs of the device, kept in the registry so that they outlive
// the shell. CeSetUserNotificationEx and CeClearUserNotification write here;
// the shell's scheduler reads here and starts what is due.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CeTimedRun {
    DWORD handle = 0;
    std::wstring application;
    std::wstring arguments;
    SYSTEMTIME start = {};
};

class CeRunStore {
public:
    // The device's own list of runs (HKLM).
    static const wchar_t kDefaultKey[];

    // keyPath is relative to HKEY_LOCAL_MACHINE; tests pass a private one.
    explicit CeRunStore(const wchar_t* keyPath = kDefaultKey);
    virtual ~CeRunStore();

    // Stores a new run under a fresh handle; 0 when the registry refused.
    DWORD Add(const CeTimedRun& run);
    // Overwrites a pending run; false when that handle is not pending.
    bool Replace(DWORD handle, const CeTimedRun& run);
    bool Remove(DWORD handle);
    // Removes the run seen in a List only if it is still pending unchanged;
    // false when it has gone or been replaced since.
    bool Take(const CeTimedRun& seen);
    bool Exists(DWORD handle) const;
    // Every pending run; entries that cannot be read whole are left out.
    // Empty when the list's lock cannot be had.
    std::vector<CeTimedRun> List() const;

    // How long a call waits for the list's lock (5 s unless set).
    void SetLockWait(DWORD waitMs);
    // True once a call could not have the lock; cleared by the next that
    // has it.
    bool LockMissed() const { return lockMissed_; }
    // Every store of the calling thread (and so the notification calls made
    // on it) stops waiting for the lock once event is set, and fails as when
    // the lock was held too long; null ends that. The handheld's calls never
    // wait for another program: a thread that must end at once (a Today
    // item's watcher, which its host waits for) is not held by this stand-in
    // for them either.
    static void GiveUpOn(HANDLE event);
    // For the shell's scheduler, when another program keeps the lock for
    // good: the list is read and runs are taken without it.
    void GoWithoutLock(bool without);

    // A SYSTEMTIME as the 16 little-endian bytes the store keeps.
    static void WriteTime(const SYSTEMTIME& time, BYTE bytes[16]);
    static SYSTEMTIME ReadTime(const BYTE bytes[16]);

private:
    bool Write(DWORD handle, const CeTimedRun& run);
    // Opens the key of the run with this handle to read; false when there
    // is none.
    bool OpenRun(DWORD handle, HKEY* key) const;
    bool Read(DWORD handle, CeTimedRun& run) const;
    bool Delete(DWORD handle);
    DWORD NextHandle(HKEY root);
    static void HandleName(DWORD handle, wchar_t name[16]);

    std::wstring keyPath_;
    HANDLE lock_;
    DWORD lockWaitMs_;
    bool withoutLock_ = false;
    mutable bool lockMissed_ = false;
};

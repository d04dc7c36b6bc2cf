// The hidden main window: the hub through which note windows, the all-notes
// window, a second start and the Today item reach the notes. It is never
// shown; the running instance is found by its class and title.
#pragma once

#include <windows.h>

class AboutBox;
class NoteStore;

class MainWindow {
public:
    MainWindow(NoteStore& notes, AboutBox& aboutBox);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class and makes the window. The store's start-up runs
    // inside its creation (an alarm's question may be on screen meanwhile).
    // False when the window could not be made.
    bool Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title);
    // Posts to itself what the command line asks for (nothing for null).
    void PostCommandLine(const wchar_t* commandLine);

    HWND Window() const { return window; }
    // The store's start-up opened an alarm.
    bool OpenedAlarm() const { return openedAlarm; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    bool OnClose();
    void OnEndSession(WPARAM wParam);
    void Destroy();
    void OnActivate(WPARAM wParam);
    void OnCommand(WPARAM wParam);
    void OnRecordButton(LPARAM lParam);
    void OnNoteSaved(WPARAM wParam, LPARAM lParam);
    void OnOpenSharedNote();
    void OnOpenHandedOver();
    void OnOpenNotePath(WPARAM wParam);

    HWND window = nullptr;
    NoteStore& notes;
    AboutBox& aboutBox;
    bool openedAlarm = false;
    // Set by Destroy: the WM_DESTROY that follows is the window's own.
    bool destroying = false;
    // The note path the instance was started with: the one text 1127 may
    // carry.
    wchar_t startPath[MAX_PATH] = L"";
    // The note path the Today item handed over last, until it is opened.
    wchar_t handedOverPath[MAX_PATH] = L"";
};

// Runs one of the program's dialogs modally from its template, as the
// handheld's dialogs are run: the template is found in the program's
// resources and handed over as it stands. ModalDialog is such a dialog
// owned by one object for the whole run.
#pragma once

#include <windows.h>

// Returns the dialog's result, or -1 when the template is missing.
INT_PTR RunDialogFromResource(int templateId, HWND owner, DLGPROC procedure, LPARAM parameter);

// Brings a dialog of the program to the front as the handheld shows one: in
// front, with the input panel's button put back on the menu bar.
void BringDialogToFront(HWND dialog);

class ModalDialog {
public:
    explicit ModalDialog(int templateId) : templateId(templateId) {}
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Runs the dialog modally over owner; returns when it has ended. The
    // owner is disabled while the dialog runs, so a second Run can only
    // come from elsewhere: it shows the open dialog instead of nesting
    // another.
    void Run(HWND owner);
    // Brings the open dialog forward (the all-notes window does this
    // instead of showing itself while one is open).
    void BringToFront();
    // Set while the dialog is open.
    HWND Dialog() const { return dialog; }

protected:
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND dialog = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId;
};

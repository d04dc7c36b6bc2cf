#include "dialogs/ModalDialog.h"

#include "platform/common/ObjectWindowProc.h"
#include "process/Application.h"

#include <aygshell.h>

INT_PTR RunDialogFromResource(int templateId, HWND owner, DLGPROC procedure, LPARAM parameter)
{
    HINSTANCE instance = ProgramInstance();
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    auto* dialogTemplate = loaded != nullptr ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr)
        return -1;
    return DialogBoxIndirectParamW(instance, dialogTemplate, owner, procedure, parameter);
}

void BringDialogToFront(HWND dialog)
{
    SetForegroundWindow(dialog);
    // Hidden, then shown: the handheld's program sends the pair, which leaves
    // the keyboard button up for this window whatever the last one asked.
    SHFullScreen(dialog, SHFS_HIDESIPBUTTON);
    SHFullScreen(dialog, SHFS_SHOWSIPBUTTON);
}

void ModalDialog::Run(HWND owner)
{
    if (dialog != nullptr) {
        BringToFront();
        return;
    }
    RunDialogFromResource(templateId, owner, DialogProc, reinterpret_cast<LPARAM>(this));
    dialog = nullptr;
}

void ModalDialog::BringToFront()
{
    if (dialog != nullptr)
        BringDialogToFront(dialog);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectDialogProc<ModalDialog, &ModalDialog::dialog, &ModalDialog::HandleMessage>(window, message, wParam,
                                                                                            lParam);
}

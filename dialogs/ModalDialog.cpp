#include "dialogs/ModalDialog.h"

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

// The About box: dialog 158 with the program's name, version and picture.
// Run ends when the user taps Done.
#pragma once

#include "dialogs/ModalDialog.h"

#include <windows.h>

class AboutBox : public ModalDialog {
public:
    AboutBox();
    ~AboutBox() override;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog();
    void OnDestroy();

    // The product name's larger type, made for the open dialog.
    HFONT nameFont = nullptr;
};

// The process-wide About box, made by the entry routine.
extern AboutBox* g_aboutBox;

// The titles editor: dialog 179, a full-screen modal dialog in which the
// user adds, deletes, reorders and clears the ready-made titles. It ends
// only through Done, which always saves.
#pragma once

#include "dialogs/ModalDialog.h"

#include <windows.h>

class TitlesEditor : public ModalDialog {
public:
    TitlesEditor();
    ~TitlesEditor() override;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnInitDialog();
    void OnPaint();
    void OnSettingChange(WPARAM action);
    void OnCommand(WORD id, WORD notification);
    void OnEditNotification(WORD notification);
    void InitControls();
    void UpdateButtons();
    void Add();
    void DeleteSelected();
    void MoveSelected(int step);
    void DeleteAllTitles();
    void SaveFromDialog();
    int Ask(const wchar_t* text, const wchar_t* caption, UINT buttons);

    HWND list = nullptr;
    HWND edit = nullptr;
    HWND moveUp = nullptr;
    HWND moveDown = nullptr;
    HWND deleteOne = nullptr;
    HWND add = nullptr;
    HWND deleteAll = nullptr;
};

// The menu-bar resource: an RCDATA of 16-bit little-endian words (the layout
// is documented in aygshell.h). Parsing is kept apart from the window so that
// a damaged resource can be checked without a screen.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <vector>

namespace ceshell {

struct MenuBarButton {
    int image = I_IMAGENONE;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    UINT labelId = 0;
    int subMenu = -1;  // -1: none (NOMENU in the resource)
};

struct MenuBarResource {
    UINT menuId = 0;
    std::vector<MenuBarButton> buttons;
};

// Reads size bytes at data. A resource cut short yields the complete
// buttons only; one too short for its header yields false.
bool ParseMenuBarResource(const BYTE* data, size_t size, MenuBarResource* out);

// Finds and parses RCDATA id of instance.
bool LoadMenuBarResource(HINSTANCE instance, UINT id, MenuBarResource* out);

}  // namespace ceshell

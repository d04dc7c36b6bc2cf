// A small child window showing one bitmap that tells its parent when it was
// tapped: on release it posts WM_USER + its control id, wherever the stylus
// is lifted.
#pragma once

#include <windows.h>

#include <string>

class ImageButton {
public:
    ImageButton();
    virtual ~ImageButton();
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;

    HWND Create(HWND parent, HINSTANCE instance, int bitmapId, const wchar_t* className, int controlId, int x,
                int y, int width, int height);
    void Destroy();

    HWND Window() const { return window; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnButtonDown();
    void OnButtonUp();

    HWND window = nullptr;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring className;
    int controlId = 0;
    HBITMAP bitmap = nullptr;
    bool pressed = false;
    int x = 0, y = 0, width = 0, height = 0;
};

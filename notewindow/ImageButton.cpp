#include "notewindow/ImageButton.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

ImageButton::ImageButton() = default;

ImageButton::~ImageButton()
{
    Destroy();
}

HWND ImageButton::Create(HWND owner, HINSTANCE module, int bitmapId, const wchar_t* name, int id, int left,
                         int top, int w, int h)
{
    Destroy();
    parent = owner;
    instance = module;
    controlId = id;
    x = left;
    y = top;
    width = w;
    height = h;
    className = name != nullptr ? name : L"";

    // Registered by the first note window and kept for the run.
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassOnce(windowClass))
        return nullptr;

    bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
    CreateWindowExW(0, className.c_str(), L"Button", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, this);
    return window;
}

void ImageButton::Destroy()
{
    if (window != nullptr && IsWindow(window)) {
        // Detached first: the messages of its destruction go to
        // DefWindowProcW, not to an object being reset.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
    window = nullptr;
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    bitmap = nullptr;
    className.clear();
    pressed = false;
}

LRESULT CALLBACK ImageButton::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<ImageButton, &ImageButton::window, &ImageButton::HandleMessage>(hwnd, message, wParam,
                                                                                            lParam);
}

LRESULT ImageButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown();
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp();
        return 0;
    case WM_NCDESTROY: {
        HWND self = window;
        window = nullptr;
        return DefWindowProcW(self, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ImageButton::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(window, &paint);
}

void ImageButton::OnButtonDown()
{
    pressed = true;
    InvalidateRect(window, nullptr, FALSE);
    SetCapture(window);
}

void ImageButton::OnButtonUp()
{
    if (!pressed)
        return;
    InvalidateRect(window, nullptr, FALSE);
    ReleaseCapture();
    pressed = false;
    PostMessageW(parent, WM_USER + controlId, 0, 0);
}

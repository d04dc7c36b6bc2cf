#include "InkHost.h"

#include "tests/support/MessagePump.h"

#include <richedit.h>

InkHost::InkHost(int width, int height)
    : parent_(commands, "host", WS_POPUP | WS_VISIBLE, RECT{0, 26, 240, 294}, nullptr, L"host")
{
    commands.Keep([](UINT message) { return message == WM_COMMAND; });
    commands.Clear();  // what creating the parent brought
    InitInkX();
    control_ = CreateWindowExW(0, INKX_CLASS_NAME, L"", 0x50B000CC, -1, 20, width, height, Parent(),
                               reinterpret_cast<HMENU>(105), GetModuleHandleW(nullptr), nullptr);
    inner_ = reinterpret_cast<HWND>(SendMessageW(control_, kInkMsgGetInnerWindow, 0, 0));
    INT32 setup[6] = {15, 2, 200, 16, 0, 0};
    SendMessageW(inner_, kInkMsgViewSetup, 0, reinterpret_cast<LPARAM>(setup));
    SendMessageW(inner_, kInkMsgSetZoom, 0, 100);
    Pump();
}

InkHost::~InkHost() = default;

int InkHost::InnerWidth() const
{
    RECT r;
    GetClientRect(inner_, &r);
    return r.right;
}

size_t InkHost::CountCommands(WORD low) const
{
    return commands.Count([this, low](const MessageRecord& m) {
        return LOWORD(m.wParam) == low && reinterpret_cast<HWND>(m.lParam) == control_;
    });
}

static DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken)
{
    std::vector<uint8_t>* out = reinterpret_cast<std::vector<uint8_t>*>(cookie);
    out->insert(out->end(), buffer, buffer + size);
    *taken = size;
    return 0;
}

std::vector<uint8_t> InkHost::StreamOut()
{
    std::vector<uint8_t> bytes;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&bytes), 0, Collect};
    SendMessageW(control_, kInkMsgStreamOut, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
    return bytes;
}

namespace {
struct Source {
    const std::vector<uint8_t>* bytes;
    size_t pos;
    size_t chunk;
};
}  // namespace

static DWORD CALLBACK Give(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* given)
{
    Source* s = reinterpret_cast<Source*>(cookie);
    size_t n = s->bytes->size() - s->pos;
    if (n > static_cast<size_t>(size))
        n = static_cast<size_t>(size);
    if (n > s->chunk)
        n = s->chunk;
    if (n > 0)
        memcpy(buffer, s->bytes->data() + s->pos, n);
    s->pos += n;
    *given = static_cast<LONG>(n);
    return 0;
}

LRESULT InkHost::StreamIn(const std::vector<uint8_t>& bytes, size_t chunk)
{
    Source source = {&bytes, 0, chunk > 0 ? chunk : 1};
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&source), 0, Give};
    return SendMessageW(control_, kInkMsgStreamIn, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
}

void InkHost::Stroke(const std::vector<POINT>& points)
{
    if (points.empty())
        return;
    SendMessageW(inner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(points[0].x, points[0].y));
    for (size_t i = 1; i < points.size(); ++i)
        SendMessageW(inner_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(points[i].x, points[i].y));
    SendMessageW(inner_, WM_LBUTTONUP, 0, MAKELPARAM(points.back().x, points.back().y));
}

void InkHost::Type(const wchar_t* text)
{
    for (const wchar_t* p = text; *p; ++p)
        SendMessageW(inner_, WM_CHAR, *p, 1);
}

std::vector<uint32_t> InkHost::CaptureWindow(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    std::vector<uint32_t> pixels;
    if (bits != nullptr) {
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        pixels.assign(p, p + static_cast<size_t>(client.right) * client.bottom);
    }
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return pixels;
}

void InkHost::Pump()
{
    ::Pump();
}

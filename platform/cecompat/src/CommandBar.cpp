#include "cecompat.h"

int WINAPI CommandBar_AddBitmap(HWND hwndCB, HINSTANCE hInst, int idBitmap, int iNumImages,
                                int iImageWidth, int iImageHeight)
{
    if (hwndCB == nullptr || iNumImages <= 0 || iImageWidth <= 0 || iImageHeight <= 0) {
        return -1;
    }
    // The handheld's command bar takes the image size with every strip; the
    // desktop toolbar takes it once, before its first image, and refuses a
    // change afterwards (which is harmless: the strips of one bar share it).
    SendMessageW(hwndCB, TB_SETBITMAPSIZE, 0, MAKELPARAM(iImageWidth, iImageHeight));
    TBADDBITMAP strip = {};
    strip.hInst = hInst;
    strip.nID = static_cast<UINT_PTR>(idBitmap);
    LRESULT first = SendMessageW(hwndCB, TB_ADDBITMAP, static_cast<WPARAM>(iNumImages),
                                 reinterpret_cast<LPARAM>(&strip));
    return static_cast<int>(first);
}

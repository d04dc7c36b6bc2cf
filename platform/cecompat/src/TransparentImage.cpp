#include "cecompat.h"

BOOL WINAPI TransparentImage(HDC destination, LONG destX, LONG destY, LONG destWidth,
                             LONG destHeight, HANDLE source, LONG sourceX, LONG sourceY,
                             LONG sourceWidth, LONG sourceHeight, COLORREF transparent)
{
    if (destination == nullptr || source == nullptr || destWidth <= 0 || destHeight <= 0 ||
        sourceWidth <= 0 || sourceHeight <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD type = GetObjectType(source);
    if (type == OBJ_DC || type == OBJ_MEMDC) {
        return TransparentBlt(destination, destX, destY, destWidth, destHeight,
                              static_cast<HDC>(source), sourceX, sourceY, sourceWidth,
                              sourceHeight, transparent);
    }
    if (type != OBJ_BITMAP) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HDC memory = CreateCompatibleDC(destination);
    if (memory == nullptr) {
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, source);
    BOOL done = TransparentBlt(destination, destX, destY, destWidth, destHeight, memory, sourceX,
                               sourceY, sourceWidth, sourceHeight, transparent);
    SelectObject(memory, old);
    DeleteDC(memory);
    return done;
}

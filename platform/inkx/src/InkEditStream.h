// Moves bytes through a caller's EDITSTREAM callback, the way the rich edit
// messages do: the callback may take or give fewer bytes than offered.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

class InkEditStream {
public:
    // Offers bytes in chunks until all are taken, the callback reports an
    // error (kept in dwError) or takes nothing. Returns the bytes taken.
    // The callback is handed the bytes themselves and may write on them:
    // they are a scratch copy of the content.
    static size_t Out(std::vector<uint8_t>& bytes, EDITSTREAM* stream);
    // Asks for chunks until the callback gives none or fails; never accepts
    // more than kMaxStreamBytes. Returns false when the callback failed
    // before giving anything.
    static bool In(EDITSTREAM* stream, std::vector<uint8_t>& bytes);

    static const size_t kChunkBytes = 64 * 1024;
    static const size_t kMaxStreamBytes = 256u * 1024 * 1024;
};

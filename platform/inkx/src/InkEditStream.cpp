#include "InkEditStream.h"

size_t InkEditStream::Out(std::vector<uint8_t>& bytes, EDITSTREAM* stream)
{
    if (stream == nullptr || stream->pfnCallback == nullptr)
        return 0;
    stream->dwError = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        size_t offer = bytes.size() - done;
        if (offer > kChunkBytes)
            offer = kChunkBytes;
        LONG taken = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, bytes.data() + done,
                                          static_cast<LONG>(offer), &taken);
        if (error != 0) {
            stream->dwError = error;
            break;
        }
        if (taken <= 0)
            break;
        done += static_cast<size_t>(taken) < offer ? static_cast<size_t>(taken) : offer;
    }
    return done;
}

bool InkEditStream::In(EDITSTREAM* stream, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    if (stream == nullptr || stream->pfnCallback == nullptr)
        return false;
    stream->dwError = 0;
    std::vector<uint8_t> chunk(kChunkBytes);
    while (bytes.size() < kMaxStreamBytes) {
        LONG given = 0;
        DWORD error = stream->pfnCallback(stream->dwCookie, chunk.data(),
                                          static_cast<LONG>(kChunkBytes), &given);
        if (error != 0) {
            stream->dwError = error;
            return !bytes.empty();
        }
        if (given <= 0)
            break;
        size_t n = static_cast<size_t>(given) < kChunkBytes ? static_cast<size_t>(given)
                                                             : kChunkBytes;
        if (n > kMaxStreamBytes - bytes.size())
            n = kMaxStreamBytes - bytes.size();
        bytes.insert(bytes.end(), chunk.data(), chunk.data() + n);
    }
    return true;
}

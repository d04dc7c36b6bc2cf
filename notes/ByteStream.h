// Little-endian readers and writers over byte buffers: the one way note
// files are laid out, whatever the build's own structure layout.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <string.h>

class ByteWriter {
public:
    ByteWriter(BYTE* buffer, size_t size) : start(buffer), size(size) {}

    void U8(BYTE value) { Put(&value, 1); }
    void U16(WORD value)
    {
        BYTE b[2] = {BYTE(value), BYTE(value >> 8)};
        Put(b, 2);
    }
    void U32(DWORD value)
    {
        BYTE b[4] = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
        Put(b, 4);
    }
    void Bytes(const void* data, size_t count) { Put(static_cast<const BYTE*>(data), count); }

    size_t Position() const { return position; }
    bool Overflowed() const { return overflowed; }

private:
    void Put(const BYTE* data, size_t count)
    {
        if (count > size - position) {
            overflowed = true;
            return;
        }
        memcpy(start + position, data, count);
        position += count;
    }

    BYTE* start;
    size_t size;
    size_t position = 0;
    bool overflowed = false;
};

class ByteReader {
public:
    ByteReader(const BYTE* buffer, size_t size) : start(buffer), size(size) {}

    // Each read returns false, and leaves its output alone, when the buffer
    // does not hold the whole field.
    bool U8(BYTE* value)
    {
        if (Remaining() < 1)
            return false;
        *value = start[position++];
        return true;
    }
    bool U16(WORD* value)
    {
        if (Remaining() < 2)
            return false;
        *value = WORD(start[position] | start[position + 1] << 8);
        position += 2;
        return true;
    }
    bool U32(DWORD* value)
    {
        if (Remaining() < 4)
            return false;
        *value = DWORD(start[position]) | DWORD(start[position + 1]) << 8 |
                 DWORD(start[position + 2]) << 16 | DWORD(start[position + 3]) << 24;
        position += 4;
        return true;
    }
    bool Bytes(void* out, size_t count)
    {
        if (Remaining() < count)
            return false;
        memcpy(out, start + position, count);
        position += count;
        return true;
    }
    void Skip(size_t count) { position += count < Remaining() ? count : Remaining(); }

    size_t Remaining() const { return size - position; }
    const BYTE* Current() const { return start + position; }

private:
    const BYTE* start;
    size_t size;
    size_t position = 0;
};

#include "notes/NoteRecord.h"

#include <stdlib.h>
#include <string.h>

NoteRecord::NoteRecord()
    : expiry(), dataLength(0), data(nullptr), expired(0), zoom(kDefaultNoteZoom)
{
    memset(title, 0, sizeof title);
}

void NoteRecord::ClearData()
{
    FreeNoteData(data);
    data = nullptr;
    dataLength = 0;
}

void NoteRecord::TakeData(BYTE* block, DWORD length)
{
    ClearData();
    data = block;
    dataLength = block != nullptr ? length : 0;
}

BYTE* AllocateNoteData(DWORD length)
{
    return static_cast<BYTE*>(malloc(length > 0 ? length : 1));
}

void FreeNoteData(BYTE* block)
{
    free(block);
}

// What a help layout needs of the screen: how tall the lines of a kind of
// block are, how wide they may be, and how much of a text fits a width.
// The viewer measures with a device context (HelpDcMeasure); the layout
// itself needs no window, so it also builds and is tested off the device.
#pragma once

#include "platform/peghelp/src/HelpDocument.h"

#include <stddef.h>

namespace peghelp {

class HelpTextMeasure {
public:
    virtual ~HelpTextMeasure() = default;
    // Starts the lines of one block of kind: their height (1 at least) and
    // the width they may take.
    virtual void Begin(BlockKind kind, int* lineHeight, int* width) = 0;
    // How many of the first count characters of text fit width pixels.
    virtual size_t Fit(const wchar_t* text, size_t count, int width) = 0;
    // Ends the block that Begin started.
    virtual void End() {}
};

}  // namespace peghelp

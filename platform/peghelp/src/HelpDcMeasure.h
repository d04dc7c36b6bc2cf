// Help text measured on a device context, in the font of each kind of block.
#pragma once

#include "platform/peghelp/src/HelpTextMeasure.h"

#include <windows.h>

#include <functional>

namespace peghelp {

// How a kind of block is shown: its font and the width its lines may take.
struct HelpLineStyle {
    HFONT font;
    int width;
};

class HelpDcMeasure : public HelpTextMeasure {
public:
    using StyleOf = std::function<HelpLineStyle(BlockKind)>;

    HelpDcMeasure(HDC dc, StyleOf styleOf) : dc_(dc), styleOf_(static_cast<StyleOf&&>(styleOf)) {}

    void Begin(BlockKind kind, int* lineHeight, int* width) override;
    size_t Fit(const wchar_t* text, size_t count, int width) override;
    void End() override;

private:
    HDC dc_;
    StyleOf styleOf_;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace peghelp

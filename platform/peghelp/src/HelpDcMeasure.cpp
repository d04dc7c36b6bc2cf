#include "platform/peghelp/src/HelpDcMeasure.h"

namespace peghelp {

void HelpDcMeasure::Begin(BlockKind kind, int* lineHeight, int* width)
{
    HelpLineStyle style = styleOf_(kind);
    previous_ = SelectObject(dc_, style.font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc_, &metrics);
    *lineHeight = metrics.tmHeight > 0 ? static_cast<int>(metrics.tmHeight) : 1;
    *width = style.width;
}

size_t HelpDcMeasure::Fit(const wchar_t* text, size_t count, int width)
{
    int fit = 0;
    SIZE extent = {};
    if (!GetTextExtentExPointW(dc_, text, static_cast<int>(count), width > 0 ? width : 0, &fit,
                               nullptr, &extent) ||
        fit < 0) {
        return 0;
    }
    return static_cast<size_t>(fit);
}

void HelpDcMeasure::End()
{
    SelectObject(dc_, previous_);
}

}  // namespace peghelp

#include "formats/PageStyle.h"

namespace formats {

namespace {

const int kSettingStyles[kPageSettingCount] = {kPageBlank, kPageGrid,       kPageRuled,
                                               kPageDotted, kPageLeftMargin, kPageTopMargin,
                                               kPageLeftTopMargin};

}  // namespace

PageRules RulesOf(int style)
{
    PageRules rules;
    rules.leftMargin = style == kPageLeftMargin || style == kPageLeftTopMargin;
    rules.topMargin = style == kPageTopMargin || style == kPageLeftTopMargin;
    rules.horizontal = rules.leftMargin || rules.topMargin || style == kPageRuled ||
                       style == kPageGrid || style == kPageDotted;
    rules.dotted = style == kPageDotted;
    rules.vertical = style == kPageGrid;
    return rules;
}

InkPoint TextOriginOf(int style)
{
    PageRules rules = RulesOf(style);
    InkPoint p = {2 * kInkUnitsPerPixel, 0};
    if (rules.leftMargin)
        p.x = kPageLeftMarginX + 3 * kInkUnitsPerPixel;
    if (rules.topMargin)
        p.y = kPageTopMarginY;
    return p;
}

int PageStyleOfSetting(int setting)
{
    if (setting <= 0 || setting >= kPageSettingCount)
        return kPageBlank;
    return kSettingStyles[setting];
}

}  // namespace formats

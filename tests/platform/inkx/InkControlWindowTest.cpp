// The real control, driven through its messages like a program drives it.
#include "InkHost.h"

#include <gtest/gtest.h>

#include <string.h>

static std::vector<POINT> Zigzag(int x, int y, int n)
{
    std::vector<POINT> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({x + i * 5, y + (i % 2) * 9});
    return pts;
}

TEST(InkControlWindowTest, CreatesInnerWindowAndAnswersZoom)
{
    InkHost host;
    ASSERT_NE(host.Control(), nullptr);
    ASSERT_NE(host.Inner(), nullptr);
    EXPECT_TRUE(IsChild(host.Control(), host.Inner()));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 150);
    EXPECT_EQ(150, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 400);
    EXPECT_EQ(300, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 5);
    EXPECT_EQ(25, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
}

// Thousands of damaged streams through EM_STREAMIN, in odd chunk sizes: the
// control never crashes and keeps answering with a valid stream.
#include "InkHost.h"

#include <gtest/gtest.h>

#include <string.h>

#include <random>

namespace {

std::vector<uint8_t> RichStream()
{
    InkHost host;
    host.Stroke({{5, 5}, {30, 40}, {60, 20}});
    host.Stroke({{70, 70}});
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"fuzz me\rplease");
    return host.StreamOut();
}

TEST(InkStreamInFuzzTest, DamagedStreamsNeverBreakTheControl)
{
    std::vector<uint8_t> good = RichStream();
    // A valid recording chunk in front, so that waves are damaged too.
    const uint8_t wave[] = {'R', 'E', 'C', 'D', 60, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0,
                            'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',
                            'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0, 0x11, 0x2B, 0, 0,
                            0x22, 0x56, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 8, 0, 0, 0,
                            1, 2, 3, 4, 5, 6, 7, 8};
    good.insert(good.begin() + 8, wave, wave + sizeof(wave));
    InkHost host;
    std::mt19937 random(99);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes;
        switch (round % 3) {
        case 0:
            bytes.assign(good.begin(), good.begin() + random() % (good.size() + 1));
            break;
        case 1:
            bytes = good;
            for (int k = 0; k < 4; ++k)
                bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
            break;
        default:
            bytes.resize(random() % 400);
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            if (bytes.size() >= 8 && round % 2 == 0)
                memcpy(bytes.data(), "INKX\x01\0\0\0", 8);
            break;
        }
        host.StreamIn(bytes, 1 + random() % 700);
        std::vector<uint8_t> out = host.StreamOut();
        ASSERT_GE(out.size(), 16u);
        ASSERT_EQ(0, memcmp(out.data(), "INKX", 4)) << "round " << round;
        if (round % 100 == 0) {
            // What was kept is itself a sound stream.
            InkHost other;
            other.StreamIn(out);
            ASSERT_EQ(out, other.StreamOut()) << "round " << round;
            host.Capture();
        }
    }
    // Intact data still loads whole afterwards.
    host.StreamIn(good, 13);
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_GT(out.size(), good.size() - 8);
}

}  // namespace

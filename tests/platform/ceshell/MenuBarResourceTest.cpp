#include <gtest/gtest.h>

#include <vector>

#include "MenuBarResource.h"
#include "aygshell.h"

using ceshell::MenuBarResource;
using ceshell::ParseMenuBarResource;

namespace {

std::vector<BYTE> Words(std::initializer_list<unsigned> words)
{
    std::vector<BYTE> bytes;
    for (unsigned word : words) {
        bytes.push_back(static_cast<BYTE>(word & 0xFF));
        bytes.push_back(static_cast<BYTE>(word >> 8));
    }
    return bytes;
}

}  // namespace

TEST(MenuBarResourceTest, ReadsEveryFieldOfEachButton)
{
    std::vector<BYTE> data = Words({169, 2,                                   //
                                    0xFFFE, 102, 4, 24, 1121, 0, 0,           //
                                    3, 1132, 6, 16, 1133, 0, NOMENU});
    MenuBarResource resource;
    ASSERT_TRUE(ParseMenuBarResource(data.data(), data.size(), &resource));
    EXPECT_EQ(169u, resource.menuId);
    ASSERT_EQ(2u, resource.buttons.size());
    EXPECT_EQ(I_IMAGENONE, resource.buttons[0].image);
    EXPECT_EQ(102, resource.buttons[0].command);
    EXPECT_EQ(4, resource.buttons[0].state);
    EXPECT_EQ(24, resource.buttons[0].style);
    EXPECT_EQ(1121u, resource.buttons[0].labelId);
    EXPECT_EQ(0, resource.buttons[0].subMenu);
    EXPECT_EQ(3, resource.buttons[1].image);
    EXPECT_EQ(1132, resource.buttons[1].command);
    EXPECT_EQ(6, resource.buttons[1].state);
    EXPECT_EQ(-1, resource.buttons[1].subMenu);
}

TEST(MenuBarResourceTest, CommandsAboveSignedRangeStayPositive)
{
    std::vector<BYTE> data = Words({1, 1, 0xFFFE, 40000, 4, 0, 0, 0, NOMENU});
    MenuBarResource resource;
    ASSERT_TRUE(ParseMenuBarResource(data.data(), data.size(), &resource));
    ASSERT_EQ(1u, resource.buttons.size());
    EXPECT_EQ(40000, resource.buttons[0].command);
}

TEST(MenuBarResourceTest, CutShortResourceKeepsOnlyCompleteButtons)
{
    // Declares five buttons, holds one and a half, and an odd trailing byte.
    std::vector<BYTE> data = Words({7, 5, 0xFFFE, 10, 4, 0, 1, 0, NOMENU, 0xFFFE, 11, 4});
    data.push_back(0x55);
    MenuBarResource resource;
    ASSERT_TRUE(ParseMenuBarResource(data.data(), data.size(), &resource));
    ASSERT_EQ(1u, resource.buttons.size());
    EXPECT_EQ(10, resource.buttons[0].command);
}

TEST(MenuBarResourceTest, CountSmallerThanDataIsObeyed)
{
    std::vector<BYTE> data = Words({7, 1, 0xFFFE, 10, 4, 0, 1, 0, NOMENU, 0xFFFE, 11, 4, 0, 1, 0, NOMENU});
    MenuBarResource resource;
    ASSERT_TRUE(ParseMenuBarResource(data.data(), data.size(), &resource));
    EXPECT_EQ(1u, resource.buttons.size());
}

TEST(MenuBarResourceTest, RefusesDataWithoutAHeader)
{
    std::vector<BYTE> data = Words({7});
    MenuBarResource resource;
    EXPECT_FALSE(ParseMenuBarResource(data.data(), data.size(), &resource));
    EXPECT_FALSE(ParseMenuBarResource(nullptr, 100, &resource));
    EXPECT_FALSE(ParseMenuBarResource(data.data(), data.size(), nullptr));
}

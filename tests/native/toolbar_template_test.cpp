#include "controls/toolbar_template.h"
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ctl;

TEST(ToolbarTemplate, EditorToolbarGetsIdentifiers100To115AndTwoRadioButtons) {
    int next = kFirstToolbarCommandId;
    const auto buttons =
        parseToolbarTemplate(app::kToolbarTemplate, app::kToolbarImages, tbbutton::kAutoSize, next);
    ASSERT_EQ(buttons.size(), 16u);
    EXPECT_EQ(next, 116);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ToolbarButton& b = buttons[i];
        EXPECT_EQ(b.commandId, 100 + static_cast<int>(i));
        EXPECT_TRUE(b.text.empty()) << i;
        if (i == 0 || i == 4 || i == 9 || i == 12 || i == 15) {
            EXPECT_EQ(b.style, tbbutton::kSeparator) << i;
            EXPECT_EQ(b.image, -1) << i;
            continue;
        }
        EXPECT_EQ(b.image, app::kToolbarImages[i]) << i;
        const bool alignButton = i == 10 || i == 11;
        EXPECT_EQ(b.style, alignButton ? 0x10 | tbbutton::kCheck | tbbutton::kGroup : 0x10) << i;
        EXPECT_EQ(b.state, i == 11 ? tbbutton::kEnabled | tbbutton::kChecked : tbbutton::kEnabled);
    }
}

TEST(ToolbarTemplate, PrefixesTextsAndImagesPastTheArray) {
    int next = 500;
    const std::vector<std::wstring_view> entries = {L" ", L"-", L"+! ", L"Open", L"^+Drop", L""};
    const std::vector<int> images = {3, -2, 1};
    const auto b = parseToolbarTemplate(entries, images, tbbutton::kAutoSize, next);
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(b[2].style, tbbutton::kAutoSize | tbbutton::kCheck | tbbutton::kGroup);
    EXPECT_EQ(b[3].text, L"Open");
    EXPECT_EQ(b[4].text, L"Drop");
    EXPECT_EQ(b[4].style, tbbutton::kAutoSize | tbbutton::kDropDown | tbbutton::kCheck);
    EXPECT_EQ(b[4].state, tbbutton::kEnabled | tbbutton::kChecked);
    EXPECT_EQ(b[5].state, tbbutton::kEnabled) << "an empty entry is an image-only button";
    // Past the array: the first image plus the buttons (not separators) before.
    std::vector<int> got;
    for (const ToolbarButton& button : b)
        got.push_back(button.image);
    EXPECT_EQ(got, (std::vector<int>{3, -1, 1, 5, 6, 7}));
    EXPECT_EQ(next, 506);
    EXPECT_EQ(parseToolbarTemplate(entries, {}, 0, next)[0].image, -1);
}

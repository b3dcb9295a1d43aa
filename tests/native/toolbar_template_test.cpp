#include "controls/toolbar_template.h"
#include "tests/support/editor_templates.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ctl;

namespace {

std::vector<ToolbarButtonSpec> parse(std::vector<std::wstring_view> entries,
                                     std::vector<int> images, int& next) {
    return parseToolbarTemplate(entries, images, tbbutton::kAutoSize, next);
}

} // namespace

TEST(ToolbarTemplate, EditorToolbarGetsSixteenIdentifiersAndTwoRadioButtons) {
    int next = kFirstToolbarCommandId;
    const auto buttons = parseToolbarTemplate(
        editor_templates::kToolbar, editor_templates::kToolbarImages, tbbutton::kAutoSize, next);
    ASSERT_EQ(buttons.size(), 16u);
    EXPECT_EQ(next, 116);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const ToolbarButtonSpec& b = buttons[i];
        EXPECT_EQ(b.commandId, 100 + static_cast<int>(i));
        EXPECT_TRUE(b.text.empty()) << i;
        const bool separator = i == 0 || i == 4 || i == 9 || i == 12 || i == 15;
        if (separator) {
            EXPECT_EQ(b.style, tbbutton::kSeparator) << i;
            EXPECT_EQ(b.image, -1) << i;
            EXPECT_EQ(b.state, 0) << i;
            continue;
        }
        EXPECT_EQ(b.image, editor_templates::kToolbarImages[i]) << i;
        const bool alignButton = i == 10 || i == 11;
        EXPECT_EQ(b.style, alignButton ? 0x10 | tbbutton::kCheck | tbbutton::kGroup : 0x10) << i;
        EXPECT_EQ(b.state, i == 11 ? tbbutton::kEnabled | tbbutton::kChecked : tbbutton::kEnabled)
            << i;
    }
}

TEST(ToolbarTemplate, PrefixesAndTexts) {
    int next = 500;
    const auto buttons =
        parse({L" ", L"-", L"+! ", L"-! ", L"Open", L"^Menu", L"^+Drop", L"", L"-!x", L"--"},
              {0, -2, 1, 2, 3, 4, 5, 6, 7, 8}, next);
    ASSERT_EQ(buttons.size(), 10u);
    EXPECT_EQ(buttons[0].image, 0);
    EXPECT_EQ(buttons[1].style, tbbutton::kSeparator);
    EXPECT_EQ(buttons[2].state, tbbutton::kEnabled | tbbutton::kChecked);
    EXPECT_EQ(buttons[3].style, buttons[2].style);
    EXPECT_EQ(buttons[3].image, 2);
    EXPECT_EQ(buttons[4].text, L"Open");
    EXPECT_EQ(buttons[4].style, tbbutton::kAutoSize);
    EXPECT_EQ(buttons[5].text, L"Menu");
    EXPECT_EQ(buttons[5].style, tbbutton::kAutoSize | tbbutton::kDropDown);
    EXPECT_EQ(buttons[6].style, tbbutton::kAutoSize | tbbutton::kDropDown | tbbutton::kCheck);
    EXPECT_EQ(buttons[6].state, tbbutton::kEnabled | tbbutton::kChecked);
    EXPECT_EQ(buttons[6].text, L"Drop");
    EXPECT_EQ(buttons[7].text, L"");
    EXPECT_EQ(buttons[7].state, tbbutton::kEnabled) << "an empty entry is an image-only button";
    EXPECT_EQ(buttons[8].text, L"x");
    EXPECT_EQ(buttons[9].text, L"-");
    EXPECT_EQ(buttons[9].style, tbbutton::kAutoSize | tbbutton::kCheck);
    EXPECT_EQ(next, 510);
}

TEST(ToolbarTemplate, ButtonsPastTheImagesCountOnFromTheFirstImage) {
    int next = 0;
    const auto buttons = parse({L" ", L"-", L" ", L" ", L"-", L" "}, {3, -2}, next);
    std::vector<int> images;
    for (const ToolbarButtonSpec& b : buttons)
        images.push_back(b.image);
    EXPECT_EQ(images, (std::vector<int>{3, -1, 4, 5, -1, 6}));

    const auto without = parse({L" ", L"A"}, {}, next);
    EXPECT_EQ(without[0].image, -1);
    EXPECT_EQ(without[1].image, -1);
    EXPECT_TRUE(parse({}, {1}, next).empty());
}

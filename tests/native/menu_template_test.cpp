#include "controls/menu_template.h"
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;

namespace {

MenuTemplateItem parse(std::vector<std::wstring_view> entries, std::uint32_t first = 4096) {
    return parseMenuTemplate(entries, first);
}

} // namespace

TEST(MenuTemplate, EditorMainMenuGivesItsTwentyNineItemsInCommandTableOrder) {
    std::uint32_t next = 4200;
    const MenuTemplateItem root = parseMenuTemplate(app::kMainMenuTemplate, next);
    EXPECT_EQ(next, 4200u + 29u);
    EXPECT_EQ(root.items.size(), 4u);

    const std::vector<std::wstring> expected = {L"File",
                                                L"New\tCtrl+N",
                                                L"Open...\tCtrl+O",
                                                L"Save\tCtrl+S",
                                                L"Save as...",
                                                L"-",
                                                L"Exit",
                                                L"Edit",
                                                L"Undo",
                                                L"-",
                                                L"Cut\tCtrl+X",
                                                L"Copy\tCtrl+C",
                                                L"Paste",
                                                L"Delete",
                                                L"-",
                                                L"Select All\tCtrl+A",
                                                L"View",
                                                L"Text Size",
                                                L"Increase\tCtrl++",
                                                L"Decrease\tCtrl+-",
                                                L"-",
                                                L"Normal\tCtrl+0",
                                                L"Text Align",
                                                L"Right",
                                                L"Center",
                                                L"Help",
                                                L"Help Topics",
                                                L"-",
                                                L"About Dawatik"};
    std::vector<std::wstring> captions;
    findInMenu(root, [&](const MenuTemplateItem& item, int index) {
        captions.push_back(item.separator ? L"-" : item.caption);
        EXPECT_EQ(item.commandId, 4200u + static_cast<std::uint32_t>(index));
        // Only Right and Center carry marks: radio group 1, Right checked.
        const bool alignItem = index == 23 || index == 24;
        EXPECT_EQ(item.checkable, alignItem) << index;
        EXPECT_EQ(item.radioGroup, alignItem ? 1u : 0u) << index;
        EXPECT_EQ(item.checked, index == 23) << index;
        return false;
    });
    EXPECT_EQ(captions, expected);
    EXPECT_EQ(root.items[2].items[1].items.size(), 2u) << "View > Text Align";
}

TEST(MenuTemplate, OpeningParenthesisOpensASubMenuOnlyRightAfterAnItem) {
    const MenuTemplateItem root = parse({L"(", L"A", L"(", L"B", L")", L"(", L"(", L"C", L")"});
    ASSERT_EQ(root.items.size(), 3u);
    EXPECT_EQ(root.items[0].caption, L"(");
    EXPECT_FALSE(root.items[0].hasSubMenu);
    ASSERT_EQ(root.items[1].items.size(), 1u);
    EXPECT_EQ(root.items[1].items[0].caption, L"B");
    EXPECT_EQ(root.items[2].caption, L"(");
    ASSERT_EQ(root.items[2].items.size(), 1u);
    EXPECT_EQ(root.items[2].items[0].caption, L"C");
}

TEST(MenuTemplate, EmptyEntryOrSurplusClosingEndsTheTemplateAtAnyDepth) {
    std::uint32_t next = 4096;
    const std::vector<std::wstring_view> entries = {L"File", L"(", L"New",  L"(", L"Text", L"",
                                                    L"Lost", L")", L"Exit", L")", L"Edit"};
    const MenuTemplateItem root = parseMenuTemplate(entries, next);
    EXPECT_EQ(menuItemCount(root), 3);
    EXPECT_EQ(next, 4099u);
    EXPECT_EQ(root.items[0].items[0].items[0].caption, L"Text");

    EXPECT_EQ(parse({L"A", L")", L"B"}).items.size(), 1u);
    EXPECT_TRUE(parse({L"", L"A"}).items.empty());
}

TEST(MenuTemplate, MarksRadioGroupsAndSecondExclamationStartingTheNextGroup) {
    const MenuTemplateItem root = parse({L"-!A", L"+!B", L"-!!C", L"+!D", L"-", L"-!E", L"X",
                                         L"+!!F", L"+Bold", L"!Loud", L"+A!", L"--"});
    std::vector<std::uint32_t> groups;
    std::vector<bool> checked;
    for (const MenuTemplateItem& item : root.items) {
        groups.push_back(item.radioGroup);
        checked.push_back(item.checked);
    }
    EXPECT_EQ(groups, (std::vector<std::uint32_t>{1, 1, 2, 2, 0, 1, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false, true, false, false, false, true, true,
                                          false, true, false}));
    EXPECT_EQ(root.items[2].caption, L"C");
    EXPECT_TRUE(root.items[8].checkable);
    EXPECT_EQ(root.items[8].caption, L"Bold");
    EXPECT_EQ(root.items[9].caption, L"!Loud"); // "!" marks only after "+" or "-"
    EXPECT_EQ(root.items[10].caption, L"A!");
    EXPECT_EQ(root.items[11].caption, L"-"); // checkable, not a separator
    EXPECT_FALSE(root.items[11].separator);
}

TEST(MenuTemplate, LookupTakesAnIndexOrFromFirstCommandIdAnIdentifier) {
    std::uint32_t next = kFirstMenuCommandId;
    const MenuTemplateItem first = parseMenuTemplate(app::kMainMenuTemplate, next);
    const MenuTemplateItem second = parseMenuTemplate(app::kMainMenuTemplate, next);
    EXPECT_EQ(menuItemAt(first, 4096)->caption, L"File");
    EXPECT_EQ(menuItemAt(first, 1)->caption, L"New\tCtrl+N");
    EXPECT_EQ(menuItemAt(first, 4096 + 24)->caption, L"Center");
    EXPECT_EQ(menuItemAt(first, 29), nullptr);
    EXPECT_EQ(menuItemAt(second, 4096), nullptr);
    EXPECT_EQ(menuItemAt(second, 4096 + 29)->caption, L"File");
    EXPECT_EQ(menuItemIndex(first, *menuItemAt(first, 24)), 24);
    EXPECT_EQ(menuItemIndex(second, *menuItemAt(first, 24)), -1);
}

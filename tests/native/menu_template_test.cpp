#include "controls/menu_template.h"
#include "tests/support/editor_templates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;

namespace {

MenuTemplateItem parse(std::vector<std::wstring_view> entries, std::uint32_t first = 4096) {
    return parseMenuTemplate(entries, first);
}

std::vector<std::wstring> captionsInIndexOrder(const MenuTemplateItem& root) {
    std::vector<std::wstring> captions;
    findInMenu(root, [&](const MenuTemplateItem& item, int index) {
        EXPECT_EQ(index, static_cast<int>(captions.size()));
        captions.push_back(item.separator ? L"<separator>" : item.caption);
        return false;
    });
    return captions;
}

} // namespace

TEST(MenuTemplate, EditorMainMenuGivesItsTwentyNineItemsInCommandTableOrder) {
    std::uint32_t next = 4200;
    const MenuTemplateItem root = parseMenuTemplate(editor_templates::kMainMenu, next);

    EXPECT_EQ(next, 4200u + 29u);
    EXPECT_EQ(menuItemCount(root), 29);
    const std::vector<std::wstring> expected = {L"File",
                                                L"New\tCtrl+N",
                                                L"Open...\tCtrl+O",
                                                L"Save\tCtrl+S",
                                                L"Save as...",
                                                L"<separator>",
                                                L"Exit",
                                                L"Edit",
                                                L"Undo",
                                                L"<separator>",
                                                L"Cut\tCtrl+X",
                                                L"Copy\tCtrl+C",
                                                L"Paste",
                                                L"Delete",
                                                L"<separator>",
                                                L"Select All\tCtrl+A",
                                                L"View",
                                                L"Text Size",
                                                L"Increase\tCtrl++",
                                                L"Decrease\tCtrl+-",
                                                L"<separator>",
                                                L"Normal\tCtrl+0",
                                                L"Text Align",
                                                L"Right",
                                                L"Center",
                                                L"Help",
                                                L"Help Topics",
                                                L"<separator>",
                                                L"About Dawatik"};
    EXPECT_EQ(captionsInIndexOrder(root), expected);

    // Four pop-ups on the bar; View holds the two sub-menus.
    ASSERT_EQ(root.items.size(), 4u);
    for (const MenuTemplateItem& popup : root.items)
        EXPECT_TRUE(popup.hasSubMenu) << std::string(popup.caption.begin(), popup.caption.end());
    const MenuTemplateItem& view = root.items[2];
    ASSERT_EQ(view.items.size(), 2u);
    EXPECT_EQ(view.items[0].items.size(), 4u);
    EXPECT_EQ(view.items[1].items.size(), 2u);

    // Command identifiers follow the item index; only Right and Center carry marks.
    findInMenu(root, [](const MenuTemplateItem& item, int index) {
        EXPECT_EQ(item.commandId, 4200u + static_cast<std::uint32_t>(index));
        const bool alignItem = index == 23 || index == 24;
        EXPECT_EQ(item.checkable, alignItem) << index;
        EXPECT_EQ(item.radioGroup, alignItem ? 1u : 0u) << index;
        EXPECT_EQ(item.checked, index == 23) << index;
        EXPECT_EQ(item.separator, item.caption.empty()) << index;
        return false;
    });
}

TEST(MenuTemplate, OpeningParenthesisOnlyOpensASubMenuRightAfterAnItem) {
    const MenuTemplateItem root = parse({L"(", L"A", L"(", L"B", L")", L"(", L"(", L"C", L")"});
    ASSERT_EQ(root.items.size(), 3u);
    EXPECT_EQ(root.items[0].caption, L"(");
    EXPECT_FALSE(root.items[0].hasSubMenu);
    EXPECT_TRUE(root.items[1].hasSubMenu);
    ASSERT_EQ(root.items[1].items.size(), 1u);
    EXPECT_EQ(root.items[1].items[0].caption, L"B");
    // After ")" a "(" is an item again, and the "(" right after it opens its sub-menu.
    EXPECT_EQ(root.items[2].caption, L"(");
    ASSERT_TRUE(root.items[2].hasSubMenu);
    ASSERT_EQ(root.items[2].items.size(), 1u);
    EXPECT_EQ(root.items[2].items[0].caption, L"C");
    EXPECT_EQ(menuItemCount(root), 5);

    // An item right before the last entry "(" opens an empty sub-menu.
    const MenuTemplateItem open = parse({L"A", L"("});
    ASSERT_EQ(open.items.size(), 1u);
    EXPECT_TRUE(open.items[0].hasSubMenu);
    EXPECT_TRUE(open.items[0].items.empty());
}

TEST(MenuTemplate, EmptyEntryOrSurplusClosingEndsTheTemplateAtAnyDepth) {
    std::uint32_t next = 4096;
    const MenuTemplateItem root =
        parseMenuTemplate(std::vector<std::wstring_view>{L"File", L"(", L"New", L"(", L"Text", L"",
                                                         L"Lost", L")", L"Exit", L")", L"Edit"},
                          next);
    EXPECT_EQ(menuItemCount(root), 3);
    EXPECT_EQ(next, 4099u);
    ASSERT_EQ(root.items.size(), 1u);
    EXPECT_EQ(root.items[0].items[0].items[0].caption, L"Text");

    const MenuTemplateItem surplus = parse({L"A", L")", L"B"});
    ASSERT_EQ(surplus.items.size(), 1u);
    EXPECT_EQ(surplus.items[0].caption, L"A");

    EXPECT_TRUE(parse({L"", L"A"}).items.empty());
    EXPECT_TRUE(parse({}).items.empty());
}

TEST(MenuTemplate, RadioGroupsContinueAmongSiblingsAndDoubleMarkStartsTheNext) {
    const MenuTemplateItem root = parse({L"-!A", L"+!B", L"-!!C", L"+!D", L"-", L"-!E", L"X",
                                         L"+!!F", L"Sub", L"(", L"-!G", L")", L"-!H"});
    std::vector<std::uint32_t> groups;
    std::vector<bool> checked;
    for (const MenuTemplateItem& item : root.items) {
        groups.push_back(item.radioGroup);
        checked.push_back(item.checked);
    }
    EXPECT_EQ(groups, (std::vector<std::uint32_t>{1, 1, 2, 2, 0, 1, 0, 2, 0, 1}));
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false, true, false, false, false, true,
                                          false, false}));
    EXPECT_EQ(root.items[2].caption, L"C");
    // Inside a sub-menu a radio item starts at group 1 whatever its parent's siblings were.
    EXPECT_EQ(root.items[8].items[0].radioGroup, 1u);
}

TEST(MenuTemplate, MarksAreReadOnlyAsPrefixes) {
    const MenuTemplateItem root = parse({L"+Bold", L"-Italic", L"!Loud", L"+A!", L"+", L"--"});
    ASSERT_EQ(root.items.size(), 6u);
    EXPECT_TRUE(root.items[0].checkable && root.items[0].checked);
    EXPECT_EQ(root.items[0].caption, L"Bold");
    EXPECT_TRUE(root.items[1].checkable && !root.items[1].checked);
    EXPECT_EQ(root.items[1].radioGroup, 0u);
    EXPECT_FALSE(root.items[2].checkable);
    EXPECT_EQ(root.items[2].caption, L"!Loud");
    EXPECT_EQ(root.items[3].caption, L"A!");
    EXPECT_EQ(root.items[3].radioGroup, 0u);
    EXPECT_TRUE(root.items[4].checked);
    EXPECT_EQ(root.items[4].caption, L"");
    EXPECT_FALSE(root.items[4].separator);
    EXPECT_FALSE(root.items[5].separator);
    EXPECT_EQ(root.items[5].caption, L"-");
}

TEST(MenuTemplate, LookupTakesAnIndexOrFromFirstCommandIdAnIdentifier) {
    std::uint32_t next = kFirstMenuCommandId;
    const MenuTemplateItem first = parseMenuTemplate(editor_templates::kMainMenu, next);
    ASSERT_NE(menuItemAt(first, 4096), nullptr);
    EXPECT_EQ(menuItemAt(first, 4096)->caption, L"File");
    EXPECT_EQ(menuItemAt(first, 1)->caption, L"New\tCtrl+N");
    EXPECT_EQ(menuItemAt(first, 4096 + 24)->caption, L"Center");
    EXPECT_EQ(menuItemAt(first, 28)->caption, L"About Dawatik");
    EXPECT_EQ(menuItemAt(first, 29), nullptr);
    EXPECT_EQ(menuItemAt(first, -1), nullptr);

    // A second menu numbered on: its own indexes, and identifiers past the first menu's.
    const MenuTemplateItem second = parseMenuTemplate(editor_templates::kMainMenu, next);
    EXPECT_EQ(menuItemAt(second, 4096), nullptr);
    EXPECT_EQ(menuItemAt(second, 4096 + 29)->caption, L"File");
    EXPECT_EQ(menuItemAt(second, 3)->caption, L"Save\tCtrl+S");

    const MenuTemplateItem* center = menuItemAt(first, 24);
    ASSERT_NE(center, nullptr);
    EXPECT_EQ(menuItemIndex(first, *center), 24);
    EXPECT_EQ(menuItemIndex(first, first), -1);
    EXPECT_EQ(menuItemIndex(second, *center), -1);
}

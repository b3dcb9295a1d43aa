#pragma once
// Menu templates: a whole menu tree spelt as an array of wide strings, "(" and ")" around
// sub-menus, "-" for separators, "+"/"-" for check marks and "!" for radio groups.
// Portable: no platform headers.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ctl {

// Entries read from the first to the last; an empty entry ends the template at any depth.
using MenuTemplate = std::span<const std::wstring_view>;

// Command identifiers of menu items come from one counter that starts here; lookups take a
// value this large as a command identifier as well as an item index.
inline constexpr std::uint32_t kFirstMenuCommandId = 0x1000;

struct MenuTemplateItem {
    // The text after the prefixes; a tab separates the shortcut text shown at the right.
    std::wstring caption;
    bool separator = false;
    bool checkable = false;
    bool checked = false;
    // 0: not a radio item; otherwise the number of its group among its siblings.
    std::uint32_t radioGroup = 0;
    std::uint32_t commandId = 0;
    // The item opens a sub-menu (which may be empty).
    bool hasSubMenu = false;
    std::vector<MenuTemplateItem> items;
};

// The menu the template spells: a root (no caption, command identifier 0) holding the items,
// numbered from `nextCommandId`, which is advanced past them.
MenuTemplateItem parseMenuTemplate(MenuTemplate entries, std::uint32_t& nextCommandId);

// ---- walking menu trees: template trees here, live menus (controls/menu.h) likewise
inline const std::vector<MenuTemplateItem>& subItems(const MenuTemplateItem& item) {
    return item.items;
}
inline std::uint32_t commandIdOf(const MenuTemplateItem& item) {
    return item.commandId;
}

namespace detail {
// Template trees hold their items by value, live menus by pointer.
template <class T>
decltype(auto) node(T& entry) {
    if constexpr (std::is_pointer_v<std::remove_cv_t<T>>)
        return *entry;
    else
        return (entry);
}

template <class Items, class Visit>
auto* walkItems(const Items& items, Visit& visit, int& index) {
    using Item = std::remove_reference_t<decltype(node(*items.begin()))>;
    for (auto& entry : items) {
        Item& item = node(entry);
        if (visit(item, index++))
            return &item;
        if (Item* hit = walkItems(subItems(item), visit, index))
            return hit;
    }
    return static_cast<Item*>(nullptr);
}
} // namespace detail

// Visits the items below a root in pre-order (item index 0, 1, ...: each item before its own
// items) until `visit(item, index)` answers true; returns that item or null.
template <class Root, class Visit>
auto* findInMenu(Root& root, Visit visit) {
    int index = 0;
    return detail::walkItems(subItems(root), visit, index);
}

// The item with pre-order index `key`, or, for a key of kFirstMenuCommandId or more, also the
// item with that command identifier; the first match wins.
template <class Root>
auto* menuItemAt(Root& root, std::int64_t key) {
    return findInMenu(root, [key](const auto& item, int index) {
        return index == key || (key >= kFirstMenuCommandId && commandIdOf(item) == key);
    });
}

// The pre-order index of `wanted` below `root`; -1 when it is not there (the root itself).
template <class Root, class Item>
int menuItemIndex(Root& root, const Item& wanted) {
    int found = -1;
    findInMenu(root, [&](const auto& item, int index) {
        if (&item != &wanted)
            return false;
        found = index;
        return true;
    });
    return found;
}

// Number of items in the whole tree below `root`.
template <class Root>
int menuItemCount(Root& root) {
    int count = 0;
    findInMenu(root, [&count](const auto&, int) {
        ++count;
        return false;
    });
    return count;
}

} // namespace ctl

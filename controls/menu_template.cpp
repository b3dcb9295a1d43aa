#include "controls/menu_template.h"

namespace ctl {

namespace {

class Parser {
public:
    Parser(MenuTemplate entries, std::uint32_t& nextCommandId)
        : entries_(entries), nextCommandId_(nextCommandId) {}

    // Reads items into `parent` from entry `i`; answers the index after what it consumed.
    std::size_t parse(MenuTemplateItem& parent, std::size_t i) {
        while (i < entries_.size()) {
            std::wstring_view entry = entries_[i];
            if (entry.empty())
                return i;
            if (entry == L")")
                return i + 1;

            MenuTemplateItem item;
            if (entry == L"-") {
                item.separator = true;
            } else {
                if (entry.front() == L'-' || entry.front() == L'+')
                    readCheckMarks(entry, item, parent);
                item.caption = entry;
            }
            item.commandId = nextCommandId_++;
            // "(" belongs to the item before it; anywhere else it is a caption like any other.
            item.hasSubMenu = i + 1 < entries_.size() && entries_[i + 1] == L"(";
            parent.items.push_back(std::move(item));
            if (parent.items.back().hasSubMenu)
                i = parse(parent.items.back(), i + 2);
            else
                ++i;
        }
        return i;
    }

private:
    // "+" or "-", then "!" for a radio item, then "!" again for a new radio group.
    static void readCheckMarks(std::wstring_view& entry, MenuTemplateItem& item,
                               const MenuTemplateItem& parent) {
        item.checkable = true;
        item.checked = entry.front() == L'+';
        entry.remove_prefix(1);
        if (entry.empty() || entry.front() != L'!')
            return;
        entry.remove_prefix(1);
        const std::uint32_t previous = parent.items.empty() ? 0 : parent.items.back().radioGroup;
        item.radioGroup = previous != 0 ? previous : 1;
        if (!entry.empty() && entry.front() == L'!') {
            entry.remove_prefix(1);
            ++item.radioGroup;
        }
    }

    MenuTemplate entries_;
    std::uint32_t& nextCommandId_;
};

} // namespace

MenuTemplateItem parseMenuTemplate(MenuTemplate entries, std::uint32_t& nextCommandId) {
    MenuTemplateItem root;
    // A surplus ")" at the top ends the menu just like the end of the template.
    Parser(entries, nextCommandId).parse(root, 0);
    return root;
}

} // namespace ctl

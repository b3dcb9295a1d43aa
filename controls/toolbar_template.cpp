#include "controls/toolbar_template.h"

namespace ctl {

namespace {

bool startsWith(std::wstring_view text, wchar_t c) {
    return !text.empty() && text.front() == c;
}

} // namespace

std::vector<ToolbarButton> parseToolbarTemplate(ToolbarTemplate entries,
                                                std::span<const int> images,
                                                std::uint8_t defaultStyle, int& nextCommandId) {
    std::vector<ToolbarButton> buttons;
    int buttonsSoFar = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::wstring_view entry = entries[i];
        ToolbarButton button;
        button.commandId = nextCommandId++;
        if (entry == L"-") {
            button.style = tbbutton::kSeparator;
            buttons.push_back(std::move(button));
            continue;
        }
        button.style = defaultStyle;
        button.state = tbbutton::kEnabled;
        if (startsWith(entry, L'^')) {
            button.style |= tbbutton::kDropDown;
            entry.remove_prefix(1);
        }
        if (startsWith(entry, L'-') || startsWith(entry, L'+')) {
            button.style |= tbbutton::kCheck;
            if (entry.front() == L'+')
                button.state |= tbbutton::kChecked;
            entry.remove_prefix(1);
            if (startsWith(entry, L'!')) {
                button.style |= tbbutton::kGroup;
                entry.remove_prefix(1);
            }
        }
        if (entry != L" ")
            button.text = entry;
        if (i < images.size())
            button.image = images[i];
        else if (!images.empty())
            button.image = images.front() + buttonsSoFar;
        ++buttonsSoFar;
        buttons.push_back(std::move(button));
    }
    return buttons;
}

} // namespace ctl

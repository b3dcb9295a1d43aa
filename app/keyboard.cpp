// The keyboard map on the edit field: every typed character passes through it before the edit
// field inserts it, and releasing an editing or navigation key ends a combination.

#include "app/Unit1.h"
#include "app/keyboard_map.h"

#include <windows.h>

#include <optional>
#include <string>

namespace app {

namespace {

// EM_GETLINE takes its buffer size in one 16-bit word.
constexpr std::size_t kMaxLineRead = 0xFFFF;

// The edit field as a combination sees it. Only the caret's line is read, so typing costs the
// same in a document of any length.
class EditTarget final : public TypingTarget {
public:
    explicit EditTarget(ctl::Control& edit) : edit_(edit) {}

    std::optional<char16_t> unitBeforeCaret() override {
        DWORD start = 0;
        DWORD end = 0;
        edit_.sendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                          reinterpret_cast<LPARAM>(&end));
        if (start != end || start == 0)
            return std::nullopt;
        const DWORD before = start - 1;
        // The line holding the code unit before the caret: at the start of a wrapped line
        // that is the line above.
        const LRESULT line = edit_.sendMessage(EM_LINEFROMCHAR, before);
        const LRESULT lineStart = edit_.sendMessage(EM_LINEINDEX, static_cast<WPARAM>(line));
        if (lineStart < 0 || static_cast<DWORD>(lineStart) > before)
            return 0;
        const std::size_t wanted = before - static_cast<DWORD>(lineStart) + 1;
        if (wanted > kMaxLineRead)
            return unitFromWholeText(before);
        std::wstring buffer(wanted, L'\0');
        buffer[0] = static_cast<wchar_t>(wanted);
        const auto copied = static_cast<std::size_t>(edit_.sendMessage(
            EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data())));
        return copied == wanted ? static_cast<char16_t>(buffer[wanted - 1]) : 0;
    }

    void deleteBeforeCaret() override { SendMessageW(edit_.handle(), WM_CHAR, VK_BACK, 1); }

private:
    // Lines of 64K code units and more exist only in edits that do not wrap.
    char16_t unitFromWholeText(DWORD position) {
        std::wstring text(static_cast<std::size_t>(position) + 2, L'\0');
        const auto copied = static_cast<DWORD>(
            GetWindowTextW(edit_.handle(), text.data(), static_cast<int>(text.size())));
        return copied > position ? static_cast<char16_t>(text[position]) : 0;
    }

    ctl::Control& edit_;
};

} // namespace

void MainWindow::onCharTyped(ctl::Control& sender, wchar_t& character, ctl::ShiftState) {
    if (document.loading()) {
        waiting.hold(character);
        character = 0;
        return;
    }
    EditTarget target(sender);
    character =
        static_cast<wchar_t>(typeKey(previousKey, static_cast<char16_t>(character), target));
}

// Delete, Shift+Delete (cut) and Shift+Insert (paste) change the text without a character, and
// Ctrl+Insert copies it; any key after something that waits for the file waits too, so that it
// acts in its turn.
void MainWindow::onKeyPressed(ctl::Control&, ctl::KeyCode& key, ctl::ShiftState shift) {
    const bool actsOnText = key == VK_DELETE || key == VK_INSERT;
    if (!document.loading() || !(actsOnText || !waiting.empty()))
        return;
    waiting.hold(key, shift);
    key = 0;
}

void MainWindow::onKeyReleased(ctl::Control&, ctl::KeyCode& key, ctl::ShiftState) {
    if (releaseEndsCombination(key))
        previousKey = 0;
}

} // namespace app

#pragma once
// The phonetic keyboard map: typed Latin characters become Arabic letters, signs and digits, and
// five keys typed twice (or after a given first key) combine with what the first key inserted.
// Portable: no platform headers. The rows are public so that the manual can be generated from
// the same table the editor uses.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace app {

// One row of the map: what a typed character becomes, and the combination it completes when it
// is typed right after `after` (0: it completes none).
struct KeyMapping {
    char16_t typed;
    char16_t replacement;
    std::string_view name; // Unicode name of the replacement
    char16_t after = 0;
    char16_t combined = 0;
    std::string_view combinedName;
};

// Every row, in the order of typed characters. Typed characters without a row pass unchanged.
std::span<const KeyMapping> keyMappings() noexcept;

// The single-key replacement of `typed`, or `typed` itself when the map leaves it alone.
char16_t mapKey(char16_t typed) noexcept;

// A combination that typing `typed` right after `previous` may form: the code unit the first
// key inserted, which the combination replaces, and the combined character. Typed once more,
// the second key replaces its own combined character again.
struct Combination {
    char16_t replaces;
    char16_t result;
    bool follows(char16_t inserted) const noexcept {
        return inserted != 0 && (inserted == replaces || inserted == result);
    }
};
std::optional<Combination> combinationOf(char16_t previous, char16_t typed) noexcept;

// The text being typed into, as far as a combination needs to see and change it.
class TypingTarget {
public:
    // The code unit just before the caret; none at the start of the text or with a selection,
    // where there is nothing before the caret that a combination could delete by mistake.
    virtual std::optional<char16_t> unitBeforeCaret() = 0;
    // Deletes the code unit before the caret, as Backspace does.
    virtual void deleteBeforeCaret() = 0;

protected:
    ~TypingTarget() = default;
};

// Types `typed` into `target` after `previousKey`: answers the character to insert and leaves
// the typed character, unmapped, in `previousKey`. A combination deletes what the previous key
// inserted, but only when that character still stands just before the caret; where another
// character stands there (the caret moved, the text was replaced) the key gives its single-key
// character. At the start of the text, or over a selection, it deletes nothing and gives the
// combined character.
char16_t typeKey(std::uint16_t& previousKey, char16_t typed, TypingTarget& target);

// Releasing a key with this virtual-key code ends every combination (Backspace to Help: the
// editing, navigation and modifier keys, and Space).
constexpr bool releaseEndsCombination(std::uint32_t virtualKey) noexcept {
    return virtualKey >= 8 && virtualKey <= 47;
}

} // namespace app

#pragma once
// The manual's keyboard character map, written as HTML tables from the map the editor types
// with, so the manual always tells what the program does. Portable: no platform headers.

#include "app/keyboard_map.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace manual {

// The markers in the manual's template: the tables replace the one, the program's version every
// other.
inline constexpr std::string_view kKeyboardMapMarker = "@KEYBOARD_MAP@";
inline constexpr std::string_view kVersionMarker = "@VERSION@";

// A drawing of a US keyboard (id map-keyboard) with what each key types, plain and with Shift,
// and the combinations on the keys that complete them; then four tables (ids map-letters,
// map-digits, map-combinations, map-unchanged): the keys that type a letter or sign, the digit
// keys, the two-key combinations, and the printable ASCII characters that pass unchanged.
// Plain ASCII: every non-ASCII character is a numeric reference.
std::string keyboardMapHtml(std::span<const app::KeyMapping> mappings);

// `text` with &, <, >, " and ' as character references.
std::string escapeHtml(std::string_view text);

// The template with its one keyboard marker replaced by `tables` and each version marker by
// `version`; nothing when the keyboard marker is missing or appears more than once.
std::optional<std::string> fillTemplate(std::string_view manualTemplate, std::string_view tables,
                                        std::string_view version);

} // namespace manual

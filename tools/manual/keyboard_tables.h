#pragma once
// The manual's keyboard character map, written as HTML tables from the map the editor types
// with, so the manual always tells what the program does. Portable: no platform headers.

#include "app/keyboard_map.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace manual {

// The marker in the manual's template that the tables replace.
inline constexpr std::string_view kKeyboardMapMarker = "@KEYBOARD_MAP@";

// A drawing of a US keyboard (id map-keyboard) with what each key types, plain and with Shift,
// and the combinations on the keys that complete them; then four tables (ids map-letters,
// map-digits, map-combinations, map-unchanged): the keys that type a letter or sign, the digit
// keys, the two-key combinations, and the printable ASCII characters that pass unchanged.
// Plain ASCII: every non-ASCII character is a numeric reference.
std::string keyboardMapHtml(std::span<const app::KeyMapping> mappings);

// `text` with &, <, >, " and ' as character references.
std::string escapeHtml(std::string_view text);

// The template with its one marker replaced by `tables`; nothing when the marker is missing or
// appears more than once.
std::optional<std::string> fillTemplate(std::string_view manualTemplate, std::string_view tables);

} // namespace manual

#pragma once
// Option sets of the constructors, mapped to window style (or dialog flag) bits through tables.
// Portable: no platform headers.

#include <cstdint>
#include <span>

namespace ctl {

struct OptionBits {
    std::uint32_t bits;
    // An inverted entry adds its bits when its option is absent.
    bool inverted = false;
};

// Walks the options from bit 0 upward over `table` and collects the bits they select.
constexpr std::uint32_t mapOptions(std::uint32_t options, std::span<const OptionBits> table) {
    std::uint32_t result = 0;
    for (std::size_t bit = 0; bit < table.size(); ++bit) {
        const bool present = (options >> bit) & 1u;
        if (present != table[bit].inverted)
            result |= table[bit].bits;
    }
    return result;
}

} // namespace ctl

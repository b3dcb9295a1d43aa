#pragma once
// Font object: a LOGFONTW and a text colour from which the native font is made on demand. It
// tells its owner when the description changes, so the owner switches before the old font goes.

#include "controls/colors.h"
#include "controls/handles.h"
#include "controls/object.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ctl {

using FontStyle = std::uint8_t;
namespace fontstyle {
inline constexpr FontStyle kBold = 0x01;
inline constexpr FontStyle kItalic = 0x02;
inline constexpr FontStyle kUnderline = 0x04;
inline constexpr FontStyle kStrikeOut = 0x08;
} // namespace fontstyle

class Font : public Object {
public:
    // A font with the defaults: face "Tahoma", default character set and height, window text
    // colour.
    static Font* create();
    // Copies `source` into `destination` (created when null) and makes it a clone that shares
    // the source's native font while the two descriptions are equal. Null source: releases
    // `destination` and answers null.
    static Font* assign(Font* destination, Font* source);

    const LOGFONTW& description() const noexcept { return description_; }
    Color color() const noexcept { return color_; }
    void setColor(Color color);
    LONG height() const noexcept { return description_.lfHeight; }
    void setHeight(LONG height) { setField(&LOGFONTW::lfHeight, height); }
    void setWidth(LONG width) { setField(&LOGFONTW::lfWidth, width); }
    void setWeight(LONG weight) { setField(&LOGFONTW::lfWeight, weight); }
    std::wstring faceName() const;
    void setFaceName(std::wstring_view face);
    FontStyle style() const noexcept;
    void setStyle(FontStyle style);

    // The native font, made when first needed after a change (shared with the font this one
    // was cloned from while both describe the same font).
    HFONT handle();
    // The same, shared: it stays valid for as long as any holder keeps it.
    std::shared_ptr<const UniqueFont> sharedHandle();

    // Called whenever the description changes.
    void setChangeNotice(std::function<void(Font&)> notice) { notice_ = std::move(notice); }

protected:
    Font();
    void destroy() override;

private:
    void setField(LONG LOGFONTW::*field, LONG value);
    void changed();
    bool sameDataAs(const Font& other) const noexcept;

    // Shared with clones: a clone's windows keep using it after this font has changed.
    std::shared_ptr<const UniqueFont> handle_;
    Ref<Font> parent_;
    COLORREF colorCache_ = 0;
    std::function<void(Font&)> notice_;
    Color color_ = kWindowTextColor;
    LOGFONTW description_{};
};

} // namespace ctl

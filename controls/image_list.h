#pragma once
// Image lists: pictures of one size cut from bitmaps, the native list created on first use;
// and bitmaps loaded from the resources for an object that deletes them with itself.

#include "controls/control.h"

#include <cstdint>

namespace ctl {

// The background colour value meaning "none": pictures are drawn over what lies beneath.
inline constexpr Color kNoBackgroundColor = 0x1FFFFFFF;

class ImageList : public Object {
public:
    Control* owner() const noexcept { return owner_; }

    // The native list, created on first use; null when it cannot be created.
    HIMAGELIST handle();
    // Takes another native list and its picture size; the current one is destroyed unless
    // shared. A null list leaves the size 0 x 0.
    void setHandle(HIMAGELIST list);

    // Index into the colour depths: 0 and 6 device-dependent, 1 to 5 4/8/16/24/32 bits,
    // 7 the platform default. Like the picture size, it counts only before the list exists.
    std::uint8_t colorDepth() const noexcept { return colorDepth_; }
    void setColorDepth(std::uint8_t index);
    int imageWidth() const noexcept { return width_; }
    int imageHeight() const noexcept { return height_; }
    void setImageWidth(int width);
    void setImageHeight(int height);

    // Cuts the bitmap into pictures, left to right; pixels of the mask colour become
    // transparent. Answers the index of the first picture added, -1 without a native list.
    int addMasked(HBITMAP bitmap, Color maskColor);

    // Read when the native list is created.
    bool masked = true;
    Color backgroundColor = kNoBackgroundColor;
    int growBy = 1;
    // The native list belongs to someone else and is not destroyed with this object.
    bool shared = false;

protected:
    void destroy() override;

private:
    friend ImageList* newImageList(Control& owner);
    ImageList() = default;
    bool create();
    void dropHandle() noexcept;

    Control* owner_ = nullptr;
    UniqueImageList handle_;
    std::uint8_t colorDepth_ = 7;
    int width_ = 32;
    int height_ = 32;
};

// A list owned by `owner` and released with it.
ImageList* newImageList(Control& owner);

// The bitmap resource `name`, deleted when `owner` is released; null when there is none.
HBITMAP loadBitmapResource(HINSTANCE instance, const wchar_t* name, Object& owner);

} // namespace ctl

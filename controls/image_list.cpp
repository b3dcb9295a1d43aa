#include "controls/image_list.h"

#include "controls/common_controls.h"

#include <commctrl.h>

#include <array>

namespace ctl {

namespace {

constexpr std::array<UINT, 8> kColorDepths = {ILC_COLORDDB, ILC_COLOR4,  ILC_COLOR8,   ILC_COLOR16,
                                              ILC_COLOR24,  ILC_COLOR32, ILC_COLORDDB, ILC_COLOR};

// A bitmap that lives as long as the object that registered it.
class OwnedBitmap : public Object {
public:
    explicit OwnedBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}

private:
    UniqueBitmap bitmap_;
};

} // namespace

ImageList* newImageList(Control& owner) {
    initCommonControls(ICC_WIN95_CLASSES);
    auto* list = new ImageList();
    list->owner_ = &owner;
    owner.own(*list);
    return list;
}

void ImageList::destroy() {
    Object::destroy(); // bitmaps loaded for this list go here
    dropHandle();
    // Freed on its own rather than by its owner: the owner must not release it again.
    if (owner_)
        owner_->disown(*this);
    owner_ = nullptr;
}

void ImageList::dropHandle() noexcept {
    if (shared)
        handle_.detach();
    else
        handle_.reset();
}

bool ImageList::create() {
    if (handle_)
        return true;
    if (width_ == 0 || height_ == 0)
        return false;
    const UINT flags = kColorDepths[colorDepth_] | (masked ? ILC_MASK : 0);
    handle_.reset(ImageList_Create(width_, height_, flags, 0, growBy));
    if (handle_ && backgroundColor != kNoBackgroundColor)
        ImageList_SetBkColor(handle_.get(), colorToRGB(backgroundColor));
    return static_cast<bool>(handle_);
}

HIMAGELIST ImageList::handle() {
    create();
    return handle_.get();
}

void ImageList::setHandle(HIMAGELIST list) {
    // Taking the list it already has must not destroy it first.
    if (list != handle_.get()) {
        dropHandle();
        handle_.reset(list);
    }
    width_ = 0;
    height_ = 0;
    if (list)
        ImageList_GetIconSize(list, &width_, &height_);
}

void ImageList::setColorDepth(std::uint8_t index) {
    if (!handle_ && index < kColorDepths.size())
        colorDepth_ = index;
}

void ImageList::setImageWidth(int width) {
    if (!handle_)
        width_ = width;
}

void ImageList::setImageHeight(int height) {
    if (!handle_)
        height_ = height;
}

int ImageList::addMasked(HBITMAP bitmap, Color maskColor) {
    if (!create())
        return -1;
    return ImageList_AddMasked(handle_.get(), bitmap, colorToRGB(maskColor));
}

HBITMAP loadBitmapResource(HINSTANCE instance, const wchar_t* name, Object& owner) {
    HBITMAP bitmap = LoadBitmapW(instance, name);
    if (bitmap)
        owner.own(*new OwnedBitmap(bitmap));
    return bitmap;
}

} // namespace ctl

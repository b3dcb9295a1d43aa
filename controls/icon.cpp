#include "controls/icon.h"

namespace ctl {

Icon* newIcon() {
    return new Icon();
}

void Icon::destroy() {
    Object::destroy();
    dropHandle();
}

void Icon::dropHandle() noexcept {
    if (shared_)
        handle_.detach();
    else
        handle_.reset();
    shared_ = false;
}

void Icon::setHandle(HICON icon) {
    if (icon == handle_.get())
        return;
    dropHandle();
    handle_.reset(icon);
    // An icon whose make-up cannot be read is drawn at the usual size, not the last one's.
    size_ = kDefaultSize;
    if (!icon)
        return;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return;
    // The mask is as wide as the icon (and twice as high for a monochrome one).
    BITMAP mask{};
    if (GetObjectW(info.hbmMask, sizeof(mask), &mask))
        size_ = mask.bmWidth;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
}

bool Icon::load(HINSTANCE instance, const wchar_t* name, int size) {
    auto icon = static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, LR_SHARED));
    setHandle(icon);
    shared_ = icon != nullptr;
    return shared_;
}

void Icon::draw(HDC dc, int x, int y) const {
    if (handle_)
        DrawIconEx(dc, x, y, handle_.get(), size_, size_, 0, nullptr, DI_NORMAL);
}

} // namespace ctl

#pragma once
// Icon objects: an icon handle with its size, loaded from the resources or taken over.

#include "controls/handles.h"
#include "controls/object.h"

#include <windows.h>

namespace ctl {

class Icon : public Object {
public:
    HICON handle() const noexcept { return handle_.get(); }
    // Takes over the icon (destroyed with this object) and reads its width; the previous icon
    // is destroyed unless it was loaded shared.
    void setHandle(HICON icon);
    // Width in pixels of the current icon; 32 before there is one.
    int size() const noexcept { return size_; }
    // A shared resource icon, never destroyed by this object.
    bool shared() const noexcept { return shared_; }

    // The icon resource `name` at size x size pixels; false when there is none.
    bool load(HINSTANCE instance, const wchar_t* name, int size);
    void draw(HDC dc, int x, int y) const;

protected:
    void destroy() override;

private:
    friend Icon* newIcon();
    Icon() = default;
    void dropHandle() noexcept;

    UniqueIcon handle_;
    static constexpr int kDefaultSize = 32;
    int size_ = kDefaultSize;
    bool shared_ = false;
};

Icon* newIcon();

} // namespace ctl

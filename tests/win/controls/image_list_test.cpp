// Image lists and icons: the toolbar's strip cut into masked pictures, creation rules, handle
// ownership, and the caption icons of forms.

#include "controls/icon.h"
#include "controls/image_list.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

COLORREF pictureColor(int index) {
    return RGB(20 + index * 20, 255 - index * 20, 100);
}

// A strip of `count` 16 x 16 pictures on black, each with a coloured square at (4,4)-(12,12).
HBITMAP makeStrip(int count) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16 * count, -16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const int stride = (16 * count * 3 + 3) & ~3;
    auto* bytes = static_cast<BYTE*>(bits);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16 * count; ++x) {
            const bool inSquare = x % 16 >= 4 && x % 16 < 12 && y >= 4 && y < 12;
            const COLORREF c = inSquare ? pictureColor(x / 16) : RGB(0, 0, 0);
            BYTE* p = bytes + y * stride + x * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    return strip;
}

// Draws one picture over white and reads two pixels: a corner and the centre.
struct Drawn {
    COLORREF corner;
    COLORREF centre;
};
Drawn drawOverWhite(HIMAGELIST list, int index) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    const Drawn drawn{GetPixel(dc, 1, 1), GetPixel(dc, 8, 8)};
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return drawn;
}

DWORD imageListFlags(HIMAGELIST list) {
    using GetFlags = DWORD(WINAPI*)(HIMAGELIST);
    auto getFlags = reinterpret_cast<GetFlags>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"comctl32"), "ImageList_GetFlags")));
    return getFlags ? getFlags(list) : 0xFFFFFFFF;
}

HICON makeIcon(int size, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP colourBits = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colourBits);
    RECT all{0, 0, size, size};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, colourBits};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colourBits);
    return icon;
}

bool iconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return false;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return true;
}

HICON captionIcon(HWND window) {
    return reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
}

// A list as the main window makes for its toolbar: 16 x 16, device-dependent colours.
ImageList* toolbarList(Control& owner) {
    ImageList* list = newImageList(owner);
    list->setImageWidth(16);
    list->setImageHeight(16);
    list->setColorDepth(6);
    return list;
}

} // namespace

TEST(ImageList, ToolbarStripBecomesElevenMaskedDeviceColourPictures) {
    ScopedForm form;
    ImageList* list = toolbarList(*form);
    HBITMAP strip = makeStrip(11);

    EXPECT_EQ(list->addMasked(strip, 0), 0);
    HIMAGELIST native = list->handle();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(native), 11);
    EXPECT_EQ(imageListFlags(native), static_cast<DWORD>(ILC_COLORDDB | ILC_MASK));
    int width = 0, height = 0;
    ImageList_GetIconSize(native, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);

    // Black is transparent: the white beneath shows; the square keeps its colour.
    for (int index : {0, 5, 10}) {
        const Drawn drawn = drawOverWhite(native, index);
        EXPECT_EQ(drawn.corner, RGB(255, 255, 255)) << index;
        EXPECT_EQ(drawn.centre, pictureColor(index)) << index;
    }
    EXPECT_EQ(list->addMasked(strip, 0), 11);

    // Once the list exists its size and depth stay.
    list->setImageWidth(32);
    list->setColorDepth(1);
    EXPECT_EQ(list->imageWidth(), 16);
    EXPECT_EQ(list->colorDepth(), 6);
    DeleteObject(strip);
}

TEST(ImageList, ProgramStripLoadedForTheListGoesWithIt) {
    ScopedForm form;
    ImageList* list = toolbarList(*form);
    HBITMAP strip = loadBitmapResource(GetModuleHandleW(nullptr), L"FMAIN_IMAGELIST1", *list);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(list->addMasked(strip, 0), 0);
    EXPECT_EQ(ImageList_GetImageCount(list->handle()), 11);
    EXPECT_EQ(GetObjectType(strip), static_cast<DWORD>(OBJ_BITMAP));
    list->release();
    EXPECT_EQ(GetObjectType(strip), 0u) << "deleted with the list";
    EXPECT_EQ(loadBitmapResource(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP", *form), nullptr);
}

TEST(ImageList, DefaultsUncreatableListsAndForeignHandles) {
    ScopedForm form;
    ImageList* list = newImageList(*form);
    EXPECT_EQ(list->imageWidth(), 32);
    list->setColorDepth(8); // no such depth
    EXPECT_EQ(list->colorDepth(), 7);
    list->setImageHeight(0);
    HBITMAP strip = makeStrip(1);
    EXPECT_EQ(list->addMasked(strip, 0), -1);
    EXPECT_EQ(list->handle(), nullptr);
    DeleteObject(strip);

    // A list made elsewhere brings its size; shared, it outlives the object.
    HIMAGELIST foreign = ImageList_Create(24, 20, ILC_COLOR32, 0, 1);
    list->shared = true;
    list->setHandle(foreign);
    list->setHandle(foreign); // the same list again is kept, not destroyed
    EXPECT_EQ(list->imageWidth(), 24);
    EXPECT_EQ(list->imageHeight(), 20);
    list->release(); // before its owner, which must not release it again
    int width = 0, height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(foreign, &width, &height));
    EXPECT_EQ(width, 24);
    ImageList_Destroy(foreign);
}

TEST(Icon, TakesSizeFromTheIconAndDestroysWhatItOwns) {
    Icon* icon = newIcon();
    EXPECT_EQ(icon->size(), 32);
    HICON big = makeIcon(48, RGB(200, 0, 0));
    icon->setHandle(big);
    EXPECT_EQ(icon->size(), 48);
    EXPECT_FALSE(icon->shared());

    HICON small = makeIcon(16, RGB(0, 0, 200));
    icon->setHandle(small);
    EXPECT_FALSE(iconAlive(big));
    EXPECT_EQ(icon->size(), 16);
    icon->release();
    EXPECT_FALSE(iconAlive(small));

    // The program's icon, as the About window draws it: large, shared, never destroyed.
    Icon* about = newIcon();
    ASSERT_TRUE(about->load(GetModuleHandleW(nullptr), L"MAINICON", 48));
    EXPECT_EQ(about->size(), 48);
    EXPECT_TRUE(about->shared());
    const HICON loaded = about->handle();
    about->release();
    EXPECT_TRUE(iconAlive(loaded));
}

TEST(FormIcon, SecondFormShowsACopyOfTheMainWindowsIcon) {
    ScopedForm main(L"Main");
    application().form = main.get();
    ASSERT_TRUE(main->ensureHandle());
    const HICON mine = captionIcon(main->handle());
    EXPECT_EQ(mine, LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    ASSERT_NE(mine, nullptr);

    auto second = std::make_unique<ScopedForm>(L"Second");
    ASSERT_TRUE((*second)->ensureHandle());
    const HICON copy = captionIcon((*second)->handle());
    EXPECT_NE(copy, nullptr);
    EXPECT_NE(copy, mine);
    EXPECT_EQ((*second)->getIcon(), copy);

    // Another icon for the second form ends its copy; no icon at all clears the caption.
    HICON other = makeIcon(32, RGB(0, 0, 150));
    (*second)->setIcon(other);
    EXPECT_EQ(captionIcon((*second)->handle()), other);
    EXPECT_FALSE(iconAlive(copy));
    (*second)->setIcon(kNoIcon);
    EXPECT_EQ(captionIcon((*second)->handle()), nullptr);
    EXPECT_EQ((*second)->getIcon(), nullptr);
    EXPECT_TRUE(iconAlive(other)) << "an icon handed in stays its giver's";

    // Closing a form with its own copy leaves the main window's icon alone.
    auto third = std::make_unique<ScopedForm>(L"Third");
    ASSERT_TRUE((*third)->ensureHandle());
    const HICON thirdCopy = captionIcon((*third)->handle());
    third.reset();
    second.reset();
    EXPECT_FALSE(iconAlive(thirdCopy));
    EXPECT_TRUE(iconAlive(mine));
    application().form = nullptr;
    DestroyIcon(other);
}

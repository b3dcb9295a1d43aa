// The program's own resources, linked into this test program as into the editor.

#include "controls/common_controls.h"
#include "controls/handles.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwctype>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kStripWidth = 176, kSide = 16, kPictures = 11;
constexpr COLORREF kBackground = RGB(0x12, 0xE0, 0x34);

HMODULE self() {
    return GetModuleHandleW(nullptr);
}

// A 32-bit top-down DIB section with a memory DC, for drawing and reading back pixels.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(kBackground);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const auto bgrx = static_cast<const std::uint32_t*>(bits_)[y * width_ + x];
        return RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// The strip's pixels as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> stripPixels(HBITMAP strip) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kStripWidth;
    info.bmiHeader.biHeight = -kSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(kStripWidth * kSide);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, strip, 0, kSide, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, kSide);
    for (auto& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

std::wstring versionString(const std::vector<BYTE>& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0)
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

} // namespace

TEST(ProgramResources, ToolbarStripCutsIntoElevenMaskedPictures) {
    HBITMAP strip = LoadBitmapW(self(), L"FMAIN_IMAGELIST1");
    ASSERT_NE(strip, nullptr);
    ctl::UniqueBitmap owner(strip);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(strip, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, kStripWidth);
    EXPECT_EQ(info.bmHeight, kSide);
    const std::vector<std::uint32_t> source = stripPixels(strip);

    // As the main window fills its toolbar list: device-dependent colours, black masked out.
    ctl::initCommonControls(ICC_BAR_CLASSES);
    HIMAGELIST list = ImageList_Create(kSide, kSide, ILC_COLORDDB | ILC_MASK, 0, 1);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_AddMasked(list, strip, RGB(0, 0, 0)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), kPictures);

    for (int i = 0; i < kPictures; ++i) {
        Canvas canvas(kSide, kSide);
        ASSERT_TRUE(ImageList_Draw(list, i, canvas.dc(), 0, 0, ILD_NORMAL));
        int drawn = 0, clear = 0, wrong = 0;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const bool black = source[y * kStripWidth + i * kSide + x] == 0;
                const bool showsBackground = canvas.at(x, y) == kBackground;
                (black ? clear : drawn) += 1;
                wrong += black != showsBackground;
            }
        }
        // Each picture is drawn in its own cell, with a transparent margin around it.
        EXPECT_GT(drawn, 40) << "picture " << i;
        EXPECT_GT(clear, 20) << "picture " << i;
        EXPECT_EQ(wrong, 0) << "picture " << i;
    }
    ImageList_Destroy(list);
}

TEST(ProgramResources, IconHoldsThreeTrueColourSizesWithTransparency) {
    HRSRC found = FindResourceW(self(), L"MAINICON", RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(self(), found)));
    ASSERT_NE(group, nullptr);
    // Group header (reserved, type, count), then 14-byte entries: width, height, colours,
    // reserved, planes, bits per pixel, size, id.
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::set<std::tuple<int, int, int>> pictures;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        pictures.insert({entry[0], entry[1], *reinterpret_cast<const WORD*>(entry + 6)});
    }
    EXPECT_EQ(pictures,
              (std::set<std::tuple<int, int, int>>{{48, 48, 32}, {32, 32, 32}, {16, 16, 32}}));

    for (int size : {48, 32, 16}) {
        auto icon = static_cast<HICON>(LoadImageW(self(), L"MAINICON", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO parts{};
        ASSERT_TRUE(GetIconInfo(icon, &parts));
        BITMAP mask{};
        GetObjectW(parts.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, size);
        DeleteObject(parts.hbmMask);
        DeleteObject(parts.hbmColor);

        // The page leaves the corners free: they must show what lies behind the icon.
        Canvas canvas(size, size);
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(canvas.at(0, size - 1), kBackground) << size;
        EXPECT_EQ(canvas.at(size - 1, 0), kBackground) << size;
        EXPECT_NE(canvas.at(size / 2, size / 2), kBackground) << size;
        DestroyIcon(icon);
    }
}

TEST(ProgramResources, VersionInformationNamesTheProgram) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    EXPECT_EQ(versionString(block, L"FileDescription"), L"Dawatik 1.4");
    EXPECT_EQ(versionString(block, L"ProductName"), L"Dawatik");
    EXPECT_EQ(versionString(block, L"FileVersion"), L"1.4.0.0");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"1.4.0.0");
    EXPECT_EQ(versionString(block, L"OriginalFilename"), L"dawatik.exe");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(4, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ProgramResources, ManifestLoadsVersionSixCommonControls) {
    ctl::initCommonControls(ICC_BAR_CLASSES);
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(comctl, path, MAX_PATH), 0u);
    std::wstring lower(path);
    for (auto& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    // Version 6 is a side-by-side assembly; the version 5 library lives in the system folder.
    EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos) << lower;
    EXPECT_NE(lower.find(L"common-controls"), std::wstring::npos) << lower;
}

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

HMODULE self() {
    return GetModuleHandleW(nullptr);
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

TEST(ProgramResources, ToolbarStripHoldsElevenPicturesOnBlack) {
    ctl::UniqueBitmap strip(LoadBitmapW(self(), L"FMAIN_IMAGELIST1"));
    ASSERT_TRUE(strip.get());
    BITMAP info{};
    ASSERT_EQ(GetObjectW(strip.get(), sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, kStripWidth);
    EXPECT_EQ(info.bmHeight, kSide);

    // Every 16-pixel cell holds a picture of its own with a transparent (black) margin.
    BITMAPINFO format{};
    format.bmiHeader = {
        sizeof(BITMAPINFOHEADER), kStripWidth, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(kStripWidth * kSide);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDIBits(screen, strip.get(), 0, kSide, pixels.data(), &format, DIB_RGB_COLORS),
              kSide);
    ReleaseDC(nullptr, screen);
    for (int i = 0; i < kPictures; ++i) {
        int drawn = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                drawn += (pixels[y * kStripWidth + i * kSide + x] & 0xFFFFFF) != 0;
        EXPECT_GT(drawn, 40) << "picture " << i;
        EXPECT_LT(drawn, kSide * kSide - 20) << "picture " << i;
    }
}

TEST(ProgramResources, IconHoldsThreeTrueColourSizes) {
    HRSRC found = FindResourceW(self(), L"MAINICON", RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(self(), found)));
    ASSERT_NE(group, nullptr);
    // Group header (reserved, type, count), then 14-byte entries: width, height, colours,
    // reserved, planes, bits per pixel, size, id.
    std::set<std::tuple<int, int, int>> pictures;
    for (WORD i = 0; i < *reinterpret_cast<const WORD*>(group + 4); ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        pictures.insert({entry[0], entry[1], *reinterpret_cast<const WORD*>(entry + 6)});
    }
    EXPECT_EQ(pictures,
              (std::set<std::tuple<int, int, int>>{{48, 48, 32}, {32, 32, 32}, {16, 16, 32}}));

    // Each picture loads (the platform scales a missing size, so only loading can fail).
    for (int size : {48, 32, 16}) {
        ctl::UniqueIcon icon(
            static_cast<HICON>(LoadImageW(self(), L"MAINICON", IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon.get()) << size;
    }
}

TEST(ProgramResources, VersionInformationNamesTheProgram) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
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
}

TEST(ProgramResources, ManifestLoadsVersionSixCommonControls) {
    ctl::initCommonControls(ICC_BAR_CLASSES);
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH), 0u);
    std::wstring lower(path);
    for (auto& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    // Version 6 is a side-by-side assembly; the version 5 library lives in the system folder.
    EXPECT_NE(lower.find(L"\\winsxs\\"), std::wstring::npos);
    EXPECT_NE(lower.find(L"common-controls"), std::wstring::npos);
}

#pragma once
// A part of the screen as the user sees it, for what another process's windows do not tell:
// Wine keeps a menu's items inside its process, so its marks and rows are read from the screen.

#include <windows.h>

#include <algorithm>
#include <vector>

namespace e2e {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)] &
               0xFFFFFF;
    }

    // The colour most of the picture has: its background.
    COLORREF background() const {
        std::vector<COLORREF> sorted;
        sorted.reserve(pixels.size());
        for (COLORREF pixel : pixels)
            sorted.push_back(pixel & 0xFFFFFF);
        std::sort(sorted.begin(), sorted.end());
        COLORREF most = 0;
        std::size_t mostCount = 0;
        for (std::size_t i = 0; i < sorted.size();) {
            std::size_t j = i;
            while (j < sorted.size() && sorted[j] == sorted[i])
                ++j;
            if (j - i > mostCount) {
                mostCount = j - i;
                most = sorted[i];
            }
            i = j;
        }
        return most;
    }

    static Picture ofScreen(const RECT& area) {
        Picture picture;
        picture.width = area.right - area.left;
        picture.height = area.bottom - area.top;
        if (picture.width <= 0 || picture.height <= 0)
            return {};
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
        SelectObject(memory, old);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = picture.width;
        info.bmiHeader.biHeight = -picture.height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                              static_cast<std::size_t>(picture.height));
        if (!GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                       &info, DIB_RGB_COLORS))
            picture.pixels.clear();
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return picture;
    }

    // A window's client area.
    static Picture ofClientArea(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return ofScreen(client);
    }

    // Waits until two pictures of a window's client area agree (it has painted) and gives it.
    static Picture settledClientArea(HWND window, DWORD timeoutMs = 3000) {
        Picture previous;
        const DWORD end = GetTickCount() + timeoutMs;
        for (;;) {
            Picture now = ofClientArea(window);
            const bool same = !now.pixels.empty() && now.pixels == previous.pixels;
            previous = std::move(now);
            if (same || GetTickCount() > end)
                return previous;
            Sleep(30);
        }
    }
};

} // namespace e2e

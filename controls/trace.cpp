#include "controls/trace.h"

#include <cwchar>
#include <exception>
#include <string>

namespace ctl {

namespace {

std::wstring widened(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

} // namespace

void traceStoppedException(std::wstring_view where, UINT message) noexcept {
    try {
        wchar_t number[16] = {};
        std::swprintf(number, 16, L"0x%04X", message);
        std::wstring line = L"Dawatik: an exception was stopped in ";
        line += where;
        line += L" while it handled message ";
        line += number;
        try {
            throw;
        } catch (const std::exception& failure) {
            line += L": ";
            line += widened(failure.what());
        } catch (...) {
        }
        line += L"\n";
        OutputDebugStringW(line.c_str());
    } catch (...) {
        OutputDebugStringW(L"Dawatik: an exception was stopped at a window procedure\n");
    }
}

} // namespace ctl

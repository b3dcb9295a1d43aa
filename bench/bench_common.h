#pragma once
// What every benchmark program shares: a clock, medians, the message pump, the test documents
// and the one output format the bench script reads.

#include "tests/win/support/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double milliseconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// `units` code units of Arabic words in lines of about `lineUnits` (short by default: Wine's
// edit field is very slow with long wrapped lines), ending in CR LF, so loading leaves the text
// exactly as stored.
inline std::wstring arabicText(std::size_t units, std::size_t lineUnits = 60) {
    const std::wstring words[] = {L"\x0627\x0644\x0633\x0644\x0627\x0645",
                                  L"\x0639\x0644\x064A\x0643\x0645",
                                  L"\x0648\x0631\x062D\x0645\x0629", L"\x0627\x0644\x0644\x0647",
                                  L"\x0648\x0628\x0631\x0643\x0627\x062A\x0647"};
    std::wstring text;
    text.reserve(units + lineUnits + 16);
    std::wstring line;
    for (std::size_t i = 0; text.size() + line.size() < units; ++i) {
        line += words[i % 5] + L" ";
        if (line.size() >= lineUnits) {
            text += line + L"\r\n";
            line.clear();
        }
    }
    text += line;
    text.resize(units - 2);
    if (text.back() == L'\r')
        text.back() = L' ';
    return text + L"\r\n";
}

// A document file of exactly `bytes` bytes: the byte-order mark, then the text.
inline bool writeDocumentFile(const std::wstring& path, std::size_t bytes,
                              std::size_t lineUnits = 60) {
    const std::wstring image = L'\xFEFF' + arabicText(bytes / 2 - 1, lineUnits);
    return testing_files::writeBytes(
        path, std::string(reinterpret_cast<const char*>(image.data()), image.size() * 2));
}

// A document file read whole, its byte-order mark first; empty when it cannot be read.
inline std::wstring readDocumentFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    const auto bytes = static_cast<DWORD>(size.QuadPart);
    std::wstring text(bytes / 2, L'\0');
    DWORD got = 0;
    const BOOL read = ReadFile(file, text.data(), bytes, &got, nullptr);
    CloseHandle(file);
    if (!read || got != bytes)
        return {};
    return text;
}

// The median of the ratios of paired rounds: each round times the program and its bound back to
// back, so a burst of other load on the machine affects both sides of one ratio alike.
inline double pairedRatio(const std::vector<double>& mine, const std::vector<double>& bound) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < mine.size() && i < bound.size(); ++i) {
        if (bound[i] > 0)
            ratios.push_back(mine[i] / bound[i]);
    }
    return median(ratios);
}

// One result line for the bench script: figure, Dawatik's median, the bound's median, unit,
// target kind and value, rounds, median of the paired ratios.
inline void printRow(const char* figure, const std::vector<double>& mine,
                     const std::vector<double>& bound, const char* unit, const char* target) {
    std::printf("ROW|%s|%.3f|%.3f|%s|%s|%zu|%.4f\n", figure, median(mine), median(bound), unit,
                target, mine.size(), pairedRatio(mine, bound));
    std::fflush(stdout);
}

} // namespace bench

#pragma once
// Help Topics from a test: the shell is made to copy the .html file it is asked to open, so a test
// sees which file it was given, and no browser is started.

#include <windows.h>

#include <string>

namespace testing_files {

// For the length of a test: .html files open with a command that copies them to `copy`. The
// association that was there before comes back at the end.
class HtmlOpensAsCopy {
public:
    explicit HtmlOpensAsCopy(const std::wstring& copy) {
        wchar_t previous[256] = {};
        DWORD size = sizeof previous;
        hadPrevious_ = RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr,
                                    previous, &size) == ERROR_SUCCESS;
        previous_ = previous;
        setDefault(L".html", L"DawatikTest.Manual");
        setDefault(L"DawatikTest.Manual\\shell\\open\\command",
                   L"cmd.exe /c copy \"%1\" \"" + copy + L"\"");
    }
    ~HtmlOpensAsCopy() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"DawatikTest.Manual");
        RegDeleteKeyW(HKEY_CLASSES_ROOT, L"DawatikTest.Manual");
        if (hadPrevious_)
            setDefault(L".html", previous_);
        else
            RegDeleteKeyW(HKEY_CLASSES_ROOT, L".html");
    }
    HtmlOpensAsCopy(const HtmlOpensAsCopy&) = delete;
    HtmlOpensAsCopy& operator=(const HtmlOpensAsCopy&) = delete;

private:
    static void setDefault(const wchar_t* key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    bool hadPrevious_ = false;
    std::wstring previous_;
};

} // namespace testing_files

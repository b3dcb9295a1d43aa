// Typing into a 256 KB document with the keyboard map and without it, in an edit field set up
// as the editor's. Prints the time per key press of each round and the ratio of the medians.
//   typing_benchmark.exe [rounds] [keys per round] [keys typed, repeated]

#include "app/Unit1.h"
#include "controls/application.h"
#include "controls/edit.h"
#include "controls/font.h"
#include "controls/form.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using namespace ctl;

namespace {

double seconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// 131,071 code units after the byte-order mark: Arabic words in lines of about 60.
std::wstring document() {
    const std::wstring words[] = {L"\x0627\x0644\x0633\x0644\x0627\x0645",
                                  L"\x0639\x0644\x064A\x0643\x0645",
                                  L"\x0648\x0631\x062D\x0645\x0629", L"\x0627\x0644\x0644\x0647",
                                  L"\x0648\x0628\x0631\x0643\x0627\x062A\x0647"};
    std::wstring text;
    std::wstring line;
    for (std::size_t i = 0; text.size() < 131071; ++i) {
        line += words[i % 5] + L" ";
        if (line.size() >= 60) {
            text += line + L"\r\n";
            line.clear();
        }
    }
    text.resize(131071);
    return text;
}

// Key presses as a keyboard sends them to the focused edit field: key down, character, key up.
void typeKeys(HWND edit, const wchar_t* keys, int count) {
    for (int i = 0; i < count; ++i) {
        const wchar_t c = keys[i % std::wcslen(keys)];
        const WPARAM key = c == L' ' ? VK_SPACE : static_cast<WPARAM>(towupper(c));
        SendMessageW(edit, WM_KEYDOWN, key, 1);
        SendMessageW(edit, WM_CHAR, c, 1);
        SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 5;
    const int keys = argc > 2 ? _wtoi(argv[2]) : 200;
    // Combinations follow letters: Wine's drawing of this field faults on combining marks
    // typed after a space.
    const wchar_t* sentence = argc > 3 ? argv[3] : L"salam 3lykm ktbeee ktbuu ktbii a~mn bsm allh ";

    Form* form = newForm(nullptr, L"Benchmark");
    form->font().setFaceName(L"Arial");
    form->font().setHeight(14);
    Control* edit = newEdit(*form, editopt::kMultiLine | editopt::kNoHorizontalScroll);
    edit->setAlign(Align::Client);
    edit->setBorder(false);
    edit->font().setFaceName(L"Traditional Arabic");
    edit->font().setHeight(72);
    edit->setTextAlign(TextAlign::Right);
    form->setSize(550, 380);
    auto* record = new app::MainWindow();
    form->own(*record);
    showForm(*form);
    edit->setExStyle(edit->exStyle() | WS_EX_RTLREADING | WS_EX_RIGHT);

    const std::wstring text = document();
    std::vector<double> on;
    std::vector<double> off;
    for (int round = 0; round < rounds; ++round) {
        for (const bool mapped : {true, false}) {
            if (mapped) {
                edit->setOnChar({[record](Control& s, wchar_t& c, ShiftState st) {
                    record->onCharTyped(s, c, st);
                }});
                edit->setOnKeyUp({[record](Control& s, KeyCode& k, ShiftState st) {
                    record->onKeyReleased(s, k, st);
                }});
            } else {
                edit->setOnChar({});
                edit->setOnKeyUp({});
            }
            edit->setText(text);
            const WPARAM middle = text.size() / 2;
            SendMessageW(edit->handle(), EM_SETSEL, middle, middle);
            SetFocus(edit->handle());
            pump();
            const double start = seconds();
            typeKeys(edit->handle(), sentence, keys);
            const double perKey = (seconds() - start) / keys * 1000.0;
            (mapped ? on : off).push_back(perKey);
            std::printf("round %d, map %s: %.3f ms per key press, %zu code units\n", round + 1,
                        mapped ? "on " : "off", perKey, edit->text().size());
        }
    }
    std::printf("median ms per key press: map on %.3f, map off %.3f, ratio %.3f\n", median(on),
                median(off), median(on) / median(off));
    form->release();
    return 0;
}

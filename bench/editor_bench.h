#pragma once
// The in-process benchmarks: the editor's main window as the program builds it, next to a bare
// window holding an edit field of the same kind, which gives the lower bounds.

#include <windows.h>

#include <string>

namespace app {
class Document;
}

namespace bench {

// The edit field of the bound: the class, styles, size and font of the editor's edit field,
// in a top-level window of no class of its own.
struct BareEdit {
    HWND window = nullptr;
    HWND edit = nullptr;
};

// Builds the editor's main window (through the program's own start-up), shows it and lets it
// settle.
void startEditor();
// The document's Open as the menu command runs it after its dialog, until the text is all in.
bool openDocument(app::Document& document, const std::wstring& path);
// Opens `document` in the editor and puts the focused caret in the middle of its text; false
// (and a word on standard error) when it did not open.
bool openWithCaretInTheMiddle(const std::wstring& document);
// A bare edit made like `model` (styles, extended styles, size, font, text limit).
BareEdit newBareEdit(HWND model);
// Reads the document and sets it into the edit field whole, past its byte-order mark.
bool bareOpen(HWND edit, const std::wstring& path);

// Lays out every update of `window` and its children now, as the next paint would.
void paintNow(HWND window);

// Typing `keys` key presses into the middle of `document`: in the editor's field with the map on
// and off, and in bare fields of its make-up with the platform's word-break rule and the layer's.
int typingBenchmark(const std::wstring& document, int rounds, int keys);
// The longest pause between key presses into a 2 MB document with recovery copies written to
// `folder` and without, and the copy's own work on the GUI thread.
int recoveryBenchmark(const std::wstring& document, const std::wstring& folder, int rounds,
                      int keys);

} // namespace bench

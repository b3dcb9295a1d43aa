#pragma once
// Reading a document file into memory the edit field can take, and telling the user why a file
// did not open. Shared by the document's commands and its progressive loading.

#include "controls/handles.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace app {

inline constexpr wchar_t kTooMuchText[] = L"The editor cannot hold that much text.";
inline constexpr wchar_t kNoMemory[] = L"There is not enough memory.";

// A message box: `what`, the path, and why.
void tellFailure(const wchar_t* what, const std::wstring& path, const wchar_t* why);
void tellTooLarge(const std::wstring& path, const wchar_t* why);

// The most code units the edit field `edit` takes.
std::size_t editCapacity(HWND edit);

// Memory the edit field can take as its own text (EM_SETHANDLE): the document is read straight
// into it, so the text is not held a second time while the field lays it out.
class FieldText {
public:
    // Room for `units` code units and a terminator, keeping what the memory held; false when
    // there is not enough memory.
    bool reserve(std::size_t units);
    // Frees the memory now, before the user is told why the document did not open.
    void discard() { memory_.reset(); }
    wchar_t* lock() { return static_cast<wchar_t*>(LocalLock(memory_.get())); }
    void unlock() { LocalUnlock(memory_.get()); }

    // The edit field takes the text over; where it keeps no text of that kind, the text is
    // set the usual way. False when the field refused the text.
    bool giveTo(HWND edit);

private:
    ctl::UniqueLocal memory_;
};

// Reads the document at `path` into `text`, with its line breaks made CR LF, and answers its
// length. Every problem is told to the user here; without a length (also when the user
// declines the question about a file without the mark) the current document stays.
std::optional<std::size_t> readDocument(const std::wstring& path, std::size_t capacity,
                                        FieldText& text);

} // namespace app

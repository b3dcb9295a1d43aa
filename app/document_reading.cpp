// Reading a document file: the byte-order mark, the question about a file without it, the size
// the edit field can hold, and the line breaks made CR LF.

#include "app/document_reading.h"

#include "app/document_format.h"
#include "controls/file_stream.h"
#include "controls/form.h"

#include <algorithm>
#include <climits>

namespace app {

namespace {

constexpr wchar_t kNotUnicodeQuestion[] =
    L"This file seems not an Arabic Unicode text\r\nDo you want to open anyway ?";

} // namespace

void tellFailure(const wchar_t* what, const std::wstring& path, const wchar_t* why) {
    ctl::messageBox(what + (L"\r\n" + path) + L"\r\n" + why, MB_OK | MB_ICONERROR);
}

void tellTooLarge(const std::wstring& path, const wchar_t* why) {
    tellFailure(L"The file is too large to open", path, why);
}

std::size_t editCapacity(HWND edit) {
    const auto limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    // Text lengths pass through the platform as int.
    return std::min<std::size_t>(limit, INT_MAX - 2);
}

bool FieldText::reserve(std::size_t units) {
    if (units >= SIZE_MAX / sizeof(wchar_t) - 1)
        return false;
    const std::size_t bytes = (units + 1) * sizeof(wchar_t);
    HLOCAL memory = memory_ ? LocalReAlloc(memory_.get(), bytes, LMEM_MOVEABLE)
                            : LocalAlloc(LMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    // A reallocation has already let the old handle go.
    memory_.detach();
    memory_.reset(memory);
    return true;
}

bool FieldText::giveTo(HWND edit) {
    // Wine's field lays out a handed-over text only when it is not empty: an empty one would
    // keep the lines of the text before. Set as text, it is laid out anew.
    const wchar_t* text = lock();
    const bool empty = !text || *text == L'\0';
    unlock();
    const auto old =
        empty ? nullptr : reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0));
    if (old) {
        SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(memory_.get()), 0);
        if (reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0)) == memory_.get()) {
            // The field owns the new text; its previous one is the program's to free.
            memory_.detach();
            LocalFree(old);
            return true;
        }
    }
    text = lock();
    const bool set = SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
    unlock();
    return set;
}

std::optional<std::size_t> readDocument(const std::wstring& path, std::size_t capacity,
                                        FieldText& text) {
    auto stream = ctl::newReadStream(path);
    if (!stream->isOpen()) {
        tellFailure(L"The file could not be opened", path,
                    stream->openError() == ERROR_FILE_NOT_FOUND
                        ? L"It does not exist."
                        : L"It is in use by another program or may not be read.");
        return std::nullopt;
    }
    const std::uint64_t size = stream->size();
    if (size > 2 && (size - 2) / 2 > capacity) {
        tellTooLarge(path, kTooMuchText);
        return std::nullopt;
    }
    std::uint8_t mark[2] = {0, 0};
    stream->readFully(mark, 2);
    std::uint64_t start = 2;
    if (!isByteOrderMark(mark[0], mark[1])) {
        if (ctl::messageBox(kNotUnicodeQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return std::nullopt;
        // The first two bytes are the first code unit.
        start = 0;
    }
    const std::size_t units = size > start ? static_cast<std::size_t>((size - start) / 2) : 0;
    // Room for a final line break too: the common case needs no second allocation.
    if (!text.reserve(units + 2)) {
        tellTooLarge(path, kNoMemory);
        return std::nullopt;
    }
    wchar_t* buffer = text.lock();
    const bool read = stream->seekTo(static_cast<std::int64_t>(start)) &&
                      stream->readFully(buffer, units * 2) == units * 2;
    const LineBreakMeasure measure =
        read ? measureLineBreaks(std::wstring_view(buffer, units)) : LineBreakMeasure{};
    text.unlock();
    if (!read) {
        tellFailure(L"The file could not be read whole", path, L"Nothing was changed.");
        return std::nullopt;
    }
    const std::size_t length = measure.length;
    if (length > units + 2 && !text.reserve(length)) {
        text.discard();
        tellTooLarge(path, kNoMemory);
        return std::nullopt;
    }
    buffer = text.lock();
    normalizeLineBreaks(buffer, units, measure);
    buffer[length] = L'\0';
    text.unlock();
    if (length > capacity) {
        text.discard();
        tellTooLarge(path, kTooMuchText);
        return std::nullopt;
    }
    return length;
}

} // namespace app

// The document: its file name and modified flag, opening and saving, the unsaved-changes
// question; and the main window's file commands and close request, which use it.

#include "app/document.h"
#include "app/Unit1.h"

#include "app/document_format.h"
#include "app/recovery.h"
#include "controls/file_dialog.h"
#include "controls/file_stream.h"
#include "controls/form.h"
#include "controls/handles.h"
#include "controls/status_bar.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <new>
#include <string>

namespace app {

namespace {

static_assert(sizeof(wchar_t) == 2, "documents are read and written as UTF-16 in place");

constexpr wchar_t kChangedQuestion[] = L"The text has changed\r\nDo you want to save the changes ?";
constexpr wchar_t kNotUnicodeQuestion[] =
    L"This file seems not an Arabic Unicode text\r\nDo you want to open anyway ?";
constexpr wchar_t kTooMuchText[] = L"The editor cannot hold that much text.";
constexpr wchar_t kNoMemory[] = L"There is not enough memory.";

void tellFailure(const wchar_t* what, const std::wstring& path, const wchar_t* why) {
    ctl::messageBox(what + (L"\r\n" + path) + L"\r\n" + why, MB_OK | MB_ICONERROR);
}

void tellTooLarge(const std::wstring& path, const wchar_t* why) {
    tellFailure(L"The file is too large to open", path, why);
}

const wchar_t* saveFailureReason(ctl::SaveResult result) {
    switch (result) {
    case ctl::SaveResult::ReadOnly:
        return L"The file is read-only.";
    case ctl::SaveResult::NotWritable:
        return L"The folder does not exist or cannot be written to.";
    case ctl::SaveResult::WriteFailed:
        return L"Not all of the text could be written; the disk may be full.";
    default:
        return L"The file is in use or may not be changed.";
    }
}

// The edit field's text behind the byte-order mark, fetched once: exactly the bytes of the
// document file.
std::wstring documentImage(ctl::Control& edit) {
    HWND window = edit.ensureHandle();
    if (!window)
        return L'\xFEFF' + edit.text();
    const int length = GetWindowTextLengthW(window);
    std::wstring image(static_cast<std::size_t>(length) + 2, L'\0');
    image[0] = L'\xFEFF';
    const int got = GetWindowTextW(window, image.data() + 1, length + 1);
    image.resize(1 + static_cast<std::size_t>(got > 0 ? got : 0));
    return image;
}

// A text too large to copy counts as not blank: the user is asked rather than the text dropped.
bool isBlankText(ctl::Control& edit) {
    try {
        return isBlank(std::wstring_view(documentImage(edit)).substr(1));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The most code units the edit field takes.
std::size_t editCapacity(ctl::Control& edit) {
    const auto limit = static_cast<std::size_t>(edit.sendMessage(EM_GETLIMITTEXT));
    // Text lengths pass through the platform as int.
    return std::min<std::size_t>(limit, INT_MAX - 2);
}

// Memory the edit field can take as its own text (EM_SETHANDLE): the document is read straight
// into it, so the text is not held a second time while the field lays it out.
class FieldText {
public:
    // Room for `units` code units and a terminator, keeping what the memory held; false when
    // there is not enough memory.
    bool reserve(std::size_t units) {
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
    // Frees the memory now, before the user is told why the document did not open.
    void discard() { memory_.reset(); }
    wchar_t* lock() { return static_cast<wchar_t*>(LocalLock(memory_.get())); }
    void unlock() { LocalUnlock(memory_.get()); }

    // The edit field takes the text over; where it keeps no text of that kind, the text is
    // set the usual way. False when the field refused the text.
    bool giveTo(HWND edit) {
        const auto old = reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0));
        if (old) {
            SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(memory_.get()), 0);
            if (reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0)) == memory_.get()) {
                // The field owns the new text; its previous one is the program's to free.
                memory_.detach();
                LocalFree(old);
                return true;
            }
        }
        const wchar_t* text = lock();
        const bool set = SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
        unlock();
        return set;
    }

private:
    ctl::UniqueLocal memory_;
};

// Reads the document at `path` into `text`, with its line breaks made CR LF. Every problem is
// told to the user here; on false (also when the user declines) the current document stays.
bool loadDocument(const std::wstring& path, std::size_t capacity, FieldText& text) {
    auto stream = ctl::newReadStream(path);
    if (!stream->isOpen()) {
        tellFailure(L"The file could not be opened", path,
                    stream->openError() == ERROR_FILE_NOT_FOUND
                        ? L"It does not exist."
                        : L"It is in use by another program or may not be read.");
        return false;
    }
    const std::uint64_t size = stream->size();
    if (size > 2 && (size - 2) / 2 > capacity) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    std::uint8_t mark[2] = {0, 0};
    stream->readFully(mark, 2);
    std::uint64_t start = 2;
    if (!isByteOrderMark(mark[0], mark[1])) {
        if (ctl::messageBox(kNotUnicodeQuestion, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return false;
        // The first two bytes are the first code unit.
        start = 0;
    }
    const std::size_t units = size > start ? static_cast<std::size_t>((size - start) / 2) : 0;
    // Room for a final line break too: the common case needs no second allocation.
    if (!text.reserve(units + 2)) {
        tellTooLarge(path, kNoMemory);
        return false;
    }
    wchar_t* buffer = text.lock();
    const bool read = stream->seekTo(static_cast<std::int64_t>(start)) &&
                      stream->readFully(buffer, units * 2) == units * 2;
    const LineBreakMeasure measure =
        read ? measureLineBreaks(std::wstring_view(buffer, units)) : LineBreakMeasure{};
    text.unlock();
    if (!read) {
        tellFailure(L"The file could not be read whole", path, L"Nothing was changed.");
        return false;
    }
    const std::size_t length = measure.length;
    if (length > units + 2 && !text.reserve(length)) {
        text.discard();
        tellTooLarge(path, kNoMemory);
        return false;
    }
    buffer = text.lock();
    normalizeLineBreaks(buffer, units, measure);
    buffer[length] = L'\0';
    text.unlock();
    if (length > capacity) {
        text.discard();
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    return true;
}

} // namespace

bool Document::write(const std::wstring& path) const {
    ctl::Control& edit = *window_.editField;
    ctl::SaveResult result;
    try {
        const std::wstring image = documentImage(edit);
        result = ctl::saveFileSafely(path, image.data(), image.size() * sizeof(wchar_t));
    } catch (const std::bad_alloc&) {
        tellFailure(L"The text could not be saved in", path, kNoMemory);
        return false;
    }
    if (result != ctl::SaveResult::Saved) {
        tellFailure(L"The text could not be saved in", path, saveFailureReason(result));
        return false;
    }
    return true;
}

Document::Choice Document::askToSaveChanges() {
    if (!modified_)
        return Choice::NotNeeded;
    // An untitled document of nothing but blanks and line breaks is not worth a question.
    if (fileName_.empty() && isBlankText(*window_.editField))
        return Choice::NotNeeded;
    if (asking_)
        return Choice::Cancel;
    asking_ = true;
    const struct Answered {
        bool& asking;
        ~Answered() { asking = false; }
    } answered{asking_};
    const int answer = ctl::messageBox(kChangedQuestion, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDNO)
        return Choice::NotNeeded;
    if (answer != IDYES)
        return Choice::Cancel;
    if (!fileName_.empty())
        return write(fileName_) ? Choice::Saved : Choice::Cancel;
    // The name chosen here saves a copy; the document stays untitled.
    ctl::FileDialog& dialog = *window_.fileDialog;
    dialog.openDialog = false;
    if (!ctl::execute(dialog))
        return Choice::Cancel;
    return write(dialog.fileName) ? Choice::Saved : Choice::Cancel;
}

void Document::clear() {
    window_.editField->setText(L"");
    markUnmodified(); // after the change notification of the emptying
    fileName_.clear();
    ctl::setStatusText(*window_.mainWindow, 0, L"");
}

bool Document::open(const std::wstring& path) {
    ctl::Control& edit = *window_.editField;
    FieldText text;
    if (!loadDocument(path, editCapacity(edit), text))
        return false;
    if (!text.giveTo(edit.ensureHandle())) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    markUnmodified();
    fileName_ = path;
    ctl::setStatusText(*window_.mainWindow, 0, L" " + path);
    return true;
}

bool Document::save() {
    if (fileName_.empty()) {
        const Saving saving = saveUnderChosenName();
        if (saving == Saving::Cancelled)
            modified_ = true;
        return saving == Saving::Saved;
    }
    if (!write(fileName_))
        return false;
    markUnmodified();
    return true;
}

bool Document::saveAs() {
    return saveUnderChosenName() == Saving::Saved;
}

Document::Saving Document::saveUnderChosenName() {
    ctl::FileDialog& dialog = *window_.fileDialog;
    dialog.openDialog = false;
    if (!ctl::execute(dialog))
        return Saving::Cancelled;
    const std::wstring path = dialog.fileName;
    if (!write(path))
        return Saving::Failed;
    fileName_ = path;
    markUnmodified();
    return Saving::Saved;
}

void Document::restore(const std::wstring& text, const std::wstring& fileName) {
    window_.editField->setText(text);
    modified_ = true;
    fileName_ = fileName;
    if (!fileName.empty())
        ctl::setStatusText(*window_.mainWindow, 0, L" " + fileName);
}

void Document::changed() {
    modified_ = true;
    if (recovery)
        recovery->changed();
}

void Document::markUnmodified() {
    modified_ = false;
    if (recovery)
        recovery->discard();
}

// ---- the file commands of the main window

void MainWindow::newCommand() {
    if (document.askToSaveChanges() != Document::Choice::Cancel)
        document.clear();
}

void MainWindow::openCommand() {
    if (document.askToSaveChanges() == Document::Choice::Cancel)
        return;
    fileDialog->openDialog = true;
    if (ctl::execute(*fileDialog))
        document.open(fileDialog->fileName);
}

void MainWindow::saveCommand() {
    document.save();
}

void MainWindow::saveAsCommand() {
    document.saveAs();
}

void MainWindow::exitCommand() {
    mainWindow->postMessage(WM_CLOSE, 0, 0);
}

void MainWindow::onCloseRequest(ctl::Control&, bool& mayClose) {
    mayClose = document.askToSaveChanges() != Document::Choice::Cancel;
    if (!mayClose)
        return;
    if (document.recovery)
        document.recovery->end();
    releaseSettings();
}

void MainWindow::onTextChanged(ctl::Control&) {
    document.changed();
}

} // namespace app

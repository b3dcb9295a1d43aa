// The document: its file name and modified flag, the file commands, the unsaved-changes
// question and the close request. Documents are UTF-16LE files behind the mark FF FE.

#include "app/Unit1.h"

#include "app/document_format.h"
#include "controls/file_dialog.h"
#include "controls/file_stream.h"
#include "controls/form.h"
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

// Reads the document at `path` into `text`, with its line breaks made CR LF. Every problem is
// told to the user here; on false (also when the user declines) the current document stays.
bool loadDocument(const std::wstring& path, std::size_t capacity, std::wstring& text) {
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
    try {
        text.reserve(units + 2);
        text.resize(units);
        if (!stream->seekTo(static_cast<std::int64_t>(start)) ||
            stream->readFully(text.data(), units * 2) != units * 2) {
            tellFailure(L"The file could not be read whole", path, L"Nothing was changed.");
            return false;
        }
        normalizeLineBreaks(text);
    } catch (const std::bad_alloc&) {
        text = std::wstring();
        tellTooLarge(path, kNoMemory);
        return false;
    }
    if (text.size() > capacity) {
        text = std::wstring();
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    return true;
}

} // namespace

bool MainWindow::writeDocument(ctl::Control& edit, const std::wstring& path) {
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

int MainWindow::askToSaveChanges() {
    if (!modified)
        return IDNO;
    // An untitled document of nothing but blanks and line breaks is not worth a question.
    if (documentFileName.empty() && isBlankText(*editField))
        return IDNO;
    const int answer = ctl::messageBox(kChangedQuestion, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDNO)
        return IDNO;
    if (answer != IDYES)
        return IDCANCEL;
    if (!documentFileName.empty())
        return writeDocument(*editField, documentFileName) ? IDYES : IDCANCEL;
    // The name chosen here saves a copy; the document stays untitled.
    fileDialog->openDialog = false;
    if (!ctl::execute(*fileDialog))
        return IDCANCEL;
    return writeDocument(*editField, fileDialog->fileName) ? IDYES : IDCANCEL;
}

void MainWindow::newCommand() {
    if (askToSaveChanges() == IDCANCEL)
        return;
    editField->setText(L"");
    modified = false; // after the change notification of the emptying
    documentFileName.clear();
    ctl::setStatusText(*mainWindow, 0, L"");
}

void MainWindow::openCommand() {
    if (askToSaveChanges() == IDCANCEL)
        return;
    fileDialog->openDialog = true;
    if (ctl::execute(*fileDialog))
        openDocument(fileDialog->fileName);
}

bool MainWindow::openDocument(const std::wstring& path) {
    std::wstring text;
    if (!loadDocument(path, editCapacity(*editField), text))
        return false;
    // Straight to the window: the text is not kept a second time.
    if (!editField->sendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    modified = false;
    documentFileName = path;
    ctl::setStatusText(*mainWindow, 0, L" " + path);
    return true;
}

void MainWindow::saveCommand() {
    if (!documentFileName.empty()) {
        if (writeDocument(*editField, documentFileName))
            modified = false;
        return;
    }
    if (!saveUnderChosenName())
        modified = true;
}

void MainWindow::saveAsCommand() {
    saveUnderChosenName();
}

bool MainWindow::saveUnderChosenName() {
    fileDialog->openDialog = false;
    if (!ctl::execute(*fileDialog))
        return false;
    const std::wstring path = fileDialog->fileName;
    if (writeDocument(*editField, path)) {
        documentFileName = path;
        modified = false;
    }
    return true;
}

void MainWindow::exitCommand() {
    mainWindow->postMessage(WM_CLOSE, 0, 0);
}

void MainWindow::onCloseRequest(ctl::Control&, bool& mayClose) {
    mayClose = askToSaveChanges() != IDCANCEL;
    if (mayClose)
        releaseSettings();
}

void MainWindow::onTextChanged(ctl::Control&) {
    modified = true;
}

} // namespace app

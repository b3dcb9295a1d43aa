// The document: its file name and modified flag, opening and saving, the unsaved-changes
// question; and the main window's file commands and close request, which use it.

#include "app/document.h"
#include "app/Unit1.h"

#include "app/document_format.h"
#include "app/document_reading.h"
#include "app/recovery.h"
#include "controls/file_dialog.h"
#include "controls/file_stream.h"
#include "controls/form.h"
#include "controls/status_bar.h"

#include <windows.h>

#include <new>
#include <string>

namespace app {

namespace {

static_assert(sizeof(wchar_t) == 2, "documents are read and written as UTF-16 in place");

constexpr wchar_t kChangedQuestion[] = L"The text has changed\r\nDo you want to save the changes ?";

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

} // namespace

void Document::showIn(const Window& window) {
    window_ = window;
    loadTimer_.emplace(*window.form);
    loadTimer_->onTick = [this] { loadStep(); };
}

std::wstring Document::text() const {
    HWND edit = window_.editField->handle();
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    const int got = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

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
    ctl::setStatusText(*window_.form, 0, L"");
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
        ctl::setStatusText(*window_.form, 0, L" " + fileName);
}

void Document::changed() {
    if (puttingSlice_)
        return;
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
    // A close from the task list while the left copy is offered would take the copy with it.
    if (document.recovery && document.recovery->offering()) {
        mayClose = false;
        return;
    }
    mayClose = document.askToSaveChanges() != Document::Choice::Cancel;
    if (!mayClose)
        return;
    document.stopLoading();
    if (document.recovery)
        document.recovery->end();
    releaseSettings();
}

void MainWindow::onTextChanged(ctl::Control&) {
    document.changed();
}

} // namespace app

// Opening a document. Up to a screenful goes into the edit field at once; a larger document
// arrives in slices of whole lines from the message loop, so its first lines show at once and
// the window paints, scrolls and answers while the field lays out the rest.

#include "app/document.h"
#include "app/Unit1.h"

#include "app/document_format.h"
#include "app/document_reading.h"
#include "controls/form.h"
#include "controls/status_bar.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace app {

namespace {

// More than a screenful at the smallest text size: the first slice, and the most a document may
// hold to go into the field in one piece.
constexpr std::size_t kFirstSlice = 8192;
constexpr std::size_t kSmallestSlice = 2048;
// What a slice should take, and the longest the loop waits for its next message at one step:
// under 200 ms, which users take as the window answering.
constexpr double kSliceTime = 50.0;
constexpr double kStepTime = 120.0;

double milliseconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Input, or a message sent by another program: the loop has something to answer.
bool loopIsWanted() {
    return HIWORD(GetQueueStatus(QS_INPUT | QS_SENDMESSAGE)) != 0;
}

} // namespace

struct Document::Load {
    FieldText memory;
    wchar_t* text = nullptr; // locked while the load lasts
    std::size_t length = 0;
    std::size_t put = 0;
    std::wstring path;
    HWND timerWindow = nullptr;
    // Code units the field took per millisecond in the last slice: sizes the next one.
    double rate = 0;
    unsigned shownPercent = 101;

    ~Load() {
        if (text)
            memory.unlock();
    }
};

Document::Document(MainWindow& window) : window_(window) {}

Document::~Document() {
    stopLoading();
}

bool Document::open(const std::wstring& path) {
    stopLoading();
    HWND edit = window_.editField->ensureHandle();
    auto load = std::make_unique<Load>();
    const std::optional<std::size_t> length = readDocument(path, editCapacity(edit), load->memory);
    if (!length)
        return false;
    if (*length > kFirstSlice) {
        load->length = *length;
        load->path = path;
        startLoading(std::move(load));
        return true;
    }
    if (!load->memory.giveTo(edit)) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    markUnmodified();
    fileName_ = path;
    ctl::setStatusText(*window_.mainWindow, 0, L" " + path);
    return true;
}

void Document::startLoading(std::unique_ptr<Load> load) {
    HWND edit = window_.editField->handle();
    load->text = load->memory.lock();
    load->timerWindow = window_.mainWindow->handle();
    puttingSlice_ = true;
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    puttingSlice_ = false;
    markUnmodified();
    fileName_ = load->path;
    load_ = std::move(load);
    if (!putSlice(kFirstSlice))
        return failLoading();
    showProgress();
    // The first lines are on the screen before the loop takes the next message.
    UpdateWindow(load_->timerWindow);
    if (!SetTimer(load_->timerWindow, reinterpret_cast<UINT_PTR>(this), 0, onLoadTimer)) {
        // Without the loop's help the rest goes in now.
        while (load_ && load_->put < load_->length)
            if (!putSlice(load_->length))
                return failLoading();
        endLoading();
    }
}

void CALLBACK Document::onLoadTimer(HWND, UINT, UINT_PTR id, DWORD) {
    reinterpret_cast<Document*>(id)->loadStep();
}

void Document::loadStep() {
    if (!load_)
        return;
    const double stepStart = milliseconds();
    do {
        const auto wanted = static_cast<std::size_t>(load_->rate * kSliceTime);
        if (!putSlice(std::max(wanted, kSmallestSlice)))
            return failLoading();
    } while (load_->put < load_->length && milliseconds() - stepStart + kSliceTime <= kStepTime &&
             !loopIsWanted());
    if (load_->put == load_->length)
        return endLoading();
    showProgress();
}

bool Document::putSlice(std::size_t wanted) {
    Load& load = *load_;
    const std::size_t end = sliceEnd(std::wstring_view(load.text, load.length), load.put, wanted);
    HWND edit = window_.editField->handle();
    // Where the user stands stays as it was: the selection and the first line in view.
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);

    const double start = milliseconds();
    // Appended after whatever the field holds, which is all of the slices so far.
    const auto before = static_cast<std::size_t>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, before, before);
    // The slice is terminated in place for the moment it is put, so it is not copied.
    const wchar_t after = load.text[end];
    load.text[end] = L'\0';
    puttingSlice_ = true;
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(load.text + load.put));
    puttingSlice_ = false;
    load.text[end] = after;
    const bool taken =
        static_cast<std::size_t>(GetWindowTextLengthW(edit)) == before + (end - load.put);
    load.rate = static_cast<double>(end - load.put) / std::max(milliseconds() - start, 1.0);

    SendMessageW(edit, EM_SETSEL, selectionStart, selectionEnd);
    const LRESULT nowFirst = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (nowFirst != firstLine)
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine - nowFirst);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    load.put = end;
    return taken;
}

void Document::showProgress() {
    const auto percent = static_cast<unsigned>(load_->put * 100 / load_->length);
    if (percent == load_->shownPercent)
        return;
    load_->shownPercent = percent;
    ctl::setStatusText(*window_.mainWindow, 0,
                       L" Opening \x2026 " + std::to_wstring(percent) + L" %");
}

void Document::endLoading() {
    stopLoading();
    // As after setting the whole text at once: nothing to undo, the field not modified.
    HWND edit = window_.editField->handle();
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    if (!modified_)
        SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    ctl::setStatusText(*window_.mainWindow, 0, L" " + fileName_);
    window_.loadEnded();
}

void Document::failLoading() {
    const std::wstring path = load_->path;
    stopLoading();
    // Part of a file must never be saved over it: the document becomes empty and untitled.
    clear();
    tellTooLarge(path, kTooMuchText);
}

void Document::stopLoading() {
    if (!load_)
        return;
    KillTimer(load_->timerWindow, reinterpret_cast<UINT_PTR>(this));
    load_.reset();
}

} // namespace app

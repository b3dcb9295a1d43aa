// Opening a document. Up to a screenful goes into the edit field at once; a larger document
// arrives in slices of whole lines from the message loop, so its first lines show at once and
// the window paints, scrolls and answers while the field lays out the rest.

#include "app/document.h"

#include "app/document_format.h"
#include "app/document_reading.h"
#include "controls/form.h"
#include "controls/status_bar.h"
#include "controls/timer.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

namespace app {

namespace {

// More than a screenful at the smallest text size: the first slice, and the most a document may
// hold to go into the field in one piece.
constexpr std::size_t kFirstSlice = 8192;
constexpr std::size_t kSmallestSlice = 4096;
// What a slice should take, the field's own work around it included: under 200 ms, which users
// take as the window answering. Every slice costs the field a pass over all of its text, so
// fewer, larger slices load sooner. Between slices the window paints and answers other
// programs; the loop is left for input, posted messages, or after a step of half a second, so
// that timers are served.
constexpr double kSliceTime = 115.0;
constexpr double kStepTime = 500.0;

double milliseconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Something the user did, or a message posted to the program: the loop must take it.
bool loopIsWanted() {
    return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) != 0;
}

// What other programs sent meanwhile is answered between slices, without leaving the step.
void answerSentMessages() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

} // namespace

// The text after the first slice, in pages of its own: each page goes back to the system once
// its lines are in the field, so a large document is not held twice until its end.
class PagedText {
public:
    explicit PagedText(std::size_t units)
        : text_(static_cast<wchar_t*>(VirtualAlloc(nullptr, (units + 1) * sizeof(wchar_t),
                                                   MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    PagedText(const PagedText&) = delete;
    PagedText& operator=(const PagedText&) = delete;
    ~PagedText() {
        if (text_)
            VirtualFree(text_, 0, MEM_RELEASE);
    }

    wchar_t* get() const noexcept { return text_; }
    // Everything before `units` has been put and is not read again.
    void releaseBefore(std::size_t units) {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const std::size_t page = system.dwPageSize;
        const std::size_t end = units * sizeof(wchar_t) / page * page;
        if (end > released_)
            VirtualFree(reinterpret_cast<char*>(text_) + released_, end - released_, MEM_DECOMMIT);
        released_ = std::max(released_, end);
    }

private:
    wchar_t* text_;
    std::size_t released_ = 0; // bytes
};

struct Document::Load {
    explicit Load(std::size_t units) : length(units), rest(units) {}
    std::size_t length;
    // Each slice is terminated in place for the moment it is put.
    PagedText rest;
    std::size_t put = 0;
    // Code units per millisecond the last slice took: sizes the next one.
    double rate = 0;
    unsigned shownPercent = 101;
};

Document::Document() = default;

Document::~Document() {
    stopLoading();
}

bool Document::open(const std::wstring& path) {
    stopLoading();
    HWND edit = window_.editField->ensureHandle();
    FieldText memory;
    const std::optional<std::size_t> length = readDocument(path, editCapacity(edit), memory);
    if (!length)
        return false;
    // A large document keeps all but its first slice aside; the field's memory is already the
    // size of the whole text, so the slices never make it grow.
    std::unique_ptr<Load> load;
    if (*length > kFirstSlice) {
        wchar_t* text = memory.lock();
        const std::size_t first = sliceEnd(std::wstring_view(text, *length), 0, kFirstSlice);
        if (first < *length) {
            load = std::make_unique<Load>(*length - first);
            if (load->rest.get()) {
                std::copy(text + first, text + *length + 1, load->rest.get());
                text[first] = L'\0';
            }
        }
        memory.unlock();
        if (load && !load->rest.get()) {
            tellTooLarge(path, kNoMemory);
            return false;
        }
    }
    const double start = milliseconds();
    if (!memory.giveTo(edit)) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
    // The field's pace with the first slice sizes the next.
    if (load)
        load->rate =
            static_cast<double>(GetWindowTextLengthW(edit)) / std::max(milliseconds() - start, 1.0);
    markUnmodified();
    fileName_ = path;
    if (!load) {
        ctl::setStatusText(*window_.form, 0, L" " + path);
        return true;
    }
    startLoading(std::move(load));
    return true;
}

void Document::startLoading(std::unique_ptr<Load> load) {
    load_ = std::move(load);
    showProgress();
    // The first lines are on the screen before the loop takes the next message.
    UpdateWindow(window_.form->handle());
    if (!loadTimer_->start(0)) {
        // Without the loop's help the rest goes in now.
        if (!putSlice(load_->length))
            return failLoading();
        endLoading();
    }
}

void Document::loadStep() {
    if (!load_)
        return;
    const Load* const load = load_.get();
    const double stepStart = milliseconds();
    for (;;) {
        const auto wanted = static_cast<std::size_t>(load_->rate * kSliceTime);
        if (!putSlice(std::max(wanted, kSmallestSlice)))
            return failLoading();
        if (load_->put == load_->length)
            return endLoading();
        showProgress();
        // The slice and the progress are on the screen before the next one.
        RedrawWindow(window_.form->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        answerSentMessages();
        // An answer may have closed the window or opened another document.
        if (load_.get() != load)
            return;
        if (loopIsWanted() || milliseconds() - stepStart + kSliceTime > kStepTime)
            return;
    }
}

bool Document::putSlice(std::size_t wanted) {
    Load& load = *load_;
    const double start = milliseconds();
    const std::size_t end =
        sliceEnd(std::wstring_view(load.rest.get(), load.length), load.put, wanted);
    HWND edit = window_.editField->handle();
    // Where the user stands stays as it was: the selection and the first line in view.
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);

    // Appended after whatever the field holds, which is all of the slices so far.
    const auto before = static_cast<std::size_t>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, before, before);
    wchar_t* text = load.rest.get();
    const wchar_t following = text[end];
    text[end] = L'\0';
    puttingSlice_ = true;
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text + load.put));
    puttingSlice_ = false;
    text[end] = following;
    const std::size_t after = before + (end - load.put);
    const bool taken = static_cast<std::size_t>(GetWindowTextLengthW(edit)) == after;

    // An end of the selection at the end of the text stays there: Select All or Ctrl+End given
    // meanwhile reach the whole document, as they would after it had arrived.
    if (selectionStart == before)
        selectionStart = static_cast<DWORD>(after);
    if (selectionEnd == before)
        selectionEnd = static_cast<DWORD>(after);
    SendMessageW(edit, EM_SETSEL, selectionStart, selectionEnd);
    const LRESULT nowFirst = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (nowFirst != firstLine)
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine - nowFirst);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    load.rate = static_cast<double>(end - load.put) / std::max(milliseconds() - start, 1.0);
    load.put = end;
    load.rest.releaseBefore(end);
    return taken;
}

void Document::showProgress() {
    // Counted over the whole document, the slice given at once included.
    const auto shown = static_cast<std::size_t>(GetWindowTextLengthW(window_.editField->handle()));
    const std::size_t whole = shown + (load_->length - load_->put);
    const auto percent = static_cast<unsigned>(shown * 100 / std::max<std::size_t>(whole, 1));
    if (percent == load_->shownPercent)
        return;
    load_->shownPercent = percent;
    ctl::setStatusText(*window_.form, 0, L" Opening \x2026 " + std::to_wstring(percent) + L" %");
}

void Document::endLoading() {
    stopLoading();
    // As after setting the whole text at once: nothing to undo, the field not modified.
    HWND edit = window_.editField->handle();
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    if (!modified_)
        SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    ctl::setStatusText(*window_.form, 0, L" " + fileName_);
    onLoaded();
}

void Document::failLoading() {
    const std::wstring path = fileName_;
    stopLoading();
    // Part of a file must never be saved over it: the document becomes empty and untitled.
    clear();
    tellTooLarge(path, kTooMuchText);
}

void Document::stopLoading() {
    if (!load_)
        return;
    loadTimer_->stop();
    load_.reset();
}

} // namespace app

// Opening a document. Up to a screenful goes into the edit field at once; a larger document, or
// one with a long paragraph, arrives in slices of whole lines (inside a long paragraph, of whole
// words) from the message loop, so its first lines show at once and the window paints, scrolls
// and answers while the field lays out the rest.

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

// The most a document of short lines may hold to go into the field in one piece, and the most
// the first slice holds; and the fewest units a slice holds.
constexpr std::size_t kFirstSlice = 8192;
constexpr std::size_t kSmallestSlice = 1024;
// A paragraph the field takes seconds to lay out at once (the time grows with the square of its
// length): a document that holds one arrives in slices however short it is, and the slices go
// into such a paragraph in parts.
constexpr std::size_t kLongParagraph = 2000;
// What a step should take: a slice, its paint and the progress text, well under the 150 ms
// users take as the window answering. Each step costs the field a part of its own beside the
// slice's lines, so fewer, larger slices load sooner. Between steps the window answers other
// programs; the loop is left for input, posted messages, or after half a second of steps, so
// that timers are served.
constexpr double kStepTime = 100.0;
constexpr double kLoopTime = 500.0;

// Twice what fills the field at its font: the first slice, which shows a screenful at once
// however short or long the document's lines are.
std::size_t screenful(ctl::Control& field) {
    RECT client{};
    GetClientRect(field.handle(), &client);
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(field.surface().textDC(), &metrics);
    field.releaseSurface();
    if (!measured)
        return kFirstSlice;
    const auto rows = static_cast<std::size_t>(client.bottom / std::max(metrics.tmHeight, 1L) + 1);
    const auto perRow =
        static_cast<std::size_t>(client.right / std::max(metrics.tmAveCharWidth, 1L) + 1);
    return std::clamp(2 * rows * perRow, kSmallestSlice, kFirstSlice);
}

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
    Load(std::size_t units, std::size_t firstSlice)
        : length(units), rest(units), nextSlice(firstSlice) {}
    std::size_t length;
    // Each slice is terminated in place for the moment it is put.
    PagedText rest;
    std::size_t put = 0;
    // The units the next step puts, sized by what the whole step before cost; the first step
    // puts as many as went in at once, whose pace says nothing of a field that already holds
    // text. And the units the last step put, and the time the field took for them.
    std::size_t nextSlice;
    std::size_t lastSlice = 0;
    double lastSliceTime = 0;
    // The last slice ended inside a paragraph: the field is laying out a long one.
    bool inParagraph = false;
    unsigned shownPercent = 101;
    bool shownInParagraph = false;
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
    // A large document, or one with a long paragraph, keeps all but its first slice aside; the
    // field's memory is already the size of the whole text, so the slices never make it grow.
    std::unique_ptr<Load> load;
    wchar_t* text = memory.lock();
    const std::wstring_view whole(text, *length);
    if (*length > kFirstSlice || longestLine(whole) > kLongParagraph) {
        const std::size_t first = sliceEnd(whole, 0, screenful(*window_.editField));
        if (first < *length) {
            load = std::make_unique<Load>(*length - first, first);
            load->inParagraph = text[first - 1] != L'\n';
            if (load->rest.get()) {
                std::copy(text + first, text + *length + 1, load->rest.get());
                text[first] = L'\0';
            }
        }
    }
    memory.unlock();
    if (load && !load->rest.get()) {
        tellTooLarge(path, kNoMemory);
        return false;
    }
    if (!memory.giveTo(edit)) {
        tellTooLarge(path, kTooMuchText);
        return false;
    }
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
    const double loopStart = milliseconds();
    for (;;) {
        const double stepStart = milliseconds();
        if (!putSlice(load_->nextSlice))
            return failLoading();
        if (load_->put == load_->length)
            return endLoading();
        showProgress();
        // The slice and the progress are on the screen before the next one.
        RedrawWindow(window_.form->handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        load_->nextSlice = nextSliceUnits(load_->lastSlice, load_->lastSliceTime,
                                          milliseconds() - stepStart, kStepTime, kSmallestSlice);
        answerSentMessages();
        // An answer may have closed the window or opened another document.
        if (load_.get() != load)
            return;
        if (loopIsWanted() || milliseconds() - loopStart + kStepTime > kLoopTime)
            return;
    }
}

bool Document::putSlice(std::size_t wanted) {
    Load& load = *load_;
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
    const double start = milliseconds();
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text + load.put));
    load.lastSliceTime = milliseconds() - start;
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
    load.lastSlice = end - load.put;
    load.inParagraph = end < load.length && text[end - 1] != L'\n';
    load.put = end;
    load.rest.releaseBefore(end);
    return taken;
}

void Document::showProgress() {
    // Counted over the whole document, the slice given at once included.
    const auto shown = static_cast<std::size_t>(GetWindowTextLengthW(window_.editField->handle()));
    const std::size_t whole = shown + (load_->length - load_->put);
    const auto percent = static_cast<unsigned>(shown * 100 / std::max<std::size_t>(whole, 1));
    if (percent == load_->shownPercent && load_->inParagraph == load_->shownInParagraph)
        return;
    load_->shownPercent = percent;
    load_->shownInParagraph = load_->inParagraph;
    // The field takes its time over a long paragraph: the user is told why it goes slowly.
    ctl::setStatusText(*window_.form, 0,
                       L" Opening \x2026 " + std::to_wstring(percent) + L" %" +
                           (load_->inParagraph ? L", laying out a long paragraph" : L""));
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

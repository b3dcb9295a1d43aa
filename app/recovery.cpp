// The recovery copy: the timing on the GUI thread, the writer thread, and the offer at start.

#include "app/recovery.h"

#include "app/Unit1.h"
#include "app/recovery_format.h"
#include "controls/file_stream.h"
#include "controls/form.h"
#include "controls/status_bar.h"

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

namespace app {

namespace {

// A copy follows this long after the last change, and never later than kLongest after the
// first change it holds.
constexpr std::uint64_t kPause = 2000;
constexpr std::uint64_t kLongest = 30000;
constexpr UINT kTickPeriod = 250;

constexpr wchar_t kCopy[] = L".recovery";
constexpr wchar_t kRestoring[] = L".restoring";
constexpr wchar_t kLock[] = L".lock";

constexpr wchar_t kNotWritten[] = L" The recovery copy could not be written";

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring withoutExtension(const std::wstring& name) {
    return name.substr(0, name.rfind(L'.'));
}

// The ids of the files in `folder` that end in `extension`, newest first.
std::vector<std::wstring> idsOf(const std::wstring& folder, const wchar_t* extension) {
    struct Found {
        std::wstring id;
        ULONGLONG written;
    };
    std::vector<Found> found;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*" + extension).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return {};
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            found.push_back({withoutExtension(data.cFileName),
                             (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                 data.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.written > b.written; });
    std::vector<std::wstring> ids;
    for (Found& entry : found)
        ids.push_back(std::move(entry.id));
    return ids;
}

// Holds the lock file open and unshared; it goes with the last handle, also when the process
// is killed. Invalid when another instance holds it.
ctl::UniqueFile openLock(const std::wstring& path) {
    return ctl::UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

std::optional<RecoveryCopy> readCopy(const std::wstring& path) {
    auto stream = ctl::newReadStream(path);
    // Path and text each pass through the platform as int lengths: a larger file is no copy.
    const std::uint64_t size = stream->size();
    if (!stream->isOpen() || size > 4ull * INT_MAX + 32)
        return std::nullopt;
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        if (stream->readFully(bytes.data(), bytes.size()) != bytes.size())
            return std::nullopt;
        return decodeRecoveryCopy(bytes);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

// Dawatik, then Recovery, inside the application data folder.
bool makeFolder(const std::wstring& folder) {
    const std::wstring parent = folder.substr(0, folder.rfind(L'\\', folder.size() - 2) + 1);
    for (const std::wstring& level : {parent, folder}) {
        if (!CreateDirectoryW(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
}

std::wstring statusText(ctl::Form& form) {
    if (!form.statusBar || !form.statusBar->handle())
        return {};
    HWND bar = form.statusBar->handle();
    std::wstring text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0)) + 1, L'\0');
    text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// The field's text, fetched once.
std::wstring fieldText(HWND edit) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    const int got = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

// An id no other instance has: the process and the moment.
std::wstring newId() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    wchar_t id[32];
    std::swprintf(id, 32, L"%08lX-%08lX%08lX", GetCurrentProcessId(), now.dwHighDateTime,
                  now.dwLowDateTime);
    return id;
}

} // namespace

Recovery::Recovery(MainWindow& editor, std::wstring folder)
    : editor_(editor), window_(editor.mainWindow->ensureHandle()), folder_(std::move(folder)) {
    id_ = newId();
    writer_ = std::thread([this] { writerLoop(); });
}

Recovery::~Recovery() {
    {
        std::lock_guard hold(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (writer_.joinable())
        writer_.join();
    if (timerRunning_)
        KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
}

std::wstring Recovery::userFolder() {
    // The platform gives each user's session its local application data folder in
    // LOCALAPPDATA; the shell names the same folder where the variable is missing.
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH + 1);
    if ((length == 0 || length > MAX_PATH) &&
        FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)))
        return {};
    std::wstring folder = base;
    if (folder.empty())
        return {};
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + L"Dawatik\\Recovery\\";
}

std::wstring Recovery::file(const wchar_t* extension) const {
    return folder_ + id_ + extension;
}

void Recovery::offerLeftCopy() {
    if (folder_.empty())
        return;
    // Taken now, before the loop runs: a copy claimed here is this instance's before it can
    // write one of its own.
    for (const auto& [extension, kind] :
         {std::pair{kRestoring, Left::Unfinished}, std::pair{kCopy, Left::Copy}}) {
        for (const std::wstring& id : idsOf(folder_, extension)) {
            // A copy written after the restore mark holds all of the marked text and more:
            // the copy is offered, the mark goes.
            if (kind == Left::Unfinished && exists(folder_ + id + kCopy)) {
                DeleteFileW((folder_ + id + kRestoring).c_str());
                continue;
            }
            ctl::UniqueFile lock = openLock(folder_ + id + kLock);
            if (!lock)
                continue; // its instance still runs
            const std::wstring path = folder_ + id + extension;
            std::optional<RecoveryCopy> copy = readCopy(path);
            if (!copy) {
                // Not a whole copy: nothing of it can be given back.
                DeleteFileW(path.c_str());
                continue;
            }
            id_ = id;
            lock_ = std::move(lock);
            left_ = kind;
            leftPath_ = std::move(copy->path);
            leftText_ = std::move(copy->text);
            // The question waits for the loop: the user sees the window behind it.
            SetTimer(window_, reinterpret_cast<UINT_PTR>(this), 0, onTimer);
            timerRunning_ = true;
            return;
        }
    }
}

void CALLBACK Recovery::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    reinterpret_cast<Recovery*>(id)->tick();
}

void Recovery::tick() {
    if (left_ != Left::None) {
        // Once only, also when a message box below lets the timer through again.
        const Left left = left_;
        left_ = Left::None;
        KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
        timerRunning_ = false;
        if (left == Left::Unfinished)
            keepAsDocument(file(kRestoring), L"the program ended while putting them back");
        else
            askAboutLeftCopy();
        leftText_.clear();
        leftText_.shrink_to_fit();
        schedule();
        return;
    }
    const std::uint64_t now = GetTickCount64();
    if (unsavedSince_ && !editor_.document.modified())
        unsavedSince_ = 0;
    if (unsavedSince_ && (now - lastChange_ >= kPause || now - unsavedSince_ >= kLongest))
        takeCopy();
    reportWrites();
    schedule();
}

void Recovery::schedule() {
    bool writing;
    {
        std::lock_guard hold(mutex_);
        writing = job_ || busy_ || writesDone_ != writesSeen_;
    }
    const bool wanted = unsavedSince_ != 0 || writing;
    if (wanted && !timerRunning_)
        timerRunning_ = SetTimer(window_, reinterpret_cast<UINT_PTR>(this), kTickPeriod, onTimer);
    else if (!wanted && timerRunning_) {
        KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
        timerRunning_ = false;
    }
}

void Recovery::changed() {
    lastChange_ = GetTickCount64();
    if (!unsavedSince_)
        unsavedSince_ = lastChange_;
    if (!timerRunning_)
        schedule();
}

void Recovery::takeCopy() {
    unsavedSince_ = 0;
    try {
        submit({true, editor_.document.fileName(), fieldText(editor_.editField->handle())});
    } catch (const std::bad_alloc&) {
        std::lock_guard hold(mutex_);
        lastWriteFailed_ = true;
        ++writesDone_;
    }
}

void Recovery::discard() {
    unsavedSince_ = 0;
    submit({});
    reportWrites();
    schedule();
}

void Recovery::end() {
    discard();
    {
        std::lock_guard hold(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (writer_.joinable())
        writer_.join();
    lock_.reset();
    if (timerRunning_)
        KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
    timerRunning_ = false;
}

void Recovery::waitForWriter() {
    std::unique_lock hold(mutex_);
    idle_.wait(hold, [this] { return !job_ && !busy_; });
}

void Recovery::submit(Job job) {
    {
        std::lock_guard hold(mutex_);
        // Only the newest state of the document matters: it replaces a job not yet started.
        job_ = std::move(job);
    }
    wake_.notify_one();
}

void Recovery::writerLoop() {
    std::unique_lock hold(mutex_);
    for (;;) {
        wake_.wait(hold, [this] { return stopping_ || job_; });
        if (!job_)
            return;
        const Job job = std::move(*job_);
        job_.reset();
        busy_ = true;
        hold.unlock();
        const bool done = perform(job);
        hold.lock();
        busy_ = false;
        if (job.write) {
            lastWriteFailed_ = !done;
            ++writesDone_;
            // A copy of a later change holds all of the restored text.
            if (done && std::exchange(restoreMarked_, false))
                DeleteFileW(file(kRestoring).c_str());
        }
        idle_.notify_all();
    }
}

bool Recovery::perform(const Job& job) {
    if (!job.write) {
        DeleteFileW(file(kCopy).c_str());
        DeleteFileW(file(kRestoring).c_str());
        return true;
    }
    if (!takeLock())
        return false;
    try {
        const std::string bytes = encodeRecoveryCopy(job.path, job.text);
        return ctl::saveFileSafely(file(kCopy), bytes.data(), bytes.size()) ==
               ctl::SaveResult::Saved;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Recovery::takeLock() {
    if (lock_)
        return true;
    if (folder_.empty() || !makeFolder(folder_))
        return false;
    lock_ = openLock(file(kLock));
    return static_cast<bool>(lock_);
}

void Recovery::reportWrites() {
    bool failed;
    {
        std::lock_guard hold(mutex_);
        if (writesDone_ == writesSeen_)
            return;
        writesSeen_ = writesDone_;
        failed = lastWriteFailed_;
    }
    ctl::Form& form = *editor_.mainWindow;
    if (failed && !failureShown_) {
        statusBeforeFailure_ = statusText(form);
        ctl::setStatusText(form, 0, kNotWritten);
        failureShown_ = true;
    } else if (!failed && failureShown_) {
        // What the bar showed comes back, unless something else has been shown since.
        if (statusText(form) == kNotWritten)
            ctl::setStatusText(form, 0, statusBeforeFailure_);
        failureShown_ = false;
    }
}

void Recovery::askAboutLeftCopy() {
    const std::wstring what =
        leftPath_.empty() ? std::wstring(L"of the untitled document") : L"of\r\n" + leftPath_;
    offering_ = true;
    const int answer =
        ctl::messageBox(L"The program did not end normally last time.\r\nDo you want to restore "
                        L"the unsaved changes " +
                            what + L" ?",
                        MB_YESNO | MB_ICONQUESTION);
    offering_ = false;
    if (answer == IDYES) {
        restore();
    } else if (answer == IDNO) {
        DeleteFileW(file(kCopy).c_str());
    } else {
        // Closed without an answer (Wine lets Alt+F4 close the box): the copy stays for the
        // next start, and this instance's own copies go under an id of their own.
        lock_.reset();
        id_ = newId();
    }
}

void Recovery::restore() {
    // Marked on the disk first: should the text end the program, the next start does not put
    // it in again. Wine's edit field faults on some mark sequences only once the text is shown
    // or clicked, so the mark stays until a copy of a later change is written: the user has
    // worked in the text by then.
    if (!MoveFileExW(file(kCopy).c_str(), file(kRestoring).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        keepAsDocument(file(kCopy), L"they could not be marked as being restored");
        return;
    }
    {
        std::lock_guard hold(mutex_);
        restoreMarked_ = true;
    }
    editor_.document.restore(leftText_, leftPath_);
    // The marked file already holds this text: no copy is due until it changes.
    unsavedSince_ = 0;
}

void Recovery::keepAsDocument(const std::wstring& copy, const wchar_t* why) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[40];
    std::swprintf(stamp, 40, L"%04u-%02u-%02u %02u.%02u.%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    std::wstring name;
    for (int n = 1;; ++n) {
        name = folder_ + L"Recovered text " + stamp +
               (n == 1 ? std::wstring() : L" (" + std::to_wstring(n) + L")") + L".txt";
        if (!exists(name))
            break;
    }
    bool kept = false;
    try {
        const std::wstring document = L'\xFEFF' + leftText_;
        kept = ctl::saveFileSafely(name, document.data(), document.size() * sizeof(wchar_t)) ==
               ctl::SaveResult::Saved;
    } catch (const std::bad_alloc&) {
    }
    const std::wstring of = leftPath_.empty() ? std::wstring() : L" of\r\n" + leftPath_;
    if (kept) {
        DeleteFileW(copy.c_str());
        ctl::messageBox(L"The unsaved changes" + of + L"\r\ncould not be restored: " + why +
                            L".\r\nThey were kept as a document in\r\n" + name,
                        MB_OK | MB_ICONWARNING);
    } else {
        ctl::messageBox(L"The unsaved changes" + of +
                            L"\r\ncould not be restored, nor kept as a document in\r\n" + name,
                        MB_OK | MB_ICONERROR);
    }
}

} // namespace app

// The recovery copy: the timing on the GUI thread and the writer thread.

#include "app/recovery.h"

#include "app/document.h"
#include "app/recovery_format.h"
#include "controls/file_stream.h"
#include "controls/form.h"
#include "controls/status_bar.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <new>
#include <utility>

namespace app {

namespace {

// A copy follows this long after the last change, and never later than kLongest after the
// first change it holds.
constexpr std::uint64_t kPause = 2000;
constexpr std::uint64_t kLongest = 30000;
constexpr UINT kTickPeriod = 250;

constexpr wchar_t kNotWritten[] = L" The recovery copy could not be written";

// Dawatik, then Recovery, inside the application data folder.
bool makeFolder(const std::wstring& folder) {
    const std::wstring parent = folder.substr(0, folder.rfind(L'\\', folder.size() - 2) + 1);
    for (const std::wstring& level : {parent, folder}) {
        if (!CreateDirectoryW(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return true;
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

Recovery::Recovery(ctl::Form& window, Document& document, std::wstring folder)
    : window_(window), document_(document), folder_(std::move(folder)), id_(newId()),
      timer_(window), offerTimer_(window) {
    timer_.onTick = [this] { tick(); };
    offerTimer_.onTick = [this] {
        offerInTurn();
        schedule();
    };
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

std::wstring Recovery::file(const std::wstring& id, const wchar_t* extension) const {
    return folder_ + id + extension;
}

ctl::UniqueFile Recovery::openLock(const std::wstring& path) {
    return ctl::UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

void Recovery::tick() {
    const std::uint64_t now = GetTickCount64();
    if (unsavedSince_ && !document_.modified())
        unsavedSince_ = 0;
    if (unsavedSince_ && (now - lastChange_ >= kPause || now - unsavedSince_ >= kLongest))
        takeCopy();
    reportWrites();
    schedule();
}

void Recovery::schedule() {
    if (ended_)
        return;
    bool writing;
    {
        std::lock_guard hold(mutex_);
        writing = job_ || busy_ || writesDone_ != writesSeen_;
    }
    const bool wanted = unsavedSince_ != 0 || writing;
    if (wanted && !timer_.running())
        timer_.start(kTickPeriod);
    else if (!wanted && timer_.running())
        timer_.stop();
}

void Recovery::changed() {
    if (ended_)
        return;
    lastChange_ = GetTickCount64();
    if (!unsavedSince_)
        unsavedSince_ = lastChange_;
    if (!timer_.running())
        schedule();
}

void Recovery::takeCopy() {
    if (ended_)
        return;
    unsavedSince_ = 0;
    try {
        submit({true, id_, document_.fileName(), document_.text()});
    } catch (const std::bad_alloc&) {
        std::lock_guard hold(mutex_);
        lastWriteFailed_ = true;
        ++writesDone_;
    }
}

void Recovery::discard() {
    if (ended_)
        return;
    unsavedSince_ = 0;
    submit({false, id_, {}, {}});
    reportWrites();
    schedule();
}

void Recovery::end() {
    if (ended_)
        return;
    discard();
    ended_ = true;
    {
        std::lock_guard hold(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (writer_.joinable())
        writer_.join();
    {
        std::lock_guard hold(mutex_);
        lock_.reset();
    }
    timer_.stop();
    offerTimer_.stop();
    // Copies still waiting to be offered stay for the next start.
    left_.clear();
}

void Recovery::waitForWriter() {
    std::unique_lock hold(mutex_);
    idle_.wait(hold, [this] { return !job_ && !busy_; });
}

void Recovery::submit(Job job) {
    {
        std::lock_guard hold(mutex_);
        if (stopping_)
            return;
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
        const bool locked = !job.write || takeLock(job.id);
        hold.unlock();
        const bool done = locked && perform(job);
        hold.lock();
        busy_ = false;
        if (job.write) {
            lastWriteFailed_ = !done;
            ++writesDone_;
            // A copy of a later change holds all of the restored text.
            if (done && !restoreMark_.empty()) {
                DeleteFileW(restoreMark_.c_str());
                restoreMark_.clear();
            }
        }
        idle_.notify_all();
    }
}

bool Recovery::perform(const Job& job) {
    if (!job.write) {
        DeleteFileW(file(job.id, kCopy).c_str());
        DeleteFileW(file(job.id, kRestoring).c_str());
        return true;
    }
    try {
        const std::string bytes = encodeRecoveryCopy(job.path, job.text);
        return ctl::saveFileSafely(file(job.id, kCopy), bytes.data(), bytes.size()) ==
               ctl::SaveResult::Saved;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Recovery::takeLock(const std::wstring& id) {
    if (lock_)
        return true;
    if (folder_.empty() || !makeFolder(folder_))
        return false;
    lock_ = openLock(file(id, kLock));
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
    if (failed && !failureShown_) {
        statusBeforeFailure_ = ctl::statusText(window_, 0);
        ctl::setStatusText(window_, 0, kNotWritten);
        failureShown_ = true;
    } else if (!failed && failureShown_) {
        // What the bar showed comes back, unless something else has been shown since.
        if (ctl::statusText(window_, 0) == kNotWritten)
            ctl::setStatusText(window_, 0, statusBeforeFailure_);
        failureShown_ = false;
    }
}

} // namespace app

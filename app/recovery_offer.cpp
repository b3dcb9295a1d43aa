// The recovery copies left by instances that are gone: held at the start, offered in turn once
// the window is shown, and restored, deleted or kept as a document as the user answers.

#include "app/recovery.h"

#include "app/document.h"
#include "app/recovery_format.h"
#include "controls/file_stream.h"
#include "controls/form.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

namespace app {

namespace {

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

} // namespace

void Recovery::offerLeftCopies() {
    if (folder_.empty())
        return;
    // Held now, before the loop runs: another instance starting meanwhile does not offer them.
    for (const bool unfinished : {true, false}) {
        for (const std::wstring& id : idsOf(folder_, unfinished ? kRestoring : kCopy)) {
            if (std::any_of(left_.begin(), left_.end(),
                            [&id](const LeftCopy& left) { return left.id == id; }))
                continue;
            ctl::UniqueFile lock = openLock(file(id, kLock));
            if (!lock)
                continue; // its instance still runs
            // A copy written after the restore mark holds all of the marked text and more: the
            // copy is offered, the mark goes.
            const bool markOnly = unfinished && !exists(file(id, kCopy));
            if (unfinished && !markOnly)
                DeleteFileW(file(id, kRestoring).c_str());
            left_.push_back({id, std::move(lock), markOnly});
        }
    }
    // The questions wait for the loop: the user sees the window behind them.
    if (!left_.empty())
        offerTimer_.start(0);
}

void Recovery::offerInTurn() {
    offerTimer_.stop();
    offering_ = true;
    const struct Answered {
        bool& offering;
        ~Answered() { offering = false; }
    } answered{offering_};
    // Those not asked about go with this list, and their locks with them: they stay for the
    // next start.
    std::vector<LeftCopy> left = std::move(left_);
    left_.clear();
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (!ask(left[i], left.size() - i - 1))
            return;
    }
}

bool Recovery::ask(LeftCopy& left, std::size_t more) {
    const std::wstring copy = file(left.id, left.unfinished ? kRestoring : kCopy);
    std::optional<RecoveryCopy> text = readCopy(copy);
    if (!text) {
        // Not a whole copy: nothing of it can be given back.
        DeleteFileW(copy.c_str());
        return true;
    }
    if (left.unfinished) {
        keepAsDocument(copy, text->path, text->text, L"the program ended while putting them back");
        return true;
    }
    const int answer =
        ctl::messageBox(restoreQuestion(text->path, more), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES)
        return !restore(left, copy, text->path, text->text);
    if (answer == IDNO) {
        DeleteFileW(copy.c_str());
        return true;
    }
    // Closed without an answer (Wine lets Alt+F4 close the box): this copy and the rest stay
    // for the next start.
    return false;
}

bool Recovery::restore(LeftCopy& left, const std::wstring& copy, const std::wstring& path,
                       const std::wstring& text) {
    // Marked on the disk first: should the text end the program, the next start does not put
    // it in again. Wine's edit field faults on some mark sequences only once the text is shown
    // or clicked, so the mark stays until a copy of a later change is written: the user has
    // worked in the text by then.
    const std::wstring mark = file(left.id, kRestoring);
    if (!MoveFileExW(copy.c_str(), mark.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        keepAsDocument(copy, path, text, L"they could not be marked as being restored");
        return false;
    }
    // The instance goes on under the restored copy's id. Its own copies so far hold a text
    // that is being replaced; they go before the lock is handed over.
    submit({false, id_, {}, {}});
    waitForWriter();
    {
        std::lock_guard hold(mutex_);
        lock_ = std::move(left.lock);
        restoreMark_ = mark;
    }
    id_ = left.id;
    document_.restore(text, path);
    // The marked file already holds this text: no copy is due until it changes.
    unsavedSince_ = 0;
    return true;
}

void Recovery::keepAsDocument(const std::wstring& copy, const std::wstring& path,
                              const std::wstring& text, const wchar_t* why) {
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
        const std::wstring document = L'\xFEFF' + text;
        kept = ctl::saveFileSafely(name, document.data(), document.size() * sizeof(wchar_t)) ==
               ctl::SaveResult::Saved;
    } catch (const std::bad_alloc&) {
    }
    const std::wstring of = path.empty() ? std::wstring() : L" of\r\n" + path;
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

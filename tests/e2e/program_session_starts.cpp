// The whole-program session's kills and starts: what a killed or closed program leaves, and
// the copies a new start offers, in turn, with their answers drawn at random.

#include "program_session.h"

#include "app/recovery_format.h"

namespace e2e {

// ---- kills and starts

void ProgramSession::kill() {
    if (chance(50)) {
        log_ += L" after a pause of 3 s";
        Sleep(3100);
    }
    program_->kill();
    ++figures_.kills;
    afterEnd(true);
}

void ProgramSession::afterEnd(bool killed) {
    // Every file is what was last saved.
    if (const std::wstring files = folderDifference(); !files.empty())
        fail(files);
    if (const std::wstring settings = settingsDifference(); !settings.empty())
        fail(settings);
    // Copies left for a later start stay as they were; of its own, one instance leaves one.
    for (const auto& [name, bytes] : pending_)
        if (testing_files::readBytes(recoveryFolder() + name) != bytes)
            fail(L"the left copy " + name + L" changed");
    const auto own = [&](const wchar_t* pattern) {
        std::vector<std::wstring> names = namesIn(recoveryFolder(), pattern);
        std::erase_if(names, [&](const std::wstring& name) { return pending_.count(name) > 0; });
        return names;
    };
    const std::vector<std::wstring> copies = own(L"*.recovery");
    const std::vector<std::wstring> marks = own(L"*.restoring");
    ownCopy_ = copies.empty() ? std::wstring() : copies[0];
    if (!killed && !(copies.empty() && marks.empty()))
        fail(L"a normal end left a recovery copy");
    if (copies.size() > 1 || marks.size() > 1)
        fail(L"one instance left more than one copy");
    const auto read = [&](const std::wstring& file) {
        const auto copy =
            app::decodeRecoveryCopy(testing_files::readBytes(recoveryFolder() + file));
        if (!copy)
            fail(L"the copy " + file + L" is not whole");
        return *copy;
    };
    const bool typedThenPaused = model_.modified == true && model_.copyDue == true &&
                                 Clock::now() - model_.lastChange >= std::chrono::seconds(3);
    if (!copies.empty()) {
        const app::RecoveryCopy copy = read(copies[0]);
        if (!model_.heldSinceSave.contains(ProgramModel::hashOf(copy.text)) ||
            copy.path != model_.fileName)
            fail(L"the copy holds a text the document did not hold since it was last saved or "
                 L"opened, or another path: " +
                 units(copy.text) + L" of \"" + copy.path + L"\"");
        figures_.pausedKills += typedThenPaused;
        if (typedThenPaused && copy.text != model_.edit.text)
            fail(L"three seconds after typing, the copy holds " + units(copy.text));
        if (model_.modified == false &&
            Clock::now() - model_.lastUnmodified >= std::chrono::seconds(1))
            fail(L"a copy was left of a document with nothing unsaved");
    } else if (typedThenPaused) {
        fail(L"three seconds after typing, no copy was left");
    }
    if (!marks.empty() && copies.empty() && read(marks[0]).text != model_.restored.value_or(L"-"))
        fail(L"the restore mark holds another text than the one restored");
    start();
}

namespace {

// The copies a start offers, in its order: those whose restore did not finish, then the others,
// each newest first; for each, whether it is only a restore mark.
std::vector<std::pair<std::wstring, bool>> offeredCopies(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, bool>> offered;
    for (const bool marks : {true, false}) {
        std::vector<std::pair<ULONGLONG, std::wstring>> found;
        for (const std::wstring& name : namesIn(folder, marks ? L"*.restoring" : L"*.recovery")) {
            const std::wstring id = name.substr(0, name.rfind(L'.'));
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if ((marks && testing_files::exists(folder + id + L".recovery")) ||
                !GetFileAttributesExW((folder + name).c_str(), GetFileExInfoStandard, &data))
                continue;
            found.push_back({(ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                 data.ftLastWriteTime.dwLowDateTime,
                             name});
        }
        std::sort(found.rbegin(), found.rend());
        for (const auto& [written, name] : found)
            offered.push_back({name, marks});
    }
    return offered;
}

} // namespace

void ProgramSession::start() {
    const std::vector<std::pair<std::wstring, bool>> offered = offeredCopies(recoveryFolder());
    std::vector<app::RecoveryCopy> copies;
    for (const auto& [name, mark] : offered) {
        const auto copy =
            app::decodeRecoveryCopy(testing_files::readBytes(recoveryFolder() + name));
        if (!copy)
            fail(L"the copy " + name + L" is not whole");
        copies.push_back(*copy);
    }
    const std::set<std::size_t> held = model_.heldSinceSave;
    program_.reset();
    program_ = std::make_unique<Program>(folder_.path());
    ++figures_.starts;
    if (!program_->started())
        fail(L"the program did not start" +
             (program_->running()
                  ? std::wstring()
                  : L": it ended with code " + std::to_wstring(program_->waitForExit(0))));
    const std::wstring settings = path(L"Setting.ini");
    if (defaultFont_.empty())
        defaultFont_ = program_->fontText();
    const auto font = model_.settings.find(L"FontName");
    model_.started(font == model_.settings.end() ? defaultFont_ : font->second,
                   std::to_wstring(static_cast<int>(
                       GetPrivateProfileIntW(L"General", L"FontSize", 72, settings.c_str()))));
    pending_.clear();
    for (std::size_t i = 0; i < offered.size(); ++i) {
        const app::RecoveryCopy& copy = copies[i];
        const Dialog box = program_->waitForDialog();
        if (offered[i].second) {
            const std::wstring told =
                L"The unsaved changes" +
                (copy.path.empty() ? std::wstring() : L" of\r\n" + copy.path) +
                L"\r\ncould not be restored: the program ended while putting them back.\r\nThey "
                L"were kept as a document in\r\n";
            if (!box.text.starts_with(told) ||
                testing_files::readBytes(box.text.substr(told.size())) !=
                    testing_files::marked(copy.text))
                fail(L"the text being restored was not kept as a document: " + box.text);
            answer(box, IDOK, L"kept as a document");
            continue;
        }
        if (box.text != app::restoreQuestion(copy.path, offered.size() - i - 1) ||
            box.buttons != std::vector<int>{IDYES, IDNO})
            fail(L"the left copy was not offered: " + box.text);
        const int roll = pick(100);
        if (roll < 15) {
            // Alt+F4 closes the box under Wine with neither answer: this copy and the rest
            // stay for the next start.
            log_ += L", closed by Alt+F4";
            if (!Program::pressIn(box, VK_F4, true) ||
                !waitFor([&] { return !IsWindow(box.window); }))
                fail(L"Alt+F4 did not close the question");
            for (std::size_t rest = i; rest < offered.size(); ++rest)
                pending_[offered[rest].first] =
                    testing_files::readBytes(recoveryFolder() + offered[rest].first);
            break;
        }
        if (roll < 45) {
            answer(box, IDNO, L"not restored");
            continue;
        }
        answer(box, IDYES, L"restored");
        ++figures_.restores;
        // The copy of this instance's document comes back with all it held since its save;
        // another one was checked when it was left.
        model_.show(copy.text, copy.path);
        model_.heldSinceSave = offered[i].first == ownCopy_ ? held : std::set<std::size_t>{};
        model_.heldSinceSave.insert(ProgramModel::hashOf(copy.text));
        model_.modified = true;
        model_.restored = copy.text;
        if (!copy.path.empty())
            model_.status = L" " + copy.path;
        // A large text takes Wine's field many seconds to lay out.
        if (!program_->waitForText(copy.text, copy.text.size() > kLargeDocument ? 180000 : 30000))
            fail(L"the restored text did not come");
        for (std::size_t rest = i + 1; rest < offered.size(); ++rest)
            pending_[offered[rest].first] =
                testing_files::readBytes(recoveryFolder() + offered[rest].first);
        break;
    }
    clickInText(false);
    check();
}

} // namespace e2e

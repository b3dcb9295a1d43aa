// The whole-program session's commands: how each is given, what it does to the model, the
// document commands through their dialogs and questions, and a kill or an exit with the start
// that follows.

#include "program_session.h"

namespace e2e {

namespace {

using app::Command;

constexpr wchar_t kChangedQuestion[] = L"The text has changed\r\nDo you want to save the changes ?";
constexpr wchar_t kNotUnicode[] =
    L"This file seems not an Arabic Unicode text\r\nDo you want to open anyway ?";
constexpr wchar_t kTitle[] = L"Dawatik 1.4";
const std::wstring kSaveTargets[] = {L"letter.txt", L"plain.txt", L"new-a.txt", L"new-b.txt",
                                     L"new-c.txt"};

// Where a command stands in the menu: the title on the menu bar, then the row in each menu that
// opens (separators not counted) and how many rows that menu has.
struct MenuPath {
    int bar = -1;
    std::vector<int> rows;
    std::vector<int> counts;
};

struct MenuNode {
    std::optional<Command> command;
    std::vector<MenuNode> items;
};

std::vector<MenuNode> parseMenu(std::size_t& at) {
    std::vector<MenuNode> items;
    while (at < app::kCommandTable.size() &&
           app::kCommandTable[at].kind != app::MenuLine::Kind::End) {
        const app::MenuLine& line = app::kCommandTable[at++];
        if (line.kind == app::MenuLine::Kind::Item) {
            items.push_back({line.command, {}});
        } else if (line.kind == app::MenuLine::Kind::Popup) {
            items.push_back({std::nullopt, parseMenu(at)});
            ++at; // its end
        }
    }
    return items;
}

bool pathTo(const std::vector<MenuNode>& items, Command command, MenuPath& path) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        path.rows.push_back(static_cast<int>(i));
        path.counts.push_back(static_cast<int>(items.size()));
        if (items[i].command == command || pathTo(items[i].items, command, path))
            return true;
        path.rows.pop_back();
        path.counts.pop_back();
    }
    return false;
}

MenuPath menuPathOf(Command command) {
    std::size_t at = 0;
    const std::vector<MenuNode> bar = parseMenu(at);
    MenuPath path;
    pathTo(bar, command, path);
    path.bar = path.rows.front();
    path.rows.erase(path.rows.begin());
    path.counts.erase(path.counts.begin());
    return path;
}

bool opensDialog(Command command) {
    switch (command) {
    case Command::New:
    case Command::Open:
    case Command::Save:
    case Command::SaveAs:
    case Command::Exit:
    case Command::HelpTopics:
    case Command::About:
        return true;
    default:
        return false;
    }
}

} // namespace

std::wstring ProgramSession::recoveryFolder() const {
    return localAppData(folder_.path()) + L"Dawatik\\Recovery\\";
}

// ---- giving a command

void ProgramSession::invoke(Command command, Way way) {
    const Program& program = *program_;
    switch (way) {
    case Way::Shortcut: {
        const bool dialog = opensDialog(command);
        if (command == Command::Exit)
            return program.press(VK_F4, false, true);
        const WORD key =
            std::find_if(app::kCommandTable.begin(), app::kCommandTable.end(),
                         [&](const app::MenuLine& row) {
                             return row.kind == app::MenuLine::Kind::Item && row.command == command;
                         })
                ->ctrlKey;
        if (dialog)
            return program.press(key, true);
        // Released in the field, Ctrl ends a combination; with a dialog up it is the dialog's.
        model_.edit.previous = 0;
        if (!program.pressAndWait(key, true))
            fail(L"the shortcut was not taken");
        return;
    }
    case Way::MenuKeys: {
        const MenuPath path = menuPathOf(command);
        std::vector<WORD> keys(static_cast<std::size_t>(path.bar), VK_RIGHT);
        for (std::size_t level = 0; level < path.rows.size(); ++level) {
            keys.push_back(level == 0 ? VK_DOWN : VK_RIGHT);
            keys.insert(keys.end(), static_cast<std::size_t>(path.rows[level]), VK_DOWN);
        }
        keys.push_back(VK_RETURN);
        // Alt is released in the field before the menu takes the keys.
        model_.edit.previous = 0;
        program.chooseFromMenu(keys);
        if (!waitFor([&] { return !program.inMenu(); }, 3000))
            fail(L"the menu stayed open");
        return;
    }
    case Way::MenuMouse: {
        const MenuPath path = menuPathOf(command);
        if (const std::wstring failure = program.chooseWithMouse(path.bar, path.rows, path.counts);
            !failure.empty())
            fail(L"the menu could not be used: " + failure);
        return;
    }
    case Way::Toolbar:
        return program.clickButton(app::toolbarEntryOf(command));
    case Way::FieldKey:
        model_.edit.previous = 0;
        if (!program.pressAndWait(command == Command::Undo ? 'Z' : 'V', true))
            fail(L"the key was not taken");
        return;
    }
}

void ProgramSession::command(const Step& step) {
    switch (step.command) {
    case Command::New:
        return newDocument(step.way);
    case Command::Open:
        return open(step.way);
    case Command::Save:
    case Command::SaveAs:
        return save(step.way, step.command == Command::SaveAs);
    case Command::Exit:
        return exit(step.way);
    case Command::Undo:
        return undo(step.way);
    case Command::Increase:
    case Command::Decrease:
    case Command::Normal:
    case Command::Right:
    case Command::Center:
        return viewCommand(step.command, step.way);
    case Command::HelpTopics: {
        invoke(step.command, step.way);
        const Dialog box = program_->waitForDialog();
        if (!box.window || box.fileDialog || box.text != L"Help file not found" ||
            box.caption != kTitle || box.buttons != std::vector<int>{IDOK})
            fail(L"Help showed no \"Help file not found\" box: " + box.text);
        answer(box, IDOK, L"OK");
        return check();
    }
    case Command::About:
        return about(step.way);
    default:
        return editCommand(step);
    }
}

void ProgramSession::editCommand(const Step& step) {
    const std::wstring before = model_.edit.text;
    const std::wstring selected = model_.edit.selected();
    TypedText next = *predictText(step);
    invoke(step.command, step.way);
    next.previous = model_.edit.previous;
    if ((step.command == Command::Cut || step.command == Command::Copy) && !selected.empty())
        model_.clipboard = selected;
    if (step.command == Command::SelectAll || step.command == Command::Copy)
        model_.edit = std::move(next);
    else
        applyEdit(std::move(next), before);
    check();
}

void ProgramSession::undo(Way way) {
    // The field's undo has one level that toggles: the first gives back a text it held before
    // (or keeps it with nothing to undo), the second restores this one exactly.
    const std::wstring before = model_.edit.text;
    invoke(Command::Undo, way);
    std::wstring undone;
    waitFor([&] { return (undone = program_->editText()) != before; }, 500);
    // Putting a large text back keeps the field busy for seconds: it answers once it is done.
    const std::wstring busy = L"<no answer>";
    if (undone == busy)
        waitFor([&] { return (undone = program_->editText()) != busy; }, 60000);
    log_ += L" (the first gave " + units(undone) + L")";
    if (!seen_.contains(ProgramModel::hashOf(undone)))
        fail(L"Undo gave a text the session never had: " + units(undone) + L"\nfrom " +
             units(before));
    invoke(Command::Undo, way);
    const bool large = std::max(undone.size(), before.size()) > kLargeDocument;
    if (!waitFor([&] { return program_->editText() == before; }, large ? 60000 : 3000))
        fail(L"the second Undo did not restore the text: " + units(program_->editText()));
    model_.heldSinceSave.insert(ProgramModel::hashOf(undone));
    model_.edited(undone != before);
    adoptSelection(false);
    check();
}

void ProgramSession::viewCommand(Command command, Way way) {
    invoke(command, way);
    if (command == Command::Right || command == Command::Center) {
        model_.centered = command == Command::Center;
        model_.settings[L"TextAlign"] = model_.centered ? L"Center" : L"Right";
    } else if (command == Command::Normal) {
        model_.height = 26;
        model_.sizeText = L"26";
    } else {
        model_.height += command == Command::Increase ? 2 : -2;
        model_.sizeText = std::to_wstring(model_.height);
        model_.settings[L"FontSize"] = model_.sizeText;
    }
    check();
    if ((command == Command::Right || command == Command::Center) && chance(30)) {
        // The menu's marks, read by the keyboard.
        const Program::Marks marks = program_->alignMarks();
        model_.edit.previous = 0;
        log_ += L", marks read";
        if (!marks.seen || marks.right == model_.centered || marks.center != model_.centered)
            fail(L"View > Text Align shows the marks of the other alignment");
        check();
    }
}

void ProgramSession::about(Way way) {
    invoke(Command::About, way);
    HWND about = nullptr;
    if (!waitFor([&] { return (about = program_->windowCaptioned(L"About Dawatik")) != nullptr; }))
        fail(L"no About window came");
    if (IsWindowEnabled(program_->main()))
        fail(L"the main window takes input under the About window");
    // By its close box, or from the task list.
    if (chance(50)) {
        PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        log_ += L", closed by its close box";
    } else {
        PostMessageW(about, WM_CLOSE, 0, 0);
        log_ += L", closed from outside";
    }
    if (!waitFor([&] { return !IsWindow(about) && IsWindowEnabled(program_->main()); }))
        fail(L"the About window did not close");
    check();
}

// ---- dialogs

Dialog ProgramSession::nextDialog(const std::function<bool()>& goneOn) {
    Dialog dialog;
    waitFor([&] { return (dialog = program_->waitForDialog(0)).window || goneOn(); });
    // A question may still be on its way.
    if (!dialog.window)
        dialog = program_->waitForDialog(300);
    return dialog;
}

void ProgramSession::answer(const Dialog& dialog, int button, const wchar_t* said) {
    log_ += L", ";
    log_ += said;
    if (!Program::answer(dialog, button))
        fail(L"the dialog did not close");
}

void ProgramSession::chooseFile(const Dialog& dialog, const std::wstring& name) {
    log_ += L", " + name;
    if (!dialog.window || !dialog.fileDialog)
        fail(L"no file dialog came: " + dialog.text);
    if (!Program::chooseFile(dialog, path(name)))
        fail(L"the file dialog did not take " + name);
}

bool ProgramSession::changesAnswered(const std::function<bool()>& goneOn) {
    const std::optional<bool> asks = model_.asks();
    const Dialog box = nextDialog(goneOn);
    const bool asked = box.window && !box.fileDialog && box.text == kChangedQuestion;
    asked_ = asked;
    if (asks && *asks != asked)
        fail(asked ? L"asked about unsaved changes although there were none"
                   : L"did not ask about the unsaved changes: " +
                         (box.window ? L"\"" + box.text + L"\" came" : std::wstring(L"none came")));
    if (!asked)
        return true;
    model_.modified = true;
    if (box.caption != kTitle || box.buttons != std::vector<int>{IDCANCEL, IDYES, IDNO})
        fail(L"the question has other buttons or caption");
    const int roll = pick(100);
    if (roll < 25) {
        answer(box, IDCANCEL, L"Cancel");
        return false;
    }
    if (roll < 65) {
        answer(box, IDNO, L"No");
        return true;
    }
    answer(box, IDYES, L"Yes");
    if (!model_.fileName.empty()) {
        model_.save(nameOf(model_.fileName));
        // What the file now holds is what the document held since.
        model_.heldSinceSave = {ProgramModel::hashOf(model_.edit.text)};
        return true;
    }
    // A copy under a chosen name; the document stays untitled.
    const std::optional<std::wstring> name = chooseSaveName();
    if (name)
        model_.save(*name);
    return name.has_value();
}

std::optional<std::wstring> ProgramSession::chooseSaveName() {
    const Dialog dialog = program_->waitForDialog();
    if (!dialog.fileDialog)
        fail(L"no save dialog came: " + dialog.text);
    if (chance(15)) {
        answer(dialog, IDCANCEL, L"the dialog cancelled");
        return std::nullopt;
    }
    std::wstring name = oneOf(kSaveTargets);
    chooseFile(dialog, name);
    if (!model_.files.count(name))
        return name;
    const Dialog replace = program_->waitForDialog();
    if (!replace.window || replace.fileDialog || replace.buttons != std::vector<int>{IDYES, IDNO})
        fail(L"no question about replacing " + name);
    if (chance(70)) {
        answer(replace, IDYES, L"replaced");
        // The file dialog closes after its question: until it is gone it may still be shown.
        if (!waitFor([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); }))
            fail(L"the save dialog stayed after the replace was confirmed");
        return name;
    }
    answer(replace, IDNO, L"not replaced");
    const Dialog again = program_->waitForDialog();
    const auto fresh = std::find_if(std::begin(kSaveTargets), std::end(kSaveTargets),
                                    [&](const std::wstring& n) { return !model_.files.count(n); });
    if (fresh == std::end(kSaveTargets) || chance(30)) {
        answer(again, IDCANCEL, L"the dialog cancelled");
        return std::nullopt;
    }
    chooseFile(again, *fresh);
    return *fresh;
}

// ---- documents

void ProgramSession::newDocument(Way way) {
    invoke(Command::New, way);
    const bool goneOn = changesAnswered(
        [&] { return program_->editText().empty() && program_->statusText().empty(); });
    if (way == Way::Shortcut && !asked_)
        model_.edit.previous = 0;
    if (goneOn) {
        model_.show({}, {});
        model_.status.clear();
        model_.unmodified();
    }
    check();
}

void ProgramSession::save(Way way, bool asNew) {
    invoke(asNew ? Command::SaveAs : Command::Save, way);
    if (!asNew && !model_.fileName.empty()) {
        if (way == Way::Shortcut)
            model_.edit.previous = 0;
        model_.save(nameOf(model_.fileName));
        model_.unmodified();
        ++figures_.saves;
        return check();
    }
    const std::optional<std::wstring> name = chooseSaveName();
    if (!name) {
        // A cancelled Save leaves the document as one with unsaved changes.
        if (!asNew)
            model_.modified = true;
        return check();
    }
    model_.fileName = path(*name);
    model_.save(*name);
    model_.unmodified();
    ++figures_.saves;
    check();
}

void ProgramSession::open(Way way) {
    invoke(Command::Open, way);
    if (!changesAnswered([] { return false; }))
        return check();
    const Dialog dialog = program_->waitForDialog();
    if (chance(12)) {
        if (!dialog.fileDialog)
            fail(L"no open dialog came: " + dialog.text);
        answer(dialog, IDCANCEL, L"the dialog cancelled");
        return check();
    }
    std::vector<std::wstring> names;
    for (const auto& [name, bytes] : model_.files)
        names.push_back(name);
    const std::wstring name = names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))];
    chooseFile(dialog, name);
    const std::string& bytes = model_.files[name];
    if (bytes.compare(0, 2, "\xFF\xFE") != 0) {
        const Dialog box = program_->waitForDialog();
        if (box.fileDialog || box.text != kNotUnicode ||
            box.buttons != std::vector<int>{IDOK, IDCANCEL})
            fail(L"no question about a file without the mark: " + box.text);
        if (chance(25)) {
            answer(box, IDCANCEL, L"Cancel");
            return check();
        }
        answer(box, IDOK, L"OK");
    }
    ++figures_.opens;
    model_.show(openedText(bytes), path(name));
    model_.unmodified();
    model_.status = L" " + path(name);
    if (model_.edit.text.size() > kLargeDocument)
        return whileLoading(name);
    check();
}

void ProgramSession::whileLoading(const std::wstring& name) {
    ++figures_.largeOpens;
    const std::wstring status = L" " + path(name);
    if (!waitFor([&] {
            const std::wstring now = program_->statusText();
            return now.starts_with(L" Opening \x2026 ") || now == status;
        }))
        fail(L"the load did not begin: the status bar shows " + program_->statusText());
    // What the user does meanwhile: a key (a letter, which combines with nothing and whose
    // release ends nothing), Select All and a key or Copy, Save, or the end of the program.
    static const wchar_t kLetters[] = L"bdfgkmnqrstz";
    const wchar_t letter = kLetters[pick(static_cast<int>(std::size(kLetters) - 1))];
    const int roll = pick(100);
    if (roll < 20) {
        log_ += L", meanwhile kill";
        program_->kill();
        ++figures_.kills;
        return afterEnd(true);
    }
    if (roll < 30) {
        log_ += L", meanwhile Alt+F4";
        if (program_->closeWithAltF4() != 0)
            fail(L"the program did not end normally");
        return afterEnd(false);
    }
    TypedText next = model_.edit;
    bool saved = false;
    if (roll < 45) {
        log_ += L", meanwhile type " + std::wstring(1, letter);
        program_->type(std::wstring(1, letter));
        next.type(std::wstring(1, letter));
    } else if (roll < 55) {
        log_ += L", meanwhile Select All and type " + std::wstring(1, letter);
        program_->press('A', true);
        program_->type(std::wstring(1, letter));
        next.start = 0;
        next.end = next.text.size();
        next.previous = 0;
        next.type(std::wstring(1, letter));
    } else if (roll < 65) {
        log_ += L", meanwhile Save";
        program_->press('S', true);
        next.previous = 0;
        saved = true;
    } else if (roll < 75) {
        // Copy waits for the whole document, as Cut does.
        log_ += L", meanwhile Select All and Copy";
        program_->press('A', true);
        program_->press('C', true);
        next.start = 0;
        next.end = next.text.size();
        next.previous = 0;
        model_.clipboard = next.text;
    }
    if (!program_->waitForStatus(status, 120000))
        fail(L"the load did not end");
    if (const std::wstring before = model_.edit.text; next.text != before)
        applyEdit(std::move(next), before);
    else
        model_.edit = std::move(next);
    if (saved) {
        model_.save(name);
        model_.unmodified();
        ++figures_.saves;
    }
    check();
}

void ProgramSession::exit(Way way) {
    invoke(Command::Exit, way);
    if (!changesAnswered([&] { return !program_->running(); }))
        return check();
    if (program_->waitForExit() != 0)
        fail(L"the program did not end normally");
    afterEnd(false);
}

} // namespace e2e

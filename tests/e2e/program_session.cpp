// The whole-program session: drawing the steps, checking the program against the model, and the
// steps in the text and in the font boxes.

#include "program_session.h"

namespace e2e {

namespace {

// The field is slow with long wrapped Arabic lines: typing keeps lines short and unwrapped, and
// the text sizes drawn keep twelve units on a line at any font.
constexpr std::size_t kMaxLine = 12;
constexpr std::size_t kMaxLines = 4;
constexpr int kLargestHeight = 72;
constexpr int kSmallestHeight = -40;

struct StepFailure {
    std::wstring what;
};

struct LineStats {
    std::size_t count = 0;
    std::size_t longest = 0;
};
LineStats statsOf(std::wstring_view text) {
    LineStats stats;
    for (std::wstring_view line : linesOf(text)) {
        ++stats.count;
        stats.longest = std::max(stats.longest, line.size());
    }
    return stats;
}

std::wstring clipboardText() {
    if (!OpenClipboard(nullptr))
        return L"<busy>";
    std::wstring text = L"<none>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* units = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = units;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void setClipboard(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy(text.c_str(), text.c_str() + text.size() + 1,
              static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr) || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory))
        GlobalFree(memory);
    CloseClipboard();
}

// About 1 MB of short numbered lines of Arabic words: a document that arrives in slices.
std::wstring largeText() {
    const wchar_t* const words[] = {L"\x0643\x062A\x0628", L"\x0633\x0644\x0627\x0645",
                                    L"\x0628\x064A\x062A", L"\x0642\x0644\x0645"};
    std::wstring text;
    for (unsigned line = 0; text.size() < 512 * 1024; ++line) {
        for (wchar_t digit : std::to_wstring(line % 100000))
            text.push_back(static_cast<wchar_t>(digit - L'0' + 0x0660));
        text += L' ' + std::wstring(words[line % 4]) + L"\r\n";
    }
    return text;
}

} // namespace

ProgramSession::ProgramSession(unsigned seed, SessionFigures& figures)
    : seed_(seed), figures_(figures), random_(seed) {
    for (const app::KeyMapping& row : app::keyMappings()) {
        keys_.push_back(static_cast<wchar_t>(row.typed));
        if (row.after)
            pairs_.push_back({static_cast<wchar_t>(row.after), static_cast<wchar_t>(row.typed)});
    }
    keys_ += L" .B";
    // The case's files: marked with LF line ends and no last one, unmarked, empty, of odd
    // length, and large.
    const std::string marked =
        testing_files::marked(L"\x0643\x062A\x0628\n\x0633\x0644\x0627\x0645");
    model_.files = {
        {L"letter.txt", marked},
        {L"plain.txt", testing_files::utf16(L"\x0628\x064A\x062A\r\n\x0642\x0644\x0645\r\n")},
        {L"empty.txt", ""},
        {L"odd.txt", testing_files::marked(L"\x0645\x0646") + "\x62"},
        {L"large.txt", testing_files::marked(largeText())},
    };
    for (const auto& [name, bytes] : model_.files)
        testing_files::writeBytes(path(name), bytes);
    model_.clipboard = seed % 2 ? L"ab \x0643\x062A\x0628" : L"\x0628\r\n\x062A";
    setClipboard(*model_.clipboard);
}

ProgramSession::~ProgramSession() = default;

void ProgramSession::fail(const std::wstring& what) const {
    throw StepFailure{what + (program_ && program_->running()
                                  ? L"\nthe program shows:" + program_->windowsShown()
                                  : std::wstring(L"\nthe program has ended"))};
}

std::wstring ProgramSession::run(int steps) {
    int n = 0;
    try {
        log_ += L"0. start";
        start();
        for (n = 1; n <= steps; ++n) {
            const Step step = draw();
            log_ += L"\n" + std::to_wstring(n) + L". " + describe(step);
            perform(step);
            ++figures_.steps;
            if (step.action == Action::Type || step.action == Action::Pair) {
                lastTyped_ = step.keys.back();
                stepsSinceTyped_ = 0;
            } else {
                ++stepsSinceTyped_;
            }
        }
    } catch (const StepFailure& failure) {
        return L"seed " + std::to_wstring(seed_) + L", step " + std::to_wstring(n) + L": " +
               failure.what + L"\nsteps:\n" + log_;
    }
    return {};
}

// ---- drawing

ProgramSession::Step ProgramSession::draw() {
    for (;;) {
        Step step{};
        const int roll = pick(100);
        // A combination's second key comes more often than chance alone would, right after its
        // first key or one step later.
        wchar_t second = 0;
        for (const app::KeyMapping& row : app::keyMappings())
            if (lastTyped_ && row.after == lastTyped_)
                second = static_cast<wchar_t>(row.typed);
        if (second && stepsSinceTyped_ <= 1 && roll < 15) {
            step = {Action::Type, std::wstring(1, second)};
        } else if (roll < 30) {
            step = {Action::Type,
                    std::wstring(
                        1, keys_[static_cast<std::size_t>(pick(static_cast<int>(keys_.size())))])};
        } else if (roll < 35) {
            step = {Action::Pair,
                    pairs_[static_cast<std::size_t>(pick(static_cast<int>(pairs_.size())))]};
        } else if (roll < 62) {
            static constexpr Action kText[] = {
                Action::Enter,     Action::Enter,     Action::Backspace, Action::Backspace,
                Action::Backspace, Action::DeleteKey, Action::Left,      Action::Right,
                Action::Up,        Action::Down,      Action::Home,      Action::End,
                Action::CtrlHome,  Action::CtrlEnd,   Action::Click,     Action::Click,
                Action::Click,     Action::Drag,      Action::Drag};
            step.action = oneOf(kText);
        } else if (roll < 90) {
            step.action = Action::Command;
            step.command = drawCommand();
            step.way = drawWay(step.command);
        } else if (roll < 95) {
            static constexpr Action kBoxes[] = {Action::FontName, Action::SizeType,
                                                Action::SizeEmpty, Action::SizeChoose};
            step.action = oneOf(kBoxes);
            if (step.action == Action::SizeType) {
                static const wchar_t* const kTyped[] = {L"4",  L"8", L"1", L"6",  L"0",
                                                        L"pt", L"x", L"-", L"-2", L"12"};
                step.keys = oneOf(kTyped);
            }
        } else {
            step.action = Action::Kill;
        }
        const std::optional<TypedText> next = predictText(step);
        if (allowed(step, next))
            return step;
    }
}

app::Command ProgramSession::drawCommand() {
    using app::Command;
    static constexpr Command kWeighted[] = {
        Command::New,      Command::New,        Command::New,       Command::Open,
        Command::Open,     Command::Open,       Command::Open,      Command::Save,
        Command::Save,     Command::SaveAs,     Command::SaveAs,    Command::Exit,
        Command::Undo,     Command::Undo,       Command::Cut,       Command::Cut,
        Command::Copy,     Command::Copy,       Command::Paste,     Command::Paste,
        Command::Paste,    Command::Delete,     Command::SelectAll, Command::SelectAll,
        Command::Increase, Command::Decrease,   Command::Normal,    Command::Right,
        Command::Center,   Command::HelpTopics, Command::About};
    return oneOf(kWeighted);
}

ProgramSession::Way ProgramSession::drawWay(app::Command command) {
    std::vector<Way> ways = {Way::MenuKeys, Way::MenuMouse};
    const bool exit = command == app::Command::Exit;
    if (exit || std::any_of(app::kCommandTable.begin(), app::kCommandTable.end(),
                            [&](const app::MenuLine& row) {
                                return row.kind == app::MenuLine::Kind::Item &&
                                       row.command == command && row.ctrlKey;
                            }))
        ways.push_back(Way::Shortcut); // Alt+F4 for Exit
    if (app::toolbarEntryOf(command) >= 0)
        ways.push_back(Way::Toolbar);
    if (command == app::Command::Undo || command == app::Command::Paste)
        ways.push_back(Way::FieldKey);
    return ways[static_cast<std::size_t>(pick(static_cast<int>(ways.size())))];
}

std::optional<TypedText> ProgramSession::predictText(const Step& step) const {
    TypedText next = model_.edit;
    next.passed.clear();
    const bool selection = next.start != next.end;
    switch (step.action) {
    case Action::Type:
    case Action::Pair:
        next.type(step.keys);
        return next;
    case Action::Enter:
        next.enter();
        return next;
    case Action::Backspace:
        next.backspace();
        return next;
    case Action::DeleteKey:
        next.deleteForward();
        return next;
    case Action::Left:
    case Action::Right:
    case Action::Home:
    case Action::End:
        // From a selection the caret goes where the field puts it.
        if (selection)
            return std::nullopt;
        if (step.action == Action::Left)
            next.left();
        else if (step.action == Action::Right)
            next.right();
        else
            next.moveTo(step.action == Action::Home ? next.lineStart(next.start)
                                                    : next.lineEnd(next.start));
        return next;
    case Action::CtrlHome:
    case Action::CtrlEnd:
        next.moveTo(step.action == Action::CtrlHome ? 0 : next.text.size());
        return next;
    case Action::Command:
        switch (step.command) {
        case app::Command::Cut:
        case app::Command::Delete:
            if (selection)
                next.replaceSelection({});
            return next;
        case app::Command::Paste:
            next.replaceSelection(model_.clipboard.value_or(std::wstring()));
            return next;
        case app::Command::SelectAll:
            next.start = 0;
            next.end = next.text.size();
            return next;
        case app::Command::Copy:
            return next;
        default:
            return std::nullopt;
        }
    default:
        return std::nullopt;
    }
}

bool ProgramSession::allowed(const Step& step, const std::optional<TypedText>& next) {
    if (next) {
        const LineStats before = statsOf(model_.edit.text);
        const LineStats after = statsOf(next->text);
        if (after.count > std::max(before.count, kMaxLines) ||
            after.longest > std::max(before.longest, kMaxLine))
            return false;
        if (std::any_of(next->passed.begin(), next->passed.end(), crashesWine)) {
            ++figures_.skipped;
            return false;
        }
    }
    if (step.action == Action::Drag)
        return !model_.edit.text.empty();
    // A new font or size costs Wine's field 12 to 18 s in a document of 1 MB: the session
    // changes them only in small ones.
    const bool relaysOut =
        step.action == Action::FontName || step.action == Action::SizeType ||
        step.action == Action::SizeEmpty || step.action == Action::SizeChoose ||
        (step.action == Action::Command &&
         (step.command == app::Command::Increase || step.command == app::Command::Decrease ||
          step.command == app::Command::Normal));
    if (relaysOut && model_.edit.text.size() > kLargeDocument)
        return false;
    if (step.action == Action::SizeType) {
        std::wstring text = model_.sizeText;
        for (wchar_t c : step.keys) {
            text.push_back(c);
            if (const int height = leadingNumber(text);
                height > kLargestHeight || height < kSmallestHeight)
                return false;
        }
    }
    if (step.action == Action::Command && step.command == app::Command::Increase)
        return model_.height + 2 <= kLargestHeight;
    if (step.action == Action::Command && step.command == app::Command::Decrease)
        return model_.height - 2 >= kSmallestHeight;
    return true;
}

std::wstring ProgramSession::describe(const Step& step) const {
    static const wchar_t* const kActions[] = {L"type",
                                              L"type the pair",
                                              L"Enter",
                                              L"Backspace",
                                              L"Delete",
                                              L"Left",
                                              L"Right",
                                              L"Up",
                                              L"Down",
                                              L"Home",
                                              L"End",
                                              L"Ctrl+Home",
                                              L"Ctrl+End",
                                              L"click",
                                              L"drag",
                                              L"command",
                                              L"font name",
                                              L"type into the size box",
                                              L"empty the size box",
                                              L"choose a size",
                                              L"kill"};
    static const wchar_t* const kWays[] = {L"by its shortcut", L"from the menu by keyboard",
                                           L"from the menu by mouse", L"by its toolbar button",
                                           L"by the field's own key"};
    static const wchar_t* const kCommands[] = {
        L"New",      L"Open",   L"Save",  L"Save as", L"Exit",        L"Undo",
        L"Cut",      L"Copy",   L"Paste", L"Delete",  L"Select All",  L"Increase",
        L"Decrease", L"Normal", L"Right", L"Center",  L"Help Topics", L"About"};
    if (step.action == Action::Command)
        return std::wstring(kCommands[static_cast<int>(step.command)]) + L" " +
               kWays[static_cast<int>(step.way)];
    std::wstring text = kActions[static_cast<int>(step.action)];
    if (!step.keys.empty())
        text += L" \"" + step.keys + L"\"";
    return text;
}

// ---- checks

std::wstring ProgramSession::difference() {
    const Program& program = *program_;
    if (!program.running())
        return L"the program ended";
    const std::wstring text = program.editText();
    if (text != model_.edit.text)
        return L"the text is " + units(text) + L"\nnot         " + units(model_.edit.text);
    const auto [start, end] = program.selection();
    if (start != model_.edit.start || end != model_.edit.end)
        return L"the selection is " + std::to_wstring(start) + L".." + std::to_wstring(end) +
               L", not " + std::to_wstring(model_.edit.start) + L".." +
               std::to_wstring(model_.edit.end);
    if (const auto lines = ask(program.edit(), EM_GETLINECOUNT); lines != statsOf(text).count)
        return L"the field shows " + std::to_wstring(lines) + L" lines";
    if (const std::wstring status = program.statusText(); status != model_.status)
        return L"the status bar shows \"" + status + L"\", not \"" + model_.status + L"\"";
    if (program.sizeText() != model_.sizeText || program.fontText() != model_.fontName)
        return L"the font boxes show \"" + program.fontText() + L"\" \"" + program.sizeText() +
               L"\", not \"" + model_.fontName + L"\" \"" + model_.sizeText + L"\"";
    const bool right = program.buttonDown(app::toolbarEntryOf(app::Command::Right));
    const bool center = program.buttonDown(app::toolbarEntryOf(app::Command::Center));
    if (right == model_.centered || center != model_.centered)
        return L"the alignment buttons are " + std::wstring(right ? L"right" : L"") +
               (center ? L" center" : L"") + L" down";
    if (auto settings = settingsDifference(); !settings.empty())
        return settings;
    if (auto files = folderDifference(); !files.empty())
        return files;
    if (model_.clipboard && clipboardText() != *model_.clipboard)
        return L"the clipboard holds " + units(clipboardText()) + L", not " +
               units(*model_.clipboard);
    if (!program.noDialog())
        return L"a dialog is open: " + program.waitForDialog(0).text;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(program.main(), nullptr), &info) ||
        info.hwndFocus != program.edit())
        return L"the keyboard focus is not in the text";
    return {};
}

void ProgramSession::check() {
    std::wstring seen;
    // A new font or size lays a large document out anew, which takes Wine's field seconds.
    if (!waitFor(
            [&] {
                seen = difference();
                return seen.empty();
            },
            model_.edit.text.size() > kLargeDocument ? 60000 : 5000))
        fail(seen);
    seen_.insert(ProgramModel::hashOf(model_.edit.text));
}

std::wstring ProgramSession::settingsDifference() const {
    std::wstring section(32767, L'\0');
    const DWORD length =
        GetPrivateProfileSectionW(L"General", section.data(), 32767, path(L"Setting.ini").c_str());
    std::map<std::wstring, std::wstring> stored;
    for (std::size_t at = 0; at < length && section[at];) {
        const std::wstring entry = section.c_str() + at;
        at += entry.size() + 1;
        const std::size_t equals = entry.find(L'=');
        stored[entry.substr(0, equals)] = equals == entry.npos ? L"" : entry.substr(equals + 1);
    }
    if (stored == model_.settings)
        return {};
    std::wstring shown = L"Setting.ini holds";
    for (const auto& [key, value] : stored)
        shown += L" " + key + L"=" + value;
    shown += L"\nnot              ";
    for (const auto& [key, value] : model_.settings)
        shown += L" " + key + L"=" + value;
    return shown;
}

std::wstring ProgramSession::folderDifference() const {
    std::set<std::wstring> expected{L"AppData", L"dawatik.exe"};
    if (!model_.settings.empty())
        expected.insert(L"Setting.ini");
    for (const auto& [name, bytes] : model_.files)
        expected.insert(name);
    const std::vector<std::wstring> names = namesIn(folder_.path());
    if (std::set<std::wstring>(names.begin(), names.end()) != expected) {
        std::wstring shown = L"the folder holds";
        for (const std::wstring& name : names)
            shown += L" " + name;
        return shown;
    }
    for (const auto& [name, bytes] : model_.files) {
        const std::string held = testing_files::readBytes(path(name));
        if (held != bytes)
            return name + L" holds " + std::to_wstring(held.size()) + L" bytes, not the " +
                   std::to_wstring(bytes.size()) + L" last saved";
    }
    return {};
}

} // namespace e2e

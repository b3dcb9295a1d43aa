// The whole-program session's steps in the text and in the font boxes: what each does to the
// model, and where the model takes the caret from the program.

#include "program_session.h"

namespace e2e {

namespace {

const wchar_t* const kSizes[] = {L"12", L"16", L"18", L"22", L"26", L"28",
                                 L"32", L"36", L"40", L"48", L"52", L"72"};

} // namespace

// ---- the steps

void ProgramSession::settle() {
    // A font change lays a large document out anew, which keeps Wine's field busy for seconds.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program_->main(), WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
}

void ProgramSession::perform(const Step& step) {
    settle();
    switch (step.action) {
    case Action::Type:
    case Action::Pair:
    case Action::Enter:
    case Action::Backspace:
    case Action::DeleteKey:
        return typeStep(step);
    case Action::Left:
    case Action::Right:
    case Action::Home:
    case Action::End:
    case Action::CtrlHome:
    case Action::CtrlEnd:
        return caretStep(step);
    case Action::Up:
    case Action::Down:
        return verticalStep(step.action == Action::Up);
    case Action::Click:
    case Action::Drag:
        clickInText(step.action == Action::Drag);
        return check();
    case Action::Command:
        return command(step);
    case Action::FontName:
        return fontNameStep();
    case Action::SizeType:
    case Action::SizeEmpty:
    case Action::SizeChoose:
        return sizeStep(step);
    case Action::Kill:
        return kill();
    }
}

void ProgramSession::typeStep(const Step& step) {
    const std::wstring before = model_.edit.text;
    TypedText next = *predictText(step);
    if (step.action == Action::Type || step.action == Action::Pair)
        program_->type(step.keys);
    else if (!program_->pressAndWait(step.action == Action::Enter       ? VK_RETURN
                                     : step.action == Action::Backspace ? VK_BACK
                                                                        : VK_DELETE))
        fail(L"the key was not taken");
    applyEdit(std::move(next), before);
    check();
}

void ProgramSession::applyEdit(TypedText next, const std::wstring& before) {
    for (const std::wstring& text : next.passed)
        seen_.insert(ProgramModel::hashOf(text));
    const bool changed = next.text != before;
    model_.edit = std::move(next);
    model_.edited(changed);
}

void ProgramSession::caretStep(const Step& step) {
    static constexpr std::pair<Action, WORD> kKeys[] = {
        {Action::Left, VK_LEFT}, {Action::Right, VK_RIGHT},   {Action::Home, VK_HOME},
        {Action::End, VK_END},   {Action::CtrlHome, VK_HOME}, {Action::CtrlEnd, VK_END}};
    const WORD key = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const auto& k) {
                         return k.first == step.action;
                     })->second;
    const std::optional<TypedText> next = predictText(step);
    const bool ctrl = step.action == Action::CtrlHome || step.action == Action::CtrlEnd;
    if (!program_->pressAndWait(key, ctrl))
        fail(L"the key was not taken");
    if (next)
        model_.edit = *next;
    else
        adoptSelection(true);
    model_.edit.previous = 0;
    check();
}

void ProgramSession::verticalStep(bool up) {
    const HWND edit = program_->edit();
    const bool selection = model_.edit.start != model_.edit.end;
    const auto line = ask(edit, EM_LINEFROMCHAR, model_.edit.start);
    const auto last = ask(edit, EM_GETLINECOUNT) - 1;
    if (!program_->pressAndWait(up ? VK_UP : VK_DOWN))
        fail(L"the key was not taken");
    model_.edit.previous = 0;
    // The caret lands on the next line where the field's layout puts it; on the first line Up
    // (on the last, Down) may move it within the line.
    const auto target = up ? (line == 0 ? 0 : line - 1) : std::min(line + 1, last);
    DWORD_PTR now = 0;
    const bool landed = waitFor(
        [&] {
            const auto [start, end] = program_->selection();
            now = ask(edit, EM_LINEFROMCHAR, start);
            return start == end && (selection || now == target);
        },
        3000);
    if (!landed)
        fail(L"the caret is on line " + std::to_wstring(now) + L", not " + std::to_wstring(target));
    adoptSelection(true);
    check();
}

void ProgramSession::adoptSelection(bool caretOnly) {
    std::pair<std::size_t, std::size_t> both;
    if (!waitFor(
            [&] {
                both = program_->selection();
                return !caretOnly || both.first == both.second;
            },
            3000))
        fail(L"the selection stayed " + std::to_wstring(both.first) + L".." +
             std::to_wstring(both.second));
    model_.edit.start = both.first;
    model_.edit.end = both.second;
    log_ += L" -> " + std::to_wstring(both.first) + L".." + std::to_wstring(both.second);
}

// Clicks near a random unit that the field shows (or drags from one to another); the caret and
// the selection are read, not predicted, and a click makes no selection.
void ProgramSession::clickInText(bool drag) {
    const auto pick = [this](int count) { return this->pick(count); };
    const HWND edit = program_->edit();
    const POINT from = TextClicks::nearUnit(edit, model_.edit.text.size(), pick, log_);
    clicks_.beforePress(from);
    const POINT to = drag ? TextClicks::nearUnit(edit, model_.edit.text.size(), pick, log_) : from;
    if (!(drag ? program_->dragAndWait(from, to) : program_->clickAtAndWait(from)))
        fail(L"the mouse was not taken");
    clicks_.released(to);
    adoptSelection(!drag);
}

void ProgramSession::backToText() {
    log_ += L", then a click into the text";
    // The boxes store their values once the font is applied: a sent message would overtake
    // the keys still queued.
    waitFor([&] { return settingsDifference().empty(); }, 60000);
    settle();
    clickInText(false);
}

void ProgramSession::fontNameStep() {
    const HWND box = program_->fontNameBox();
    const auto before = static_cast<int>(ask(box, CB_GETCURSEL));
    const auto count = static_cast<int>(ask(box, CB_GETCOUNT));
    program_->click(box);
    if (!waitFor([&] { return program_->fontListOpen(); }, 3000))
        fail(L"the font list did not open");
    const int moves = 1 + pick(3);
    const bool down = chance(60);
    for (int i = 0; i < moves; ++i)
        program_->press(down ? VK_DOWN : VK_UP);
    program_->press(VK_RETURN);
    const int wanted = std::clamp(before + (down ? moves : -moves), 0, count - 1);
    log_ += L" (" + std::to_wstring(moves) + (down ? L" down" : L" up");
    if (!waitFor([&] {
            return !program_->fontListOpen() && static_cast<int>(ask(box, CB_GETCURSEL)) == wanted;
        }))
        fail(L"the font list chose entry " + std::to_wstring(ask(box, CB_GETCURSEL)) + L", not " +
             std::to_wstring(wanted));
    if (wanted != before) {
        model_.fontName = program_->fontText();
        model_.settings[L"FontName"] = model_.fontName;
    }
    log_ += L": " + program_->fontText() + L")";
    backToText();
    check();
}

void ProgramSession::sizeStep(const Step& step) {
    const HWND box = program_->fontSizeBox();
    RECT r{};
    GetWindowRect(box, &r);
    // Into its text, left of the button that opens the list.
    program_->clickAt({r.left + 12, (r.top + r.bottom) / 2});
    const auto store = [&](const std::wstring& text) {
        model_.sizeText = text;
        model_.height = leadingNumber(text);
        model_.settings[L"FontSize"] = text;
    };
    if (step.action == Action::SizeType) {
        program_->press(VK_END);
        program_->type(step.keys);
        store(model_.sizeText + step.keys);
    } else if (step.action == Action::SizeEmpty) {
        program_->press(VK_HOME);
        program_->press(VK_END, false, false, true);
        program_->press(VK_DELETE);
        if (!model_.sizeText.empty())
            store({});
    } else {
        const auto open = [&] { return ask(box, CB_GETDROPPEDSTATE) != 0; };
        program_->press(VK_F4);
        if (!waitFor(open, 3000))
            fail(L"the size list did not open");
        const int moves = 1 + pick(3);
        for (int i = 0; i < moves; ++i)
            program_->press(VK_DOWN);
        program_->press(VK_RETURN);
        std::wstring chosen;
        if (!waitFor([&] {
                chosen = program_->sizeText();
                return !open() && std::any_of(std::begin(kSizes), std::end(kSizes),
                                              [&](const wchar_t* size) { return chosen == size; });
            }))
            fail(L"the size box shows \"" + chosen + L"\", not one of its entries");
        log_ += L" (" + chosen + L")";
        // The entry the box already showed may be chosen again, and the platform may or may
        // not tell it as a change.
        if (chosen != model_.sizeText ||
            waitFor([&] { return setting(path(L"Setting.ini"), L"FontSize") == chosen; }, 300))
            store(chosen);
    }
    backToText();
    check();
}

} // namespace e2e

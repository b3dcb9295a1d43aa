// A seeded random typing session: keys of the keyboard map with their combinations, Enter,
// Backspace, the arrows, Home and End, clicks into the text and Undo, each step checked against a
// model of the text, the selection and the key a combination would follow. A failure names the seed
// and the steps so far, so the session can be replayed.

#include "scenario.h"
#include "text_clicks.h"
#include "typing_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>

namespace {

using e2e::linesOf;
using e2e::units;
using Model = e2e::TypedText;

constexpr unsigned kSeeds = 5;
constexpr int kSteps = 120;
// The field is slow with long wrapped Arabic lines: keep them short and unwrapped.
constexpr std::size_t kMaxLine = 12;
constexpr std::size_t kMaxLines = 4;

// One step of a session. Up, Down, clicks and Undo take the caret from the program rather than
// predict it.
struct Step {
    enum Kind { Keys, Enter, Backspace, Left, Right, Home, End, Up, Down, Click, Undo } kind;
    std::wstring keys;
};

// Each kind's name in the list of steps, and its key.
constexpr struct {
    const wchar_t* name;
    WORD key;
} kKinds[] = {{L"type", 0},       {L"Enter", VK_RETURN}, {L"Backspace", VK_BACK},
              {L"Left", VK_LEFT}, {L"Right", VK_RIGHT},  {L"Home", VK_HOME},
              {L"End", VK_END},   {L"Up", VK_UP},        {L"Down", VK_DOWN},
              {L"click", 0},      {L"Ctrl+Z twice", 0}};

std::wstring describe(const Step& step) {
    std::wstring text = kKinds[step.kind].name;
    if (step.kind == Step::Keys)
        text += L" \"" + step.keys + L"\"";
    return text;
}

DWORD_PTR ask(HWND edit, UINT message, WPARAM wParam = 0) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(edit, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    return answer;
}

class Session {
public:
    Session(const e2e::Program& program, unsigned seed) : program_(program), random_(seed) {
        // The test's first click is into the middle of the field.
        RECT r{};
        GetWindowRect(program.edit(), &r);
        clicks_.released({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        for (const app::KeyMapping& row : app::keyMappings()) {
            keys_.push_back(row.typed);
            if (row.after)
                pairs_.push_back(
                    {static_cast<wchar_t>(row.after), static_cast<wchar_t>(row.typed)});
        }
        // Keys the map leaves alone, Space among them (its release ends a combination).
        keys_ += L" .B";
    }

    int skipped = 0;

    // Runs `steps` steps, or up to a mismatch, which fails naming the seed and the steps.
    void run(unsigned seed, int steps) {
        for (int n = 0; n < steps; ++n) {
            Step step = draw();
            log_ += std::to_wstring(n + 1) + L". " + describe(step);
            const std::wstring failure = perform(step);
            if (step.kind == Step::Keys) {
                lastTyped_ = step.keys.back();
                stepsSinceTyped_ = 0;
            } else {
                ++stepsSinceTyped_;
            }
            log_ += L"\n";
            if (!failure.empty()) {
                ADD_FAILURE() << "seed " << seed << ", step " << n + 1 << ": " << failure
                              << "\nsteps:\n"
                              << log_;
                return;
            }
        }
    }

private:
    int pick(std::size_t count) {
        return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(random_);
    }

    // The model after a step, as far as it can be predicted: the caret after Up, Down, a click or
    // Undo is read from the program later.
    static Model predict(Model model, const Step& step) {
        model.passed.clear();
        switch (step.kind) {
        case Step::Keys:
            model.type(step.keys);
            break;
        case Step::Enter:
            model.enter();
            break;
        case Step::Backspace:
            model.backspace();
            break;
        case Step::Left:
            model.left();
            break;
        case Step::Right:
            model.right();
            break;
        case Step::Home:
            model.moveTo(model.lineStart(model.start));
            break;
        case Step::End:
            model.moveTo(model.lineEnd(model.start));
            break;
        case Step::Click:
            break;
        default:
            model.previous = 0;
            break;
        }
        return model;
    }

    static bool withinBounds(const Model& model) {
        const auto lines = linesOf(model.text);
        return lines.size() <= kMaxLines &&
               std::all_of(lines.begin(), lines.end(),
                           [](std::wstring_view line) { return line.size() <= kMaxLine; });
    }

    static constexpr Step::Kind kOthers[] = {
        Step::Enter, Step::Backspace, Step::Backspace, Step::Backspace, Step::Left,
        Step::Right, Step::Left,      Step::Right,     Step::Home,      Step::End,
        Step::Up,    Step::Down,      Step::Click,     Step::Click,     Step::Undo};

    Step draw() {
        for (;;) {
            Step step{};
            const int roll = pick(100);
            // A combination's second key is drawn more often than chance alone would, right
            // after its first key or one step later: after a click it still combines, after a
            // key that ends combinations (Shift between two capitals too) it does not.
            if (const wchar_t second = secondKeyAfter(lastTyped_);
                second && stepsSinceTyped_ <= 1 && roll < 30) {
                if (stepsSinceTyped_ == 1 || roll < 10)
                    step = {Step::Keys, std::wstring(1, second)};
                else
                    step.kind = roll < 20 ? Step::Click : kOthers[pick(std::size(kOthers))];
            } else if (roll < 42) {
                step = {Step::Keys,
                        std::wstring(1, keys_[static_cast<std::size_t>(pick(keys_.size()))])};
            } else if (roll < 50) {
                step = {Step::Keys, pairs_[static_cast<std::size_t>(pick(pairs_.size()))]};
            } else {
                step.kind = kOthers[pick(std::size(kOthers))];
            }
            const Model next = predict(model_, step);
            if (!withinBounds(next))
                continue;
            // Every text the field passes through counts, also the one after a pair's first key.
            if (std::any_of(next.passed.begin(), next.passed.end(), e2e::crashesWine)) {
                ++skipped;
                continue;
            }
            return step;
        }
    }

    // The key that completes a combination after `first` (0: none).
    static wchar_t secondKeyAfter(char16_t first) {
        for (const app::KeyMapping& row : app::keyMappings()) {
            if (first && row.after == first)
                return static_cast<wchar_t>(row.typed);
        }
        return 0;
    }

    std::wstring selection() const {
        const DWORD_PTR both = ask(program_.edit(), EM_GETSEL);
        return std::to_wstring(LOWORD(both)) + L".." + std::to_wstring(HIWORD(both));
    }

    // Waits until the field holds the model's text, lines and selection.
    std::wstring check() {
        std::wstring seen;
        e2e::waitFor(
            [&] {
                seen = program_.editText();
                return seen == model_.text;
            },
            5000);
        if (!program_.running())
            return L"the program ended";
        if (seen != model_.text)
            return L"the text is " + units(seen) + L"\nnot         " + units(model_.text);
        const std::wstring wanted =
            std::to_wstring(model_.start) + L".." + std::to_wstring(model_.end);
        if (!e2e::waitFor([&] { return selection() == wanted; }, 3000))
            return L"the selection is " + selection() + L", not " + wanted;
        const auto lines = ask(program_.edit(), EM_GETLINECOUNT);
        if (lines != linesOf(model_.text).size())
            return L"the field shows " + std::to_wstring(lines) + L" lines";
        return {};
    }

    // Takes the program's selection once `taken` holds for it.
    template <class Taken>
    std::wstring adoptSelection(Taken taken) {
        DWORD_PTR both = 0;
        if (!e2e::waitFor(
                [&] {
                    both = ask(program_.edit(), EM_GETSEL);
                    return taken(LOWORD(both), HIWORD(both));
                },
                3000))
            return L"the selection stayed " + selection();
        model_.start = LOWORD(both);
        model_.end = HIWORD(both);
        log_ += L" -> " + selection();
        return {};
    }

    std::wstring perform(const Step& step) {
        const HWND edit = program_.edit();
        const Model before = model_;
        model_ = predict(model_, step);
        seen_.insert(model_.passed.begin(), model_.passed.end());
        switch (step.kind) {
        case Step::Keys:
            program_.type(step.keys);
            break;
        case Step::Up:
        case Step::Down: {
            if (!program_.pressAndWait(kKinds[step.kind].key))
                return L"the key was not taken";
            // The caret lands on the next line where the field's layout puts it; on the first line
            // Up (on the last, Down) may move it within the line.
            const std::size_t line = before.lineOf(before.start);
            const std::size_t target = step.kind == Step::Up
                                           ? (line == 0 ? 0 : line - 1)
                                           : std::min(line + 1, before.lineOf(before.text.size()));
            if (auto failure = adoptSelection([&](std::size_t s, std::size_t e) {
                    return s == e && ask(edit, EM_LINEFROMCHAR, s) == target;
                });
                !failure.empty())
                return failure;
            break;
        }
        case Step::Click: {
            if (auto failure = click(); !failure.empty())
                return failure;
            break;
        }
        case Step::Undo: {
            // The field's undo has one level that toggles: the first gives back a text it held
            // before (or keeps it with nothing to undo), the second restores this one exactly.
            if (!program_.pressAndWait('Z', true))
                return L"the key was not taken";
            const std::wstring undone = program_.editText();
            log_ += L" (the first gave " + units(undone) + L")";
            if (!seen_.contains(undone))
                return L"Undo gave a text the session never had";
            if (!program_.pressAndWait('Z', true))
                return L"the key was not taken";
            if (const std::wstring redone = program_.editText(); redone != before.text)
                return L"the second Undo did not restore the text: " + units(redone);
            if (auto failure = adoptSelection([](std::size_t, std::size_t) { return true; });
                !failure.empty())
                return failure;
            break;
        }
        default:
            program_.press(kKinds[step.kind].key);
            // From a selection the caret goes where the field puts it; it must be a caret.
            if (const bool moves = step.kind != Step::Enter && step.kind != Step::Backspace;
                moves && before.start != before.end) {
                if (auto failure =
                        adoptSelection([](std::size_t s, std::size_t e) { return s == e; });
                    !failure.empty())
                    return failure;
            }
            break;
        }
        return check();
    }

    // Clicks near a random unit of the text that the field shows; the caret is read, not predicted,
    // and no selection may result.
    std::wstring click() {
        const POINT point = e2e::TextClicks::nearUnit(
            program_.edit(), model_.text.size(), [this](int count) { return pick(count); }, log_);
        clicks_.beforePress(point);
        if (!program_.clickAtAndWait(point))
            return L"the click was not taken";
        clicks_.released(point);
        return adoptSelection([](std::size_t s, std::size_t e) { return s == e; });
    }

    const e2e::Program& program_;
    std::mt19937 random_;
    std::wstring keys_;
    std::vector<std::wstring> pairs_;
    Model model_;
    // Every text the field held.
    std::set<std::wstring> seen_{std::wstring()};
    std::wstring log_;
    wchar_t lastTyped_ = 0;
    int stepsSinceTyped_ = 0;
    e2e::TextClicks clicks_;
};

} // namespace

TEST(RandomSession, SeededKeysClicksAndUndoFollowTheModel) {
    const auto began = std::chrono::steady_clock::now();
    int skipped = 0;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        testing_files::TempFolder folder;
        e2e::Program program(folder.path());
        ASSERT_TRUE(program.started());
        program.click(program.edit());
        Session session(program, seed);
        session.run(seed, kSteps);
        skipped += session.skipped;
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("random session: %u seeds x %d steps (%d skipped for Wine's shaping) in %.1f s\n",
                kSeeds, kSteps, skipped, seconds);
}

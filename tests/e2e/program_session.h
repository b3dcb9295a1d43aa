#pragma once
// A seeded random session over the whole program, through the real dawatik.exe: each step is
// drawn from what a user can do (typing, the caret, every command by its shortcut, the menu by
// keyboard or mouse and the toolbar, the font boxes, the file dialogs and questions, a kill and
// a new start) and the program is checked against a model after it. A failure names the seed
// and the numbered steps, so that the session can be replayed.

#include "driver.h"
#include "program_model.h"
#include "text_clicks.h"

#include "app/command_table.h"
#include "support/files.h"

#include <memory>
#include <random>
#include <string>

namespace e2e {

// What a run of sessions did, for its closing line.
struct SessionFigures {
    int steps = 0;
    int kills = 0;
    // Kills three seconds after typing, which must leave a copy of the text as it was.
    int pausedKills = 0;
    int starts = 0;
    int restores = 0;
    int opens = 0;
    int largeOpens = 0;
    int saves = 0;
    int skipped = 0;
};

class ProgramSession {
public:
    ProgramSession(unsigned seed, SessionFigures& figures);
    ~ProgramSession();
    // Runs up to `steps` steps; empty when every step followed the model, else what differed
    // with the seed and the numbered steps.
    std::wstring run(int steps);
    // The numbered steps so far, with what the program answered.
    const std::wstring& steps() const { return log_; }

private:
    enum class Action {
        Type,
        Pair,
        Enter,
        Backspace,
        DeleteKey,
        Left,
        Right,
        Up,
        Down,
        Home,
        End,
        CtrlHome,
        CtrlEnd,
        Click,
        Drag,
        Command,
        FontName,
        SizeType,
        SizeEmpty,
        SizeChoose,
        Kill,
    };
    // How a command is given: its shortcut, the menu by keyboard or by mouse, its toolbar button,
    // or the edit field's own key (Ctrl+Z, Ctrl+V).
    enum class Way { Shortcut, MenuKeys, MenuMouse, Toolbar, FieldKey };
    struct Step {
        Action action;
        std::wstring keys;
        app::Command command = app::Command::New;
        Way way = Way::Shortcut;
    };

    // ---- drawing (program_session.cpp)
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <class T, std::size_t N>
    const T& oneOf(const T (&items)[N]) {
        return items[static_cast<std::size_t>(pick(static_cast<int>(N)))];
    }
    Step draw();
    app::Command drawCommand();
    Way drawWay(app::Command command);
    // The field after a step whose effect on it is known in advance; none for the others.
    std::optional<TypedText> predictText(const Step& step) const;
    bool allowed(const Step& step, const std::optional<TypedText>& next);
    std::wstring describe(const Step& step) const;

    // ---- checks
    [[noreturn]] void fail(const std::wstring& what) const;
    // Waits until the program shows what the model holds; fails with the first difference.
    void check();
    std::wstring difference();
    std::wstring folderDifference() const;
    std::wstring settingsDifference() const;

    // ---- the steps (program_session_steps.cpp)
    // Waits until the program answers again.
    void settle();
    void perform(const Step& step);
    void typeStep(const Step& step);
    // The field now holds `next`, which it reached from `before`.
    void applyEdit(TypedText next, const std::wstring& before);
    void caretStep(const Step& step);
    void verticalStep(bool up);
    void clickInText(bool drag);
    void adoptSelection(bool caretOnly);
    void fontNameStep();
    void sizeStep(const Step& step);
    void backToText();

    // ---- commands and documents (program_session_files.cpp)
    void invoke(app::Command command, Way way);
    void command(const Step& step);
    void editCommand(const Step& step);
    void viewCommand(app::Command command, Way way);
    void undo(Way way);
    void about(Way way);
    // The unsaved-changes question when the model says it comes; false: the command stops.
    bool changesAnswered(const std::function<bool()>& goneOn);
    std::optional<std::wstring> chooseSaveName();
    void newDocument(Way way);
    void open(Way way);
    void whileLoading(const std::wstring& name);
    void save(Way way, bool asNew);
    void exit(Way way);
    Dialog nextDialog(const std::function<bool()>& goneOn);
    void answer(const Dialog& dialog, int button, const wchar_t* said);
    void chooseFile(const Dialog& dialog, const std::wstring& name);

    // ---- kills and starts (program_session_starts.cpp)
    void kill();
    void afterEnd(bool killed);
    void start();
    std::wstring recoveryFolder() const;

    std::wstring path(const std::wstring& name) const { return folder_.file(name); }
    std::wstring nameOf(const std::wstring& fullPath) const {
        return fullPath.substr(folder_.path().size());
    }

    const unsigned seed_;
    SessionFigures& figures_;
    std::mt19937 random_;
    testing_files::TempFolder folder_;
    std::unique_ptr<Program> program_;
    ProgramModel model_;
    std::wstring defaultFont_;
    std::wstring keys_;
    std::vector<std::wstring> pairs_;
    std::wstring log_;
    // Recovery copies left for a later start (a question closed unanswered, or the rest after
    // a Yes), with their bytes; and the copy the last instance left of its own document.
    std::map<std::wstring, std::string> pending_;
    std::wstring ownCopy_;
    // Texts the field held, by their hashes: what a first Undo may give back.
    std::set<std::size_t> seen_;
    // The last unsaved-changes question came (and took the keys released after the command).
    bool asked_ = false;
    wchar_t lastTyped_ = 0;
    int stepsSinceTyped_ = 0;
    TextClicks clicks_;
};

} // namespace e2e

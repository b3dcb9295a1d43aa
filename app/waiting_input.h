#pragma once
// What the user gives while a document is still arriving and that would change its text or its
// file: commands, typed characters and editing keys, held in the order given and done once the
// whole document is in the edit field.

#include "controls/control_events.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ctl {
class Control;
}

namespace app {

enum class Command;
class Document;

class WaitingInput {
public:
    explicit WaitingInput(const Document& document) : document_(document) {}

    // Once something waits, everything after it waits too, so that all is done in turn.
    bool empty() const noexcept { return held_.empty(); }
    void hold(Command command);
    void hold(wchar_t character);
    void hold(ctl::KeyCode key, ctl::ShiftState shift);

    // The document has arrived: commands go to `run`, characters and keys to `editField` as
    // if typed now. A command that opens another document stops the replay; the rest waits
    // for that one.
    void replay(ctl::Control& editField, const std::function<void(Command)>& run);

private:
    struct Held {
        enum class Kind : std::uint8_t { Command, Character, Key } kind;
        Command command;
        wchar_t character;
        ctl::KeyCode key;
        ctl::ShiftState shift;
    };
    static void replayKey(ctl::Control& editField, const Held& held);

    const Document& document_;
    std::vector<Held> held_;
};

} // namespace app

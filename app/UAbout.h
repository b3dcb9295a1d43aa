#pragma once
// The About window: the program's name and version, a description and the contact lines, with
// the program icon drawn large. Built for each About command and destroyed when it closes.

#include "controls/object.h"

namespace ctl {
class Control;
class Form;
class Icon;
class Label;
} // namespace ctl

namespace app {

class AboutWindow : public ctl::Object {
public:
    ctl::Form* form = nullptr;
    ctl::Label* Label1 = nullptr; // name and version
    ctl::Label* Label2 = nullptr; // authorship
    ctl::Label* Label3 = nullptr; // "Description"
    ctl::Label* Label4 = nullptr; // description text
    ctl::Label* Label5 = nullptr; // "Contact and Information"
    ctl::Label* Label6 = nullptr; // contact lines
    ctl::Icon* icon = nullptr;

protected:
    void destroy() override;
};

// The About window while it exists; null otherwise.
extern AboutWindow* FAbout;

// Builds the About window (hidden) for `owner`; the window's form owns the record.
AboutWindow* createAboutWindow(ctl::Control& owner);

} // namespace app

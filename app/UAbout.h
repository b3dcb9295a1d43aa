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
    ctl::Label* nameLabel = nullptr;
    ctl::Label* authorLabel = nullptr;
    ctl::Label* descriptionHeading = nullptr;
    ctl::Label* descriptionLabel = nullptr;
    ctl::Label* contactHeading = nullptr;
    ctl::Label* contactLabel = nullptr;
    ctl::Icon* icon = nullptr;

protected:
    void destroy() override;
};

// The About window while it exists; null otherwise.
extern AboutWindow* FAbout;

// Builds the About window (hidden) for `owner`; the window's form owns the record.
AboutWindow* createAboutWindow(ctl::Control& owner);

} // namespace app

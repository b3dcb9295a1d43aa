// Demonstration window of the control layer, until the editor's main window exists.

#include "controls/application.h"
#include "controls/edit.h"
#include "controls/font.h"
#include "controls/form.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ctl::Form* form = ctl::newForm(nullptr, L"Dawatik 1.4");
    ctl::application().form = form;
    form->font().setFaceName(L"Arial");
    form->font().setHeight(14);
    form->setGap(0);

    ctl::Control* top = ctl::newPanel(*form, ctl::EdgeStyle::None);
    top->setAlign(ctl::Align::Top);
    top->setHeight(26);
    top->setText(L" Control layer demonstration");

    ctl::Control* edit =
        ctl::newEdit(*form, ctl::editopt::kMultiLine | ctl::editopt::kNoHorizontalScroll);
    edit->setAlign(ctl::Align::Client);
    edit->font().setHeight(28);
    edit->setText(L"\x0645\x0631\x062D\x0628\x0627 \x0628\x0627\x0644\x0639\x0627\x0644\x0645");
    edit->setBackgroundColor(ctl::kWindowColor);

    form->setSize(550, 380);
    form->setPosition(252, 183);
    ctl::run(form);
    return 0;
}

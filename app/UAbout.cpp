#include "app/UAbout.h"

#include "app/version.h"

#include "controls/font.h"
#include "controls/form.h"
#include "controls/icon.h"
#include "controls/label.h"

#include <string_view>

namespace app {

AboutWindow* FAbout = nullptr;

namespace {

constexpr int kIconSize = 48;

struct LabelLayout {
    int left, top, width, height; // width 0: the label sizes itself to its text
    LONG fontHeight;
    bool bold;
    bool wrap;
};

ctl::Label* addLabel(ctl::Form& form, const LabelLayout& layout) {
    ctl::Label* label = ctl::newLabel(form, L"");
    label->setPosition(layout.left, layout.top);
    if (layout.width > 0)
        label->setSize(layout.width, layout.height);
    else
        label->setAutoSize(true);
    ctl::Font& font = label->font();
    font.setFaceName(L"Arial");
    font.setHeight(layout.fontHeight);
    if (layout.bold)
        font.setStyle(ctl::fontstyle::kBold);
    if (layout.wrap)
        label->setWordWrap();
    return label;
}

} // namespace

void AboutWindow::destroy() {
    Object::destroy();
    if (icon) {
        icon->release();
        icon = nullptr;
    }
}

AboutWindow* createAboutWindow(ctl::Control& owner) {
    auto* about = new AboutWindow();
    ctl::Form* form = ctl::newForm(&owner, L"FAbout");
    form->own(*about);
    about->form = form;
    FAbout = about;

    form->setExStyle(form->exStyle() | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
    form->setStyle(form->style() & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    form->setClientSize(321, 182);
    form->font().setFaceName(L"MS Sans Serif");
    form->setOnClose([about](ctl::Control&, bool&) {
        if (about->icon) {
            about->icon->release();
            about->icon = nullptr;
        }
    });
    form->setOnPaint([about](ctl::Control&, HDC dc) {
        if (about->icon)
            about->icon->draw(dc, 16, 10);
    });
    form->onDestroy = [](ctl::Object&) { FAbout = nullptr; };

    about->nameLabel = addLabel(*form, {72, 13, 193, 17, 18, true, false});
    about->authorLabel = addLabel(*form, {72, 29, 245, 15, 14, false, false});
    about->descriptionHeading = addLabel(*form, {16, 64, 0, 0, 14, true, false});
    about->descriptionLabel = addLabel(*form, {16, 80, 305, 41, 14, false, true});
    about->contactHeading = addLabel(*form, {16, 120, 0, 0, 14, true, false});
    about->contactLabel = addLabel(*form, {16, 136, 293, 33, 14, false, true});

    form->centerOnParent();
    form->setResizable(false);
    form->sendMessage(WM_INITMENU);

    form->setText(L"About Dawatik");
    about->nameLabel->setText(L"" DAWATIK_NAME_AND_VERSION);
    about->authorLabel->setText(L"Written by the Dawatik developers");
    about->descriptionHeading->setText(L"Description");
    about->descriptionLabel->setText(
        L"Simple Arabic Unicode text editor. See the help manual (readme) "
        L"for both Keyboard character map and Installation.");
    about->contactHeading->setText(L"Contact and Information");
    about->contactLabel->setText(L"email \t: dawatik@example.org\r\n"
                                 L"website  \t: https://dawatik.example.org");
    about->icon = ctl::newIcon();
    about->icon->load(ctl::moduleInstance(), L"MAINICON", kIconSize);
    form->setIcon(ctl::kNoIcon);
    return about;
}

} // namespace app

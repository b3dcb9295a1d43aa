#pragma once
// The toolbar: the platform's toolbar control with buttons from a template, images from an
// image list or bitmap strips, per-button click handlers and tooltips.

#include "controls/control.h"
#include "controls/options.h"
#include "controls/toolbar_template.h"

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

class Toolbar;
// Called with the toolbar and the command identifier of the clicked button.
using ButtonHandler = EventSlot<void(Toolbar& toolbar, int commandId)>;
// Answers NM_CUSTOMDRAW for the toolbar (a CDRF_ value).
using CustomDrawHandler = EventSlot<LRESULT(Toolbar& toolbar, NMCUSTOMDRAW& draw)>;

class Toolbar : public Control {
public:
    // Index of the button of the last click or right click; -1: none.
    int currentButton = -1;
    // Command identifier of the last clicked or dropped-down button; -1: none.
    int lastCommand = -1;
    bool rightClick = false;
    // The last command came while Enter was down (a keyboard press of the button).
    bool byKeyboard = false;
    // The style every new button starts with.
    std::uint8_t defaultButtonStyle = BTNS_AUTOSIZE;
    // Width of one image in strips given to setBitmap; 0: square images.
    int bitmapWidth = 0;

    // Appends the buttons of the template; answers the first one's command identifier, -1
    // when the template is empty.
    int addButtons(ToolbarTemplate entries, std::span<const int> images);
    // Adds the images of a bitmap strip (the caller keeps the bitmap); false for no bitmap.
    bool setBitmap(HBITMAP bitmap);

    // Gives the buttons from `first` (an index or a command identifier) on the handlers in
    // turn. A later handler for the same button takes precedence.
    void assignButtonEvents(int first, std::span<const ButtonHandler> handlers);
    // Sets the tooltips of the buttons with identifiers from `firstCommandId` on; an empty
    // text shows no tooltip.
    void setTooltips(int firstCommandId, std::span<const std::wstring_view> texts);
    // Attaches custom drawing: the handler's answer, or without one the toolbar's background
    // colour painted behind the buttons.
    void setOnCustomDraw(CustomDrawHandler handler);

    // ---- buttons by index or command identifier
    int buttonId(int index);
    int buttonIndex(int commandId);
    // Values below the first real button's command identifier are indexes.
    int resolve(int indexOrId);
    // Sends a state message (TB_CHECKBUTTON, TB_ENABLEBUTTON, ...) for the button.
    void setButtonState(UINT message, int indexOrId, bool on);
    void clear();

    // Clicks the first enabled button whose text holds "&" and the key (the Alt+key mnemonic),
    // making it the current button; false when no button has it.
    bool clickMnemonic(WPARAM key, bool buttonDown) override;

private:
    friend Toolbar* newToolbar(Control& parent, Align align, ToolbarOptions options, HBITMAP bitmap,
                               ToolbarTemplate entries, std::span<const int> images);
    Toolbar() = default;

    static bool toolbarHandler(Control& control, Message& message, LRESULT& result);
    static bool buttonClickHandler(Control& control, Message& message, LRESULT& result);
    static bool customDrawHandler(Control& control, Message& message, LRESULT& result);
    bool answerTooltip(NMTTDISPINFOW& info) const;
    std::wstring buttonText(int commandId);

    struct ButtonEvent {
        int commandId;
        ButtonHandler handler;
    };
    struct Tooltip {
        int commandId;
        std::wstring text;
    };
    std::vector<ButtonEvent> buttonEvents_;
    std::vector<Tooltip> tooltips_;
    CustomDrawHandler onCustomDraw_;
};

const ActionTable& toolbarActions() noexcept;

// A toolbar in `parent`: aligned (or at the default position, 1000 x 26, for Align::None),
// with the options' styles, the bitmap's images (may be null) and the template's buttons.
Toolbar* newToolbar(Control& parent, Align align, ToolbarOptions options, HBITMAP bitmap,
                    ToolbarTemplate entries, std::span<const int> images);

} // namespace ctl

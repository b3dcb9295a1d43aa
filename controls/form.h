#pragma once
// Form: a top-level window holding child controls; shown, closed, or run modally.

#include "controls/control.h"

#include <string_view>

namespace ctl {

// The icon value that asks for no caption icon at all.
inline const HICON kNoIcon = reinterpret_cast<HICON>(static_cast<INT_PTR>(-1));

class Form : public Control {
public:
    // The child that has or last had the focus; restored when the form gets the focus back.
    Control* focusedControl = nullptr;
    // 0 while a modal run is active; anything else ends it.
    int modalResult = 0;
    std::uint8_t modalCount = 0;
    // How many modal runs keep this form disabled.
    std::int8_t disableCount = 0;
    // Created by the first status text.
    Control* statusBar = nullptr;

    // The caption icon: the form's own, else a copy of the Application's, else MAINICON.
    HICON getIcon();
    void setIcon(HICON icon);

    // The menu bar: given to the window when it is created, or set on the existing window.
    HMENU menuBar() const noexcept;
    void setMenuBar(HMENU menu);

    bool resizable() const noexcept { return resizable_; }
    void setResizable(bool resizable);
    // Sets the outer size that gives this client size.
    void setClientSize(int width, int height);

protected:
    void destroy() override;
    void childCreated(Control& child) override;
    void childDestroyed(Control& child) noexcept override;
    void childFocusing(Control& child) override;
    void windowCreated() override;

private:
    friend Form* newForm(Control* parent, std::wstring_view caption);

    // What the caption shows (borrowed, or kNoIcon), and the copy this form made, if it did.
    HICON icon_ = nullptr;
    UniqueIcon copiedIcon_;
    bool resizable_ = true;
};

// The form `control` belongs to: the nearest ancestor (or itself) that is not a child control.
Form* owningForm(Control& control) noexcept;
// The Application's form; before there is one, any control that is not a child control.
bool isMainWindow(const Control& control) noexcept;

Form* newForm(Control* parent, std::wstring_view caption);
// WM_ERASEBKGND of forms (and toolbars): fills the client area with the background colour
// unless the control is transparent.
bool backgroundHandler(Control& control, Message& message, LRESULT& result);
void showForm(Form& form);
// Runs the form modally (its owner disabled meanwhile) and answers its modalResult.
int showModal(Form& form);
void close(Control& control);
// MessageBoxW owned by the Application's main window and captioned with its title.
int messageBox(std::wstring_view text, UINT flags);

} // namespace ctl

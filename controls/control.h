#pragma once
// Control: the object behind every window of the program. It exists before its native window,
// holds everything needed to create it, creates it on demand (parents before children) and
// receives its messages through one dispatcher.

#include "controls/action_table.h"
#include "controls/colors.h"
#include "controls/control_events.h"
#include "controls/handles.h"
#include "controls/object.h"
#include "controls/surface.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

class Control;
class Font;
class Menu;

enum class Align : std::uint8_t { None, Left, Top, Right, Bottom, Client };
enum class TextAlign : std::uint8_t { Left, Right, Center };

class Control : public Object {
public:
    // ---- identity and tree
    HWND handle() const noexcept { return handle_; }
    Control* parent() const noexcept { return parent_; }
    const std::vector<Control*>& children() const noexcept { return children_; }
    bool isChild() const noexcept { return flags_.child; }
    bool isForm() const noexcept { return flags_.form; }
    UINT_PTR id() const noexcept { return id_; }
    const std::wstring& className() const noexcept { return className_; }
    const ActionTable& actions() const noexcept { return *actions_; }

    // The nearest ancestor (or this) that is not a child control, if that is a form.
    Control* topLevel() noexcept;
    void setParent(Control* newParent);

    // ---- native window
    // Creates the window (and its children's) if needed; shows one created hidden on demand.
    virtual bool createWindow();
    // The window, created hidden if it did not exist yet; null on failure.
    HWND ensureHandle();
    LRESULT sendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT postMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- styles
    DWORD style() const noexcept { return style_; }
    DWORD exStyle() const noexcept { return exStyle_; }
    UINT classStyle() const noexcept { return classStyle_; }
    void setStyle(DWORD style);
    void setExStyle(DWORD exStyle);
    void setClassStyle(UINT classStyle) noexcept { classStyle_ = classStyle; }
    bool hasBorder() const noexcept;
    void setBorder(bool on);

    // ---- text
    std::wstring text();
    void setText(std::wstring_view text);

    // ---- geometry (parent client coordinates; screen coordinates for a form)
    RECT bounds();
    void setBounds(const RECT& bounds);
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);
    // A value greater than 0 changes that dimension.
    void setWidthHeight(int width, int height);
    Control& setPosition(int left, int top);
    // A zero argument keeps that dimension.
    Control& setSize(int width, int height);
    void centerOnParent();
    RECT clientRect();

    // ---- layout
    Align align() const noexcept { return align_; }
    void setAlign(Align align);
    std::int8_t gap() const noexcept { return gap_; }
    void setGap(std::int8_t gap) noexcept { gap_ = gap; }
    struct Margins {
        int top = 0, bottom = 0, left = 0, right = 0;
    };
    const Margins& margins() const noexcept { return margins_; }
    void setMargins(const Margins& margins) noexcept { margins_ = margins; }
    // Runs the alignment layout for this control (see layout.cpp).
    void relayout();

    // ---- state
    bool visible() const noexcept { return (style_ & WS_VISIBLE) != 0; }
    void setVisible(bool visible);
    bool enabled() const noexcept;
    void setEnabled(bool enabled);
    void setFocus(bool onlyIfTabStop = false);
    void invalidate();

    // ---- colours, font, drawing
    Color textColor() const noexcept { return textColor_; }
    void setTextColor(Color color);
    Color backgroundColor() const noexcept { return backgroundColor_; }
    void setBackgroundColor(Color color);
    // Remade when the colour resolves differently (a system colour changed).
    HBRUSH backgroundBrush();
    bool transparent() const noexcept { return flags_.transparent; }
    void setTransparent(bool transparent) noexcept { flags_.transparent = transparent; }
    // The control's font object, created with the defaults on first use.
    Font& font();
    Font* fontIfAny() const noexcept { return font_.get(); }
    DrawingSurface& surface();
    void releaseSurface() noexcept;
    // The paint context while inside WM_PAINT, else null; set by the paint handler.
    HDC paintContext() const noexcept { return paintDC_; }
    void setPaintContext(HDC dc) noexcept { paintDC_ = dc; }
    TextAlign textAlign() const noexcept { return textAlign_; }
    void setTextAlign(TextAlign align);

    // ---- messages and events
    void addMessageHandler(MessageHandler handler);
    void removeMessageHandler(MessageHandler handler) noexcept;
    bool hasMessageHandler(MessageHandler handler) const noexcept;
    virtual LRESULT handleMessage(Message& message);
    // Offers the message to the attached handlers alone, newest first; true: one handled it.
    bool offerToHandlers(Message& message, LRESULT& result);
    LRESULT defaultProcessing(const Message& message);

    const ControlEvents& events() const noexcept;
    // The private events record, copied from the shared default on first use.
    ControlEvents& assignEvents();
    void setOnMessage(EventSlot<bool(Message&, LRESULT&)> handler);
    void setOnClose(EventSlot<void(Control&, bool&)> handler);
    void setOnPaint(EventSlot<void(Control&, HDC)> handler);
    void setOnChar(EventSlot<void(Control&, wchar_t&, ShiftState)> handler);
    void setOnKeyDown(EventSlot<void(Control&, KeyCode&, ShiftState)> handler);
    void setOnKeyUp(EventSlot<void(Control&, KeyCode&, ShiftState)> handler);
    void setOnResize(EventSlot<void(Control&)> handler);
    void setOnMove(EventSlot<void(Control&)> handler);
    void setOnChange(EventSlot<void(Control&)> handler) { assignEvents().onChange = handler; }
    void setOnClick(EventSlot<void(Control&)> handler) { assignEvents().onClick = handler; }
    void setOnSelChange(EventSlot<void(Control&)> handler) { assignEvents().onSelChange = handler; }
    void setOnDropDown(EventSlot<void(Control&)> handler) { assignEvents().onDropDown = handler; }

    ControlHooks& hooks() noexcept { return hooks_; }

    // ---- menus and accelerators (owner side)
    Menu* menu() const noexcept { return menu_; }
    void setMenu(Menu* menu) noexcept { menu_ = menu; }
    HACCEL acceleratorTable() const noexcept { return accel_.get(); }
    void setAcceleratorTable(UniqueAccel table) noexcept { accel_ = std::move(table); }

    // Clicks the control when its text holds the key's mnemonic; kinds with mnemonics of their
    // own (toolbar buttons) answer for those instead. True: something was clicked.
    virtual bool clickMnemonic(WPARAM key, bool buttonDown);

    // Set while a focus move runs: a click it causes moves the focus no further.
    std::uint8_t focusInProgress = 0;

    // Flags other modules of the layer read and set.
    struct Flags {
        bool child = false;
        bool form = false;
        bool wrapsSystemClass = false;
        bool createdHidden = false;
        bool visibilityExplicit = false;
        bool transparent = false;
        bool repaintOnResize = false;
        bool noInvalidateOnText = false;
        bool acceptsMnemonics = false;
        bool moved = false;
        bool notAlignable = false;
        bool settingFocus = false;
        // CreateWindowExW has not returned yet.
        bool creating = false;
        // layout
        bool needsRelayout = false;
        bool resizedByLayout = false;
        bool layingOut = false;
    };
    Flags& flags() noexcept { return flags_; }

    // The Control bound to a window of this layer, or null.
    static Control* fromHandle(HWND window) noexcept;
    // Binds the window to this control (WM_NCCREATE of a new window carries the control).
    void bindHandle(HWND window) noexcept;
    void unbindHandle() noexcept;

    Control();

protected:
    ~Control() override;
    void destroy() override;

    // A top-level control hears of the controls inside it: one made, one going away, one taking
    // the focus through setFocus. Forms keep their focus record with these; others ignore them.
    virtual void childCreated(Control&) {}
    virtual void childDestroyed(Control&) noexcept {}
    virtual void childFocusing(Control&) {}
    // Runs once the window exists and is bound, before the kind's after-create hook.
    virtual void windowCreated() {}
    // Runs while the window still reaches this object, just before it is destroyed.
    virtual void releasingWindow() {}

    // Fills the stored fields of a child of `parent` (the common child constructor).
    void initChild(Control& parent, std::wstring_view systemClass, DWORD style,
                   const ActionTable& actions, bool threeD);
    void initTopLevel(Control* parent, std::wstring_view className);

    // A form keeps its menu bar where a child keeps its identifier.
    void setIdentifier(UINT_PTR id) noexcept { id_ = id; }

    friend void layoutChildren(Control& parent);
    friend Control* newControl(Control& parent, std::wstring_view systemClass, DWORD style,
                               const ActionTable& actions, bool threeD);

private:
    // Takes the font and follows its changes.
    void useFont(Ref<Font> font);
    bool createOwnWindow();
    void createChildWindows();
    void applyStyle(int index, DWORD value);

    HWND handle_ = nullptr;
    UINT classStyle_ = CS_OWNDC;
    DWORD style_ = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    DWORD exStyle_ = WS_EX_CONTROLPARENT;
    WNDPROC classProc_ = nullptr;
    Control* parent_ = nullptr;
    Flags flags_;
    std::vector<MessageHandler> handlers_;
    std::vector<Control*> children_;
    const ActionTable* actions_;
    std::unique_ptr<ControlEvents> events_;
    ControlHooks hooks_;
    UINT_PTR id_ = 0;
    Menu* menu_ = nullptr;
    UniqueAccel accel_;
    Color textColor_ = kWindowTextColor;
    Color backgroundColor_ = kButtonFaceColor;
    Ref<Font> font_;
    UniqueBrush brush_;
    COLORREF brushColor_ = 0;
    std::int8_t gap_ = 2;
    Margins margins_;
    // Draws a border as a sunken client edge rather than a line.
    bool threeD_ = true;
    RECT bounds_ = {0, 0, 0, 0};
    std::wstring text_;
    std::wstring className_;
    Align align_ = Align::None;
    TextAlign textAlign_ = TextAlign::Left;
    DrawingSurface surface_;
    HDC paintDC_ = nullptr;
};

// Constructors of the plain child kinds.
enum class EdgeStyle { Raised, Lowered, None };
Control* newPanel(Control& parent, EdgeStyle edge);
Control* newControl(Control& parent, std::wstring_view systemClass, DWORD style,
                    const ActionTable& actions, bool threeD);

// Module instance of the executable, used for classes and resources.
HINSTANCE moduleInstance() noexcept;

// The re-layout run after a control's WM_SIZE; installed once any alignment is set.
using ResizeHook = void (*)(Control&);
void setResizeHook(ResizeHook hook) noexcept;
ResizeHook resizeHook() noexcept;

// The window procedure of every class the layer registers; the dispatcher defines it.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The text, upper-cased, holds "&" followed by the key's character.
bool holdsMnemonic(std::wstring_view text, WPARAM key);

} // namespace ctl

#pragma once
// Control: the object behind every window of the program. It exists before its native window,
// holds everything needed to create it, creates it on demand (parents before children) and
// receives its messages through one dispatcher.

#include "controls/action_table.h"
#include "controls/colors.h"
#include "controls/event_slot.h"
#include "controls/handles.h"
#include "controls/object.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

class Control;
class DrawingSurface;
class Font;
class Form;
class Menu;

// One window message as the dispatcher and its handlers see it; handlers may change wParam.
struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// An attached message handler: answers whether it handled the message, writing the result.
using MessageHandler = bool (*)(Control& control, Message& message, LRESULT& result);

enum class Align : std::uint8_t { None, Left, Top, Right, Bottom, Client };
enum class TextAlign : std::uint8_t { Left, Right, Center };

using KeyCode = std::uint32_t;
using ShiftState = std::uint8_t;
namespace shift {
inline constexpr ShiftState kLeftButton = 0x01;
inline constexpr ShiftState kRightButton = 0x02;
inline constexpr ShiftState kShift = 0x04;
inline constexpr ShiftState kCtrl = 0x08;
inline constexpr ShiftState kMiddleButton = 0x10;
inline constexpr ShiftState kAlt = 0x20;
inline constexpr ShiftState kCapsLock = 0x40;
} // namespace shift

// Private message numbers: notifications a parent receives about a child, sent on to the child.
inline constexpr UINT kReflectedColorBase = 0xBC00; // + WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC
inline constexpr UINT kReflectedCommand = 0xB005;
inline constexpr UINT kResizeNotice = 0xB00D;

// The event slots of a control. Every control starts with one shared record of empty slots;
// the first assignment gives it a private copy.
struct ControlEvents {
    EventSlot<bool(Message&, LRESULT&)> onMessage;
    EventSlot<void(Control&, bool& accept)> onClose;
    EventSlot<void(Control&, HDC)> onPaint;
    EventSlot<void(Control&, wchar_t& character, ShiftState)> onChar;
    EventSlot<void(Control&, KeyCode& key, ShiftState)> onKeyDown;
    EventSlot<void(Control&, KeyCode& key, ShiftState)> onKeyUp;
    EventSlot<void(Control&)> onClick;
    EventSlot<void(Control&)> onEnter;
    EventSlot<void(Control&)> onLeave;
    EventSlot<void(Control&)> onChange;
    EventSlot<void(Control&)> onSelChange;
    EventSlot<void(Control&)> onFocusLeaving;
    EventSlot<void(Control&)> onResize;
    EventSlot<void(Control&)> onMove;
    EventSlot<void(Control&)> onDropDown;
    EventSlot<void(Control&)> onCloseUp;
};

// Per-control procedures that control kinds replace; the defaults do nothing.
struct ControlHooks {
    MessageHandler keyHandler = nullptr;
    // Offered the navigation keys the control leaves to its form; true: the key was used.
    bool (*tabNavigation)(Control&, WPARAM key, bool notKeyDown) = nullptr;
    void (*afterCreate)(Control&) = nullptr;
    void (*captionChanged)(Control&) = nullptr;
    // Offered every message the loop takes for this control; true: consumed.
    bool (*preTranslate)(Control&, MSG&) = nullptr;
};

class Control : public Object {
public:
    // ---- identity and tree
    HWND handle() const noexcept { return handle_; }
    Control* parent() const noexcept { return parent_; }
    const std::vector<Control*>& children() const noexcept { return children_; }
    bool isChild() const noexcept { return flags_.child; }
    bool isForm() const noexcept { return flags_.form; }
    UINT_PTR id() const noexcept { return id_; }
    std::uint16_t tabOrder() const noexcept { return tabOrder_; }
    const std::wstring& className() const noexcept { return className_; }
    const ActionTable& actions() const noexcept { return *actions_; }

    // The nearest ancestor (or this) that is not a child control.
    Form* owningForm() noexcept;
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
        std::int8_t top = 0, bottom = 0, left = 0, right = 0;
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
    HBRUSH backgroundBrush();
    bool transparent() const noexcept { return flags_.transparent; }
    void setTransparent(bool transparent) noexcept { flags_.transparent = transparent; }
    // The control's font object, created with the defaults on first use.
    Font& font();
    Font* fontIfAny() const noexcept { return font_; }
    DrawingSurface& surface();
    void releaseSurface() noexcept;
    // The paint context while inside WM_PAINT, else null.
    HDC paintContext() const noexcept { return paintDC_; }
    TextAlign textAlign() const noexcept { return textAlign_; }
    void setTextAlign(TextAlign align);

    // ---- messages and events
    void addMessageHandler(MessageHandler handler, bool keepAfterQuit = false);
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
    void setOnEnter(EventSlot<void(Control&)> handler) { assignEvents().onEnter = handler; }
    void setOnLeave(EventSlot<void(Control&)> handler) { assignEvents().onLeave = handler; }
    void setOnDropDown(EventSlot<void(Control&)> handler) { assignEvents().onDropDown = handler; }
    void setOnCloseUp(EventSlot<void(Control&)> handler) { assignEvents().onCloseUp = handler; }

    ControlHooks& hooks() noexcept { return hooks_; }

    // ---- menus and accelerators (owner side)
    Menu* menu() const noexcept { return menu_; }
    void setMenu(Menu* menu) noexcept { menu_ = menu; }
    HACCEL acceleratorTable() const noexcept { return accel_.get(); }
    void setAcceleratorTable(UniqueAccel table) noexcept { accel_ = std::move(table); }

    // ---- counters used by focus moves and modal runs
    std::uint8_t focusInProgress = 0;
    std::int8_t disableCount = 0;
    // Combo boxes: the item selected when the list last opened (Escape goes back to it).
    int rememberedIndex = -1;

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
        bool commonControl = false;
        bool moved = false;
        bool notAlignable = false;
        bool positionSet = false;
        bool settingFocus = false;
        // layout
        bool needsRelayout = false;
        bool resizedByLayout = false;
        bool layingOut = false;
    };
    Flags& flags() noexcept { return flags_; }

    // The control whose window is being created right now (bound by the window procedure).
    static Control* beingCreated() noexcept;
    static void clearBeingCreated() noexcept;
    // The Control bound to a window of this layer, or null.
    static Control* fromHandle(HWND window) noexcept;
    // Binds the window to this control (first message of a new window).
    void bindHandle(HWND window) noexcept;
    void unbindHandle() noexcept;
    WNDPROC classProcedure() const noexcept { return classProc_; }

    Control();

protected:
    ~Control() override;
    void destroy() override;

    // Fills the stored fields of a child of `parent` (the common child constructor).
    void initChild(Control& parent, std::wstring_view systemClass, DWORD style,
                   const ActionTable& actions, bool threeD);
    void initTopLevel(Control* parent, std::wstring_view className);

    friend class Form;
    friend void layoutChildren(Control& parent);
    friend Control* newControl(Control& parent, std::wstring_view systemClass, DWORD style,
                               const ActionTable& actions, bool threeD);

private:
    struct HandlerEntry {
        MessageHandler handler;
        bool keepAfterQuit;
    };

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
    std::uint16_t tabOrder_ = 0;
    std::vector<HandlerEntry> handlers_;
    std::vector<Control*> children_;
    const ActionTable* actions_;
    std::unique_ptr<ControlEvents> events_;
    ControlHooks hooks_;
    UINT_PTR id_ = 0;
    Menu* menu_ = nullptr;
    UniqueAccel accel_;
    Color textColor_ = kWindowTextColor;
    Color backgroundColor_ = kButtonFaceColor;
    Font* font_ = nullptr;
    UniqueBrush brush_;
    std::int8_t gap_ = 2;
    Margins margins_;
    std::uint8_t threeD_ = 3;
    RECT bounds_ = {0, 0, 0, 0};
    std::wstring text_;
    std::wstring className_;
    Align align_ = Align::None;
    TextAlign textAlign_ = TextAlign::Left;
    std::unique_ptr<DrawingSurface> surface_;
    HDC paintDC_ = nullptr;

    friend bool paintHandler(Control&, Message&, LRESULT&);
};

// Constructors of the plain child kinds.
enum class EdgeStyle { Raised, Lowered, None };
Control* newPanel(Control& parent, EdgeStyle edge);
Control* newControl(Control& parent, std::wstring_view systemClass, DWORD style,
                    const ActionTable& actions, bool threeD);

// Module instance of the executable, used for classes and resources.
HINSTANCE moduleInstance() noexcept;

} // namespace ctl

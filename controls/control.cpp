#include "controls/control.h"

#include "controls/application.h"
#include "controls/dispatch.h"
#include "controls/font.h"
#include "controls/form.h"
#include "controls/surface.h"

#include <float.h>

#include <algorithm>

namespace ctl {

namespace {

Control* g_beingCreated = nullptr;
// Child identifiers are handed out across the whole program, in creation order.
std::uint16_t g_nextChildId = 0x8000;

constexpr std::size_t kClassNameCapacity = 63;

const ControlEvents& defaultEvents() {
    static const ControlEvents record;
    return record;
}

// The change notice of a control's own font: switch the window to the new font.
void followFont(Control& control, Font& font) {
    control.setTextColor(font.color());
    if (control.handle())
        control.sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.handle()), TRUE);
    control.releaseSurface();
    if (control.hooks().captionChanged)
        control.hooks().captionChanged(control);
    control.invalidate();
}

void attachFont(Control& control, Font& font) {
    font.setChangeNotice([&control](Font& changed) { followFont(control, changed); });
}

} // namespace

HINSTANCE moduleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

Control* Control::beingCreated() noexcept {
    return g_beingCreated;
}
void Control::clearBeingCreated() noexcept {
    g_beingCreated = nullptr;
}

Control* Control::fromHandle(HWND window) noexcept {
    if (!window)
        return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Control::bindHandle(HWND window) noexcept {
    handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Control::unbindHandle() noexcept {
    if (handle_)
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    handle_ = nullptr;
    surface_.reset();
}

// ---------------------------------------------------------------------------------------------
// Construction and destruction

void Control::initTopLevel(Control* parent, std::wstring_view className) {
    className_ = className;
    actions_ = &noActions();
    flags_.form = true;
    if (parent) {
        hooks_.tabNavigation = parent->hooks_.tabNavigation;
        textColor_ = parent->textColor_;
        backgroundColor_ = parent->backgroundColor_;
        if (parent->font_) {
            font_ = Font::assign(nullptr, parent->font_);
            attachFont(*this, *font_);
        }
        threeD_ = parent->threeD_;
        setParent(parent);
    }
}

void Control::initChild(Control& parent, std::wstring_view systemClass, DWORD style,
                        const ActionTable& actions, bool threeD) {
    backgroundColor_ = parent.backgroundColor_;
    setParent(&parent);
    className_ = systemClass;
    actions_ = &actions;
    flags_.wrapsSystemClass = true;

    hooks_.tabNavigation = parent.hooks_.tabNavigation;
    textColor_ = parent.textColor_;
    if (parent.font_) {
        font_ = Font::assign(nullptr, parent.font_);
        attachFont(*this, *font_);
    }
    gap_ = parent.gap_;
    if (threeD_ & 2)
        threeD_ = static_cast<std::uint8_t>((threeD_ & ~1u) | (threeD ? 1u : 0u));

    flags_.child = true;
    style_ = style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    exStyle_ = 0;
    if (threeD_ & 1) {
        style_ &= ~WS_BORDER;
        exStyle_ |= WS_EX_CLIENTEDGE;
    }

    const int left = parent.gap_ + parent.margins_.left;
    const int top = parent.gap_ + parent.margins_.top;
    bounds_ = {left, top, left + 64, top + 64};

    if (Form* form = owningForm()) {
        tabOrder_ = ++form->tabCounter;
        if ((style_ & WS_TABSTOP) && !form->focusedControl)
            form->focusedControl = this;
    }
    id_ = g_nextChildId++;
    addMessageHandler(standardChildHandler);
}

Control* newControl(Control& parent, std::wstring_view systemClass, DWORD style,
                    const ActionTable& actions, bool threeD) {
    auto* control = new Control();
    control->initChild(parent, systemClass, style, actions, threeD);
    return control;
}

Control* newPanel(Control& parent, EdgeStyle edge) {
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
    if (edge == EdgeStyle::Raised)
        style |= WS_DLGFRAME;
    else if (edge == EdgeStyle::Lowered)
        style |= SS_SUNKEN;
    Control* panel = newControl(parent, L"STATIC", style, noActions(), false);
    panel->setExStyle(WS_EX_CONTROLPARENT);
    panel->setWidthHeight(100, 100);
    return panel;
}

Control::Control() = default;
Control::~Control() = default;

void Control::destroy() {
    if (Form* form = owningForm(); form && form != this && form->focusedControl == this)
        form->focusedControl = nullptr;
    if (handle_)
        ShowWindow(handle_, SW_HIDE);

    Object::destroy(); // onDestroy, then the owned objects: children, menus, lists

    if (font_) {
        font_->setChangeNotice(nullptr);
        font_->release();
        font_ = nullptr;
    }
    surface_.reset();
    if (handle_) {
        HWND window = handle_;
        unbindHandle();
        if (IsWindow(window)) {
            // The window ends as a plain window of its class: its last messages go to the
            // class's own procedure (a system control frees its state there), not to an object
            // that is going away.
            SetWindowLongPtrW(window, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(classProc_ ? classProc_ : DefWindowProcW));
            DestroyWindow(window);
        }
    }
    brush_.reset();
    accel_.reset();
    if (parent_) {
        if (parent_->isForm() && static_cast<Form*>(parent_)->focusedControl == this)
            static_cast<Form*>(parent_)->focusedControl = nullptr;
        std::erase(parent_->children_, this);
        parent_->disown(*this);
        parent_ = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Tree

Form* Control::owningForm() noexcept {
    Control* control = this;
    while (control && control->flags_.child)
        control = control->parent_;
    // Every control that is not a child control is a form.
    return control && control->flags_.form ? static_cast<Form*>(control) : nullptr;
}

void Control::setParent(Control* newParent) {
    if (newParent == parent_)
        return;
    if (parent_) {
        std::erase(parent_->children_, this);
        parent_->disown(*this);
    }
    parent_ = newParent;
    if (parent_) {
        parent_->children_.push_back(this);
        parent_->own(*this); // the owner holds the control's one reference
        if (handle_)
            SetParent(handle_, parent_->ensureHandle());
    }
    invalidate();
}

// ---------------------------------------------------------------------------------------------
// Native window

HWND Control::ensureHandle() {
    if (!handle_) {
        if (flags_.visibilityExplicit) {
            createWindow();
        } else {
            style_ &= ~WS_VISIBLE;
            if (createWindow())
                flags_.createdHidden = true;
        }
    }
    return handle_;
}

bool Control::createWindow() {
    if (parent_ && !parent_->ensureHandle())
        return false;
    if (handle_) {
        createChildWindows();
        if (flags_.createdHidden) {
            flags_.createdHidden = false;
            setVisible(true);
        }
        return true;
    }
    if (!createOwnWindow())
        return false;
    if (hooks_.afterCreate)
        hooks_.afterCreate(*this);
    if (font_) {
        textColor_ = font_->color();
        sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    }
    createChildWindows();
    return true;
}

void Control::createChildWindows() {
    // A copy: creating a window may run handlers that add or remove children.
    const std::vector<Control*> children = children_;
    // Every child, not only those without a window: a grandchild created hidden on demand is
    // shown by its own createWindow.
    for (Control* child : children)
        child->createWindow();
}

bool Control::createOwnWindow() {
    WNDCLASSW windowClass{};
    windowClass.style = classStyle_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hInstance = moduleInstance();

    std::wstring name = L"obj_" + className_;
    if (name.size() > kClassNameCapacity)
        name.resize(kClassNameCapacity);

    int x = bounds_.left;
    int y = bounds_.top;
    int width = bounds_.right - bounds_.left;
    int height = bounds_.bottom - bounds_.top;
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;
    if (flags_.form && !flags_.moved) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    HWND parentWindow = parent_ ? parent_->ensureHandle() : nullptr;

    if (flags_.wrapsSystemClass) {
        WNDCLASSW system{};
        if (GetClassInfoW(nullptr, className_.c_str(), &system)) {
            windowClass = system;
            windowClass.hInstance = moduleInstance();
            windowClass.style &= ~(CS_GLOBALCLASS | CS_OWNDC | CS_CLASSDC | CS_PARENTDC);
            if (!classProc_)
                classProc_ = system.lpfnWndProc;
        }
    }
    if ((style_ & WS_CHILD) && !parentWindow)
        return false;

    WNDCLASSW existing{};
    if (!GetClassInfoW(moduleInstance(), name.c_str(), &existing)) {
        windowClass.lpszClassName = name.c_str();
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.lpszMenuName = nullptr;
        if (!RegisterClassW(&windowClass))
            return false;
    }

    const HMENU menuOrId = reinterpret_cast<HMENU>(id_);
    g_beingCreated = this;
    // Some drivers change the floating-point control word while windows are created.
    const unsigned int fpu = _controlfp(0, 0);
    HWND window = CreateWindowExW(exStyle_, name.c_str(), text_.c_str(), style_, x, y, width,
                                  height, parentWindow, menuOrId, moduleInstance(), nullptr);
    _controlfp(fpu, _MCW_EM | _MCW_RC);
    if (!window) {
        g_beingCreated = nullptr;
        return false;
    }
    handle_ = window;
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    g_beingCreated = nullptr;
    bindHandle(window);
    if (flags_.form)
        SendMessageW(window, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(static_cast<Form*>(this)->getIcon()));
    return true;
}

LRESULT Control::sendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(ensureHandle(), message, wParam, lParam);
}

LRESULT Control::postMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(ensureHandle(), message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Text

std::wstring Control::text() {
    if (handle_) {
        const int length = GetWindowTextLengthW(handle_);
        text_.resize(static_cast<std::size_t>(length) + 1);
        const int got = GetWindowTextW(handle_, text_.data(), length + 1);
        text_.resize(static_cast<std::size_t>(std::max(got, 0)));
    }
    return text_;
}

void Control::setText(std::wstring_view text) {
    text_ = text;
    if (handle_) {
        SendMessageW(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
        if (!flags_.noInvalidateOnText)
            invalidate();
    }
    if (hooks_.captionChanged)
        hooks_.captionChanged(*this);
}

// ---------------------------------------------------------------------------------------------
// Events

const ControlEvents& Control::events() const noexcept {
    return events_ ? *events_ : defaultEvents();
}

ControlEvents& Control::assignEvents() {
    if (!events_)
        events_ = std::make_unique<ControlEvents>(defaultEvents());
    return *events_;
}

void Control::setOnMessage(EventSlot<bool(Message&, LRESULT&)> handler) {
    assignEvents().onMessage = std::move(handler);
}

void Control::setOnClose(EventSlot<void(Control&, bool&)> handler) {
    assignEvents().onClose = std::move(handler);
    addMessageHandler(closeHandler);
}

void Control::setOnPaint(EventSlot<void(Control&, HDC)> handler) {
    assignEvents().onPaint = std::move(handler);
    addMessageHandler(paintHandler);
}

void Control::setOnChar(EventSlot<void(Control&, wchar_t&, ShiftState)> handler) {
    assignEvents().onChar = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnKeyDown(EventSlot<void(Control&, KeyCode&, ShiftState)> handler) {
    assignEvents().onKeyDown = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnKeyUp(EventSlot<void(Control&, KeyCode&, ShiftState)> handler) {
    assignEvents().onKeyUp = std::move(handler);
    hooks_.keyHandler = keyHandler;
}

void Control::setOnResize(EventSlot<void(Control&)> handler) {
    assignEvents().onResize = std::move(handler);
    addMessageHandler(resizeHandler);
}

void Control::setOnMove(EventSlot<void(Control&)> handler) {
    assignEvents().onMove = std::move(handler);
    addMessageHandler(moveHandler);
}

void Control::addMessageHandler(MessageHandler handler, bool keepAfterQuit) {
    if (!hasMessageHandler(handler))
        handlers_.push_back({handler, keepAfterQuit});
}

void Control::removeMessageHandler(MessageHandler handler) noexcept {
    std::erase_if(handlers_, [handler](const HandlerEntry& e) { return e.handler == handler; });
}

bool Control::hasMessageHandler(MessageHandler handler) const noexcept {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [handler](const HandlerEntry& e) { return e.handler == handler; });
}

// ---------------------------------------------------------------------------------------------
// Colours, fonts and surfaces

void Control::setTextColor(Color color) {
    if (textColor_ == color)
        return;
    textColor_ = color;
    invalidate();
}

void Control::setBackgroundColor(Color color) {
    if (handle_ && actions_->setBackgroundColor)
        sendMessage(actions_->setBackgroundColor, 0, static_cast<LPARAM>(colorToRGB(color)));
    if (backgroundColor_ == color)
        return;
    backgroundColor_ = color;
    brush_.reset();
    invalidate();
}

HBRUSH Control::backgroundBrush() {
    // A control with its parent's colour paints with its parent's brush.
    Control* owner = this;
    while (owner->parent_ && owner->parent_->backgroundColor_ == owner->backgroundColor_)
        owner = owner->parent_;
    if (!owner->brush_)
        owner->brush_.reset(CreateSolidBrush(colorToRGB(owner->backgroundColor_)));
    return owner->brush_.get();
}

Font& Control::font() {
    if (!font_) {
        font_ = Font::create();
        font_->setColor(textColor_);
        attachFont(*this, *font_);
    }
    return *font_;
}

DrawingSurface& Control::surface() {
    if (!surface_) {
        ensureHandle();
        surface_ = std::make_unique<DrawingSurface>(*this);
    }
    return *surface_;
}

void Control::releaseSurface() noexcept {
    if (surface_)
        surface_->release();
}

void Control::invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void Control::setTextAlign(TextAlign align) {
    textAlign_ = align;
    DWORD style = style_;
    for (DWORD bits : actions_->alignStyles)
        style &= ~bits;
    style |= actions_->alignStyles[static_cast<int>(align)];
    style &= ~actions_->alignClear;
    setStyle(style);
}

} // namespace ctl

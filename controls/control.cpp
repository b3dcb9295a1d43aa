#include "controls/control.h"

#include "controls/font.h"

#include <float.h>

#include <algorithm>

namespace ctl {

namespace {

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

std::wstring upperCase(std::wstring text) {
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

HINSTANCE moduleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

bool holdsMnemonic(std::wstring_view text, WPARAM key) {
    const wchar_t wanted[] = {L'&', static_cast<wchar_t>(key & 0xFF), 0};
    return upperCase(std::wstring(text)).find(wanted) != std::wstring::npos;
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
    surface_.target(nullptr, nullptr, nullptr);
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
            font_ = Ref<Font>::adopt(Font::assign(nullptr, parent->font_.get()));
            attachFont(*this, *font_);
        }
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
        font_ = Ref<Font>::adopt(Font::assign(nullptr, parent.font_.get()));
        attachFont(*this, *font_);
    }
    gap_ = parent.gap_;
    threeD_ = threeD;

    flags_.child = true;
    style_ = style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    exStyle_ = 0;
    if (threeD_) {
        style_ &= ~WS_BORDER;
        exStyle_ |= WS_EX_CLIENTEDGE;
    }

    const int left = parent.gap_ + parent.margins_.left;
    const int top = parent.gap_ + parent.margins_.top;
    bounds_ = {left, top, left + 64, top + 64};

    if (Control* top = topLevel())
        top->childCreated(*this);
    id_ = g_nextChildId++;
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
    if (Control* top = topLevel(); top && top != this)
        top->childDestroyed(*this);
    if (handle_)
        ShowWindow(handle_, SW_HIDE);

    onDestroy(*this);
    // From here on nothing of the program is called: what its slots reach (a record this control
    // owns, say) is released next, while the windows may still send messages.
    events_.reset();
    releaseOwned(); // children, menus, lists, in the order they were registered

    if (font_) {
        font_->setChangeNotice(nullptr);
        font_ = Ref<Font>();
    }
    surface_.release();
    if (handle_) {
        if (IsWindow(handle_))
            releasingWindow();
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
        std::erase(parent_->children_, this);
        parent_->disown(*this);
        parent_ = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Tree

Control* Control::topLevel() noexcept {
    Control* control = this;
    while (control && control->flags_.child)
        control = control->parent_;
    // Every control that is not a child control is a form.
    return control && control->flags_.form ? control : nullptr;
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
    // Some drivers change the floating-point control word while windows are created.
    const unsigned int fpu = _controlfp(0, 0);
    flags_.creating = true;
    // The window procedure binds the window to this object on WM_NCCREATE.
    HWND window = CreateWindowExW(exStyle_, name.c_str(), text_.c_str(), style_, x, y, width,
                                  height, parentWindow, menuOrId, moduleInstance(), this);
    flags_.creating = false;
    _controlfp(fpu, _MCW_EM | _MCW_RC);
    if (!window)
        return false;
    if (handle_ != window)
        bindHandle(window);
    SendMessageW(window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    windowCreated();
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

void Control::addMessageHandler(MessageHandler handler) {
    if (!hasMessageHandler(handler))
        handlers_.push_back(handler);
}

void Control::removeMessageHandler(MessageHandler handler) noexcept {
    std::erase(handlers_, handler);
}

bool Control::hasMessageHandler(MessageHandler handler) const noexcept {
    return std::find(handlers_.begin(), handlers_.end(), handler) != handlers_.end();
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
    const COLORREF color = colorToRGB(owner->backgroundColor_);
    if (!owner->brush_ || owner->brushColor_ != color) {
        owner->brush_.reset(CreateSolidBrush(color));
        owner->brushColor_ = color;
    }
    return owner->brush_.get();
}

Font& Control::font() {
    if (!font_) {
        font_ = Ref<Font>::adopt(Font::create());
        font_->setColor(textColor_);
        attachFont(*this, *font_);
    }
    return *font_;
}

DrawingSurface& Control::surface() {
    HWND window = ensureHandle();
    surface_.target(window, paintDC_, font_.get());
    return surface_;
}

void Control::releaseSurface() noexcept {
    surface_.release();
}

bool Control::clickMnemonic(WPARAM key, bool buttonDown) {
    if (!holdsMnemonic(text(), key))
        return false;
    SendMessageW(handle_, buttonDown ? WM_LBUTTONDOWN : WM_LBUTTONUP, MK_LBUTTON, 0);
    return true;
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

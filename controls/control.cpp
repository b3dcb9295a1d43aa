// Control objects: construction with their parent's defaults, the tree, lifetime and ownership,
// text, and the list of attached message handlers.

#include "controls/control.h"

#include "controls/font.h"
#include "controls/path.h"

#include <algorithm>

namespace ctl {

namespace {

// Child identifiers are handed out across the whole program, in creation order.
std::uint16_t g_nextChildId = 0x8000;

const ControlEvents& defaultEvents() {
    static const ControlEvents record;
    return record;
}

} // namespace

HINSTANCE moduleInstance() noexcept {
    return GetModuleHandleW(nullptr);
}

bool holdsMnemonic(std::wstring_view text, WPARAM key) {
    const wchar_t wanted[] = {L'&', static_cast<wchar_t>(key & 0xFF), 0};
    return upperCase(text).find(wanted) != std::wstring::npos;
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
        if (parent->font_)
            useFont(Ref<Font>::adopt(Font::assign(nullptr, parent->font_.get())));
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
    if (parent.font_)
        useFont(Ref<Font>::adopt(Font::assign(nullptr, parent.font_.get())));
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

    if (Control* form = topLevel())
        form->childCreated(*this);
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

} // namespace ctl

#include "controls/toolbar.h"

#include "controls/common_controls.h"
#include "controls/form.h"
#include "controls/notifications.h"
#include "controls/options.h"

#include <algorithm>
#include <array>

namespace ctl {

namespace {

// Button command identifiers are never reused within a run, whichever toolbar takes them.
int g_nextButtonId = kFirstToolbarCommandId;

// Tooltip texts fill the 80-character buffer of the request, terminator included.
constexpr std::size_t kMaxTooltip = 79;

constexpr std::array<OptionBits, 7> kToolbarStyles = {{
    {TBSTYLE_LIST},
    {TBSTYLE_LIST, true}, // text below the images unless asked for beside them
    {TBSTYLE_FLAT},
    {TBSTYLE_TRANSPARENT},
    {TBSTYLE_WRAPABLE},
    {CCS_NODIVIDER},
    {0}, // the 3-D border is the constructor's sunken edge
}};

DWORD alignStyle(Align align) {
    switch (align) {
    case Align::None:
        return CCS_NOPARENTALIGN | CCS_NODIVIDER;
    case Align::Left:
        return CCS_VERT | CCS_TOP;
    case Align::Right:
        return CCS_VERT | CCS_BOTTOM;
    case Align::Bottom:
        return CCS_BOTTOM;
    case Align::Top:
    case Align::Client:
        return CCS_TOP;
    }
    return 0;
}

const NMHDR* notification(const Message& message) {
    return message.message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(message.lParam) : nullptr;
}

// The notification with this code from the toolbar's own window (not from its tooltips).
const NMHDR* ownNotification(const Control& toolbar, const Message& message, UINT code) {
    const NMHDR* header = notification(message);
    return header && header->code == code && header->hwndFrom == toolbar.handle() ? header
                                                                                  : nullptr;
}

} // namespace

const ActionTable& toolbarActions() noexcept {
    static const ActionTable table = [] {
        ActionTable actions;
        actions.itemCount = TB_BUTTONCOUNT;
        actions.clear = [](Control& control) { static_cast<Toolbar&>(control).clear(); };
        return actions;
    }();
    return table;
}

Toolbar* newToolbar(Control& parent, Align align, ToolbarOptions options, HBITMAP bitmap,
                    ToolbarTemplate entries, std::span<const int> images) {
    initCommonControls(ICC_BAR_CLASSES);
    if (options != 0 && !(options & tbopt::kTextBelow))
        options |= tbopt::kTextRight;
    if (options & tbopt::kTextRight)
        options &= static_cast<ToolbarOptions>(~tbopt::kTextBelow);
    const DWORD styles = mapOptions(options, kToolbarStyles) | CCS_NODIVIDER | TBSTYLE_TRANSPARENT;
    // Flat and transparent take effect once the buttons are in (see below).
    const DWORD style = alignStyle(align) | WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS |
                        (styles & ~static_cast<DWORD>(TBSTYLE_FLAT | TBSTYLE_TRANSPARENT));

    auto* toolbar = new Toolbar();
    toolbar->initChild(parent, TOOLBARCLASSNAMEW, style, toolbarActions(),
                       (options & tbopt::kThreeD) != 0);
    makeCommonControl(*toolbar);
    toolbar->flags().acceptsMnemonics = true;
    const RECT at = toolbar->bounds();
    toolbar->setBounds(align == Align::None ? RECT{at.left, at.top, at.left + 1000, at.top + 26}
                                            : RECT{0, 0, 0, 0});
    toolbar->addMessageHandler(Toolbar::toolbarHandler);
    toolbar->addMessageHandler(backgroundHandler);

    // Sending creates the window, hidden until its form is shown.
    toolbar->sendMessage(TB_SETEXTENDEDSTYLE, 0,
                         toolbar->sendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_DRAWDDARROWS);
    toolbar->sendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    toolbar->sendMessage(TB_SETINDENT, static_cast<WPARAM>(toolbar->gap()));
    if (align == Align::Left || align == Align::Right)
        toolbar->setWidth(24);
    else if (align != Align::None)
        toolbar->setHeight(22);

    if (bitmap)
        toolbar->setBitmap(bitmap);
    toolbar->addButtons(entries, images);
    toolbar->sendMessage(WM_SIZE);
    toolbar->setStyle(toolbar->style() | styles);
    if (align != Align::None)
        toolbar->setAlign(align);
    return toolbar;
}

// ---------------------------------------------------------------------------------------------
// Buttons and images

int Toolbar::addButtons(ToolbarTemplate entries, std::span<const int> images) {
    const std::vector<ToolbarButton> parsed =
        parseToolbarTemplate(entries, images, defaultButtonStyle, g_nextButtonId);
    if (parsed.empty())
        return -1;
    std::vector<TBBUTTON> buttons;
    for (const ToolbarButton& entry : parsed) {
        TBBUTTON button{};
        button.iBitmap = entry.image;
        button.idCommand = entry.commandId;
        button.fsState = entry.state;
        button.fsStyle = entry.style;
        button.iString = -1;
        if (!entry.text.empty()) {
            // The string list the toolbar takes ends with an empty string.
            const std::wstring strings = entry.text + L'\0';
            button.iString =
                sendMessage(TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(strings.c_str()));
        }
        buttons.push_back(button);
    }
    sendMessage(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    return parsed.front().commandId;
}

bool Toolbar::setBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info))
        return false;
    const int height = std::abs(info.bmHeight);
    const int width = bitmapWidth != 0 ? bitmapWidth : height;
    if (width <= 0)
        return false;
    sendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    sendMessage(TB_AUTOSIZE);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
    sendMessage(TB_ADDBITMAP, static_cast<WPARAM>(info.bmWidth / width),
                reinterpret_cast<LPARAM>(&add));
    return true;
}

int Toolbar::buttonId(int index) {
    TBBUTTON button{};
    if (!sendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return -1;
    return button.idCommand;
}

int Toolbar::buttonIndex(int commandId) {
    return static_cast<int>(sendMessage(TB_COMMANDTOINDEX, static_cast<WPARAM>(commandId)));
}

int Toolbar::resolve(int indexOrId) {
    const auto count = static_cast<int>(sendMessage(TB_BUTTONCOUNT));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button{};
        if (sendMessage(TB_GETBUTTON, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&button)) &&
            !(button.fsStyle & BTNS_SEP))
            return indexOrId < button.idCommand ? buttonId(indexOrId) : indexOrId;
    }
    return buttonId(indexOrId);
}

void Toolbar::setButtonState(UINT message, int indexOrId, bool on) {
    sendMessage(message, static_cast<WPARAM>(resolve(indexOrId)), MAKELPARAM(on ? 1 : 0, 0));
}

std::wstring Toolbar::buttonText(int commandId) {
    const auto command = static_cast<WPARAM>(commandId);
    // Asked for its length first: a button text has no limit.
    const auto length = static_cast<int>(sendMessage(TB_GETBUTTONTEXTW, command, 0));
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = static_cast<int>(
        sendMessage(TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<std::size_t>(std::clamp(got, 0, length)));
    return text;
}

void Toolbar::clear() {
    while (sendMessage(TB_BUTTONCOUNT) > 0) {
        if (!sendMessage(TB_DELETEBUTTON, 0))
            break;
    }
    sendMessage(TB_SETBITMAPSIZE, 0, 0);
}

bool Toolbar::clickMnemonic(WPARAM key, bool buttonDown) {
    const auto count = static_cast<int>(sendMessage(TB_BUTTONCOUNT));
    for (int index = 0; index < count; ++index) {
        const int command = buttonId(index);
        if (!sendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(command)) ||
            !holdsMnemonic(buttonText(command), key))
            continue;
        currentButton = index;
        lastCommand = command;
        RECT r{};
        sendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        sendMessage(buttonDown ? WM_LBUTTONDOWN : WM_LBUTTONUP, MK_LBUTTON,
                    MAKELPARAM(r.left, r.top));
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Events and tooltips

void Toolbar::assignButtonEvents(int first, std::span<const ButtonHandler> handlers) {
    addMessageHandler(buttonClickHandler);
    int command = resolve(first);
    for (const ButtonHandler& handler : handlers)
        buttonEvents_.push_back({command++, handler});
}

void Toolbar::setTooltips(int firstCommandId, std::span<const std::wstring_view> texts) {
    int command = firstCommandId;
    for (std::wstring_view text : texts) {
        auto known =
            std::find_if(tooltips_.begin(), tooltips_.end(),
                         [command](const Tooltip& tip) { return tip.commandId == command; });
        if (known != tooltips_.end())
            known->text = text;
        else
            tooltips_.push_back({command, std::wstring(text)});
        ++command;
    }
}

void Toolbar::setOnCustomDraw(CustomDrawHandler handler) {
    onCustomDraw_ = std::move(handler);
    addMessageHandler(customDrawHandler);
}

bool Toolbar::answerTooltip(NMTTDISPINFOW& info) const {
    info.szText[0] = L'\0';
    info.lpszText = info.szText;
    info.hinst = nullptr;
    const auto command = static_cast<int>(info.hdr.idFrom);
    for (const Tooltip& tip : tooltips_) {
        if (tip.commandId != command)
            continue;
        const std::size_t length = tip.text.copy(info.szText, kMaxTooltip);
        info.szText[length] = L'\0';
        break;
    }
    return true;
}

bool Toolbar::toolbarHandler(Control& control, Message& message, LRESULT& result) {
    auto& toolbar = static_cast<Toolbar&>(control);
    if (message.message == WM_WINDOWPOSCHANGED) {
        // Kept from the toolbar's own sizing: it would stretch itself over its parent's width.
        result = 0;
        toolbar.events().onResize(toolbar);
        return true;
    }
    if (message.message == kReflectedCommand) {
        toolbar.lastCommand = LOWORD(message.wParam);
        toolbar.currentButton = toolbar.buttonIndex(toolbar.lastCommand);
        toolbar.byKeyboard = (GetKeyState(VK_RETURN) & 0x8000) != 0;
        // Buttons report notification code 0, which the standard child handler takes for "no
        // notification": the toolbar runs its own onClick.
        toolbar.events().onClick(toolbar);
        result = toolbar.defaultProcessing(message);
        return true;
    }
    const NMHDR* header = notification(message);
    if (!header)
        return false;
    if (header->code == TTN_GETDISPINFOW) { // from the toolbar's tooltip window
        result = 0;
        return toolbar.answerTooltip(*reinterpret_cast<NMTTDISPINFOW*>(message.lParam));
    }
    if (header->hwndFrom != toolbar.handle())
        return false;
    switch (header->code) {
    case NM_RCLICK: {
        const auto* mouse = reinterpret_cast<const NMMOUSE*>(header);
        toolbar.rightClick = true;
        toolbar.currentButton = toolbar.buttonIndex(static_cast<int>(mouse->dwItemSpec));
        return false;
    }
    case NM_CLICK: {
        const auto* mouse = reinterpret_cast<const NMMOUSE*>(header);
        toolbar.rightClick = false;
        toolbar.lastCommand = -1;
        toolbar.currentButton = -1;
        result = 0;
        return mouse->dwItemSpec != static_cast<DWORD_PTR>(-1);
    }
    case TBN_DROPDOWN: {
        const auto* drop = reinterpret_cast<const NMTOOLBARW*>(header);
        toolbar.lastCommand = drop->iItem;
        toolbar.currentButton = toolbar.buttonIndex(drop->iItem);
        toolbar.events().onDropDown(toolbar);
        result = TBDDRET_DEFAULT;
        return false;
    }
    default:
        return false;
    }
}

bool Toolbar::buttonClickHandler(Control& control, Message& message, LRESULT& result) {
    const NMHDR* header = ownNotification(control, message, NM_CLICK);
    if (!header)
        return false;
    auto& toolbar = static_cast<Toolbar&>(control);
    const auto command = static_cast<int>(reinterpret_cast<const NMMOUSE*>(header)->dwItemSpec);
    const auto& events = toolbar.buttonEvents_;
    auto record = std::find_if(events.rbegin(), events.rend(), [command](const ButtonEvent& e) {
        return e.commandId == command && e.handler;
    });
    if (record == events.rend())
        return false;
    const Ref<Control> keepAlive(&toolbar);
    const ButtonHandler handler = record->handler; // the handler may assign new records
    result = DefWindowProcW(message.window, message.message, message.wParam, message.lParam);
    handler(toolbar, command);
    return true;
}

bool Toolbar::customDrawHandler(Control& control, Message& message, LRESULT& result) {
    if (!ownNotification(control, message, NM_CUSTOMDRAW))
        return false;
    auto& toolbar = static_cast<Toolbar&>(control);
    auto& draw = *reinterpret_cast<NMCUSTOMDRAW*>(message.lParam);
    if (toolbar.onCustomDraw_) {
        result = toolbar.onCustomDraw_(toolbar, draw);
        return true;
    }
    // Without a handler: the toolbar's own colour behind the buttons, which it then draws.
    if (draw.dwDrawStage == CDDS_PREPAINT || draw.dwDrawStage == CDDS_PREERASE) {
        RECT client{};
        GetClientRect(toolbar.handle(), &client);
        FillRect(draw.hdc, &client, toolbar.backgroundBrush());
    }
    return false;
}

} // namespace ctl

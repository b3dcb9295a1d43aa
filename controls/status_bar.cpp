#include "controls/status_bar.h"

#include "controls/common_controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace ctl {

namespace {

constexpr int kSimple = 255;
// Sent by a form to its children when its size changed; the status bar follows it.
constexpr UINT kResizeNotice = 0xB00D;

// The form tells its children about a new size; the status bar follows the form's width.
bool formResizeNotice(Control& form, Message& message, LRESULT&) {
    if (message.message == WM_SIZE) {
        for (Control* child : form.children()) {
            if (child->handle())
                SendMessageW(child->handle(), kResizeNotice, 0, 0);
        }
    }
    return false;
}

bool statusBarFollowsForm(Control& bar, Message& message, LRESULT& result) {
    if (message.message != kResizeNotice)
        return false;
    SendMessageW(bar.handle(), WM_SIZE, 0, 0);
    bar.invalidate();
    result = 0;
    return true;
}

Control* createStatusBar(Form& form) {
    initCommonControls(ICC_BAR_CLASSES);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP;
    Control* bar = newControl(form, STATUSCLASSNAMEW, style, noActions(), false);
    bar->setBounds({0, 0, 0, 0});
    bar->flags().notAlignable = true; // placed by the bar itself, below the laid-out area
    bar->addMessageHandler(statusBarFollowsForm);
    form.addMessageHandler(formResizeNotice);
    form.statusBar = bar;

    bar->ensureHandle();
    bar->setVisible(true);
    bar->sendMessage(SB_SIMPLE, FALSE);
    RECT barRect{};
    GetWindowRect(bar->handle(), &barRect);
    const int barHeight = barRect.bottom - barRect.top;
    Control::Margins margins = form.margins();
    margins.bottom = barHeight;
    form.setMargins(margins);
    // The form grows by the bar's height, so its client area keeps the size it had.
    const RECT outer = form.bounds();
    form.setSize(outer.right - outer.left, outer.bottom - outer.top + barHeight);
    bar->sendMessage(WM_SIZE, 0, 0);
    return bar;
}

} // namespace

void setStatusText(Form& form, int index, std::wstring_view text) {
    Control* bar = form.statusBar ? form.statusBar : createStatusBar(form);
    if (index == kSimple) {
        bar->sendMessage(SB_SIMPLE, TRUE);
    } else {
        const auto parts = static_cast<int>(bar->sendMessage(SB_GETPARTS, 0, 0));
        if (index >= parts) {
            const RECT client = form.clientRect();
            const int width = (client.right - client.left) / (index + 1);
            std::vector<int> edges;
            for (int part = 1; part <= index; ++part)
                edges.push_back(part * width);
            edges.push_back(-1);
            bar->sendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        }
        bar->sendMessage(SB_SIMPLE, FALSE);
    }
    const std::wstring copy(text);
    bar->sendMessage(SB_SETTEXTW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(copy.empty() ? nullptr : copy.c_str()));
}

std::wstring statusText(const Form& form, int index) {
    if (!form.statusBar || !form.statusBar->handle())
        return {};
    Control& bar = *form.statusBar;
    const auto part = static_cast<WPARAM>(index);
    std::wstring text(LOWORD(bar.sendMessage(SB_GETTEXTLENGTHW, part)) + 1u, L'\0');
    text.resize(LOWORD(bar.sendMessage(SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

} // namespace ctl

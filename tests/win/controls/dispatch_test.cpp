// Message dispatch: the order in which messages meet handlers, what is reflected to a child,
// refused closes, and handlers that fail.

#include "controls/dispatch.h"
#include "controls/edit.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

std::vector<std::string>* g_trace = nullptr;

bool firstAttached(Control&, Message& message, LRESULT&) {
    if (message.message == WM_APP + 1)
        g_trace->push_back("first");
    return false;
}

bool lastAttached(Control&, Message& message, LRESULT& result) {
    if (message.message != WM_APP + 1)
        return false;
    g_trace->push_back("last");
    result = 42;
    return message.wParam == 1; // handled only when asked
}

} // namespace

TEST(Dispatch, NewestHandlerFirstAndHandledMessagesStopThere) {
    ScopedForm form;
    std::vector<std::string> trace;
    g_trace = &trace;
    form->addMessageHandler(firstAttached);
    form->addMessageHandler(lastAttached);
    form->addMessageHandler(firstAttached); // attached once only
    form->setOnMessage([&](Message& message, LRESULT&) {
        if (message.message == WM_APP + 1)
            trace.push_back("onMessage");
        return false;
    });
    ASSERT_TRUE(form->ensureHandle());

    EXPECT_EQ(SendMessageW(form->handle(), WM_APP + 1, 1, 0), 42);
    EXPECT_EQ(trace, (std::vector<std::string>{"onMessage", "last"}));

    trace.clear();
    SendMessageW(form->handle(), WM_APP + 1, 0, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"onMessage", "last", "first"}));

    form->removeMessageHandler(lastAttached);
    trace.clear();
    SendMessageW(form->handle(), WM_APP + 1, 1, 0);
    EXPECT_EQ(trace, (std::vector<std::string>{"onMessage", "first"}));
    g_trace = nullptr;
}

TEST(Dispatch, HandledMessagesNeverReachDefaultProcessing) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    edit->setOnMessage([](Message& message, LRESULT& result) {
        if (message.message != WM_SETTEXT || message.wParam != 1)
            return false;
        result = TRUE;
        return true;
    });
    ASSERT_TRUE(form->ensureHandle());

    SendMessageW(edit->handle(), WM_SETTEXT, 1, reinterpret_cast<LPARAM>(L"blocked"));
    EXPECT_EQ(testing_gui::windowText(edit->handle()), L"");
    SendMessageW(edit->handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"passed"));
    EXPECT_EQ(testing_gui::windowText(edit->handle()), L"passed");
}

TEST(Dispatch, MenuCommandsAreNeverReflected) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    int reflected = 0;
    edit->setOnMessage([&](Message& message, LRESULT&) {
        if (message.message == kReflectedCommand)
            ++reflected;
        return false;
    });
    int seenByForm = 0;
    form->setOnMessage([&](Message& message, LRESULT&) {
        if (message.message == WM_COMMAND)
            ++seenByForm;
        return false;
    });
    ASSERT_TRUE(form->ensureHandle());

    SendMessageW(form->handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(edit->id()), 0), 0);
    SendMessageW(form->handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(edit->id()), 1), 0);
    EXPECT_EQ(seenByForm, 2);
    EXPECT_EQ(reflected, 0);
}

TEST(Dispatch, ColourRequestsAreAnsweredWithTheChildsColours) {
    ScopedForm form;
    Control* edit = newEdit(*form, 0);
    edit->setBackgroundColor(RGB(10, 20, 30));
    edit->setTextColor(RGB(200, 100, 50));
    ASSERT_TRUE(form->ensureHandle());

    HDC dc = GetDC(edit->handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form->handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(edit->handle())));
    EXPECT_EQ(brush, edit->backgroundBrush());
    EXPECT_EQ(GetTextColor(dc), RGB(200, 100, 50));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    ReleaseDC(edit->handle(), dc);
}

TEST(Dispatch, CloseHandlerRefusalKeepsTheWindowAndAsksAgain) {
    ScopedForm form;
    int asked = 0;
    bool allow = false;
    form->setOnClose([&](Control&, bool& accept) {
        ++asked;
        accept = allow;
    });
    ASSERT_TRUE(form->ensureHandle());
    HWND window = form->handle();

    // Refusing only holds while the application runs; pretend it does for this form.
    Application& app = application();
    const bool wasRunning = app.running;
    app.running = true;
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(asked, 2);
    app.running = wasRunning;
}

namespace {

// What OutputDebugStringW wrote, taken from the exception it raises for a debugger: the wide
// text where the platform raises that, else the narrow copy.
std::wstring g_debugOutput;

constexpr DWORD kDebugPrint = 0x40010006;
constexpr DWORD kDebugPrintWide = 0x4001000A;

LONG CALLBACK collectDebugOutput(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (record.NumberParameters >= 2 && record.ExceptionCode == kDebugPrintWide)
        g_debugOutput += reinterpret_cast<const wchar_t*>(record.ExceptionInformation[1]);
    else if (record.NumberParameters >= 2 && record.ExceptionCode == kDebugPrint)
        for (const char* c = reinterpret_cast<const char*>(record.ExceptionInformation[1]); *c; ++c)
            g_debugOutput += static_cast<wchar_t>(*c);
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

TEST(Dispatch, AnExceptionStopsAtTheWindowProcedureAndIsTraced) {
    ScopedForm form;
    ASSERT_TRUE(form->ensureHandle());
    form->setOnMessage({[](Message& message, LRESULT&) -> bool {
        if (message.message == WM_APP + 7)
            throw std::runtime_error("handler failed");
        return false;
    }});
    g_debugOutput.clear();
    void* watcher = AddVectoredExceptionHandler(1, collectDebugOutput);
    ASSERT_NE(watcher, nullptr);
    const LRESULT result = SendMessageW(form->handle(), WM_APP + 7, 0, 0);
    RemoveVectoredExceptionHandler(watcher);
    EXPECT_EQ(result, 0);
    EXPECT_NE(g_debugOutput.find(L"0x8007"), std::wstring::npos) << g_debugOutput;
    EXPECT_NE(g_debugOutput.find(L"handler failed"), std::wstring::npos) << g_debugOutput;
    EXPECT_EQ(SendMessageW(form->handle(), WM_GETTEXTLENGTH, 0, 0), 4) << "the window goes on";
}

TEST(Dispatch, APaintHandlerThatThrowsStillEndsItsPainting) {
    ScopedForm form;
    Control* panel = newPanel(*form, EdgeStyle::None);
    panel->setOnPaint({[](Control& painted, HDC dc) {
        EXPECT_EQ(painted.paintContext(), dc);
        throw std::runtime_error("paint failed");
    }});
    ASSERT_TRUE(form->ensureHandle());
    InvalidateRect(panel->handle(), nullptr, TRUE);
    SendMessageW(panel->handle(), WM_PAINT, 0, 0);
    EXPECT_EQ(panel->paintContext(), nullptr) << "the paint context outlived its painting";
}

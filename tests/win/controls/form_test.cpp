#include "controls/application.h"
#include "controls/edit.h"
#include "support/shared_form.h"

#include <string>

using namespace ctl;

namespace {

// Makes a form the Application for one test (no loop runs).
class AsApplication {
public:
    explicit AsApplication(Form* form) { application().form = form; }
    ~AsApplication() { application().form = nullptr; }
    AsApplication(const AsApplication&) = delete;
    AsApplication& operator=(const AsApplication&) = delete;
};

class FormTest : public testing_gui::SharedFormTest {
protected:
    void TearDown() override {
        form().setOnMessage({});
        SharedFormTest::TearDown();
    }
};

// Answers the next message box of this thread with OK and remembers its caption.
class MessageBoxAnswer {
public:
    MessageBoxAnswer() {
        caption_.clear();
        timer_ = SetTimer(nullptr, 0, 50, tick);
    }
    ~MessageBoxAnswer() { KillTimer(nullptr, timer_); }
    MessageBoxAnswer(const MessageBoxAnswer&) = delete;
    MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;
    const std::wstring& caption() const { return caption_; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), answer, 0);
    }
    static BOOL CALLBACK answer(HWND window, LPARAM) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(window))
            return TRUE;
        caption_ = testing_gui::windowText(window);
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static inline std::wstring caption_;
    UINT_PTR timer_ = 0;
};

} // namespace

TEST_F(FormTest, ModalFormDisablesItsOwnerUntilItsCloseBoxEndsIt) {
    Form& owner = form();
    const AsApplication app(&owner);
    Control* edit = newEdit(owner, editopt::kMultiLine);
    edit->createWindow();
    ASSERT_EQ(owner.focusedControl, edit);

    Form* about = newForm(&owner, L"About");
    int asked = 0;
    about->setOnClose({[&asked](Control&, bool&) { ++asked; }});
    bool ownerEnabled = true;
    bool isModal = false;
    LRESULT clickOnOwner = 0;
    bool otherInFront = false;
    testing_gui::ScopedForm other(L"Other");
    bool aboutInFront = false;
    about->setOnMessage({[&](Message& message, LRESULT&) {
        if (message.message == WM_APP) {
            ownerEnabled = IsWindowEnabled(owner.handle()) != FALSE;
            isModal = application().modalForm == about && about->modalCount == 1;
            showForm(*other);
            otherInFront = GetForegroundWindow() == other->handle();
            clickOnOwner =
                SendMessageW(owner.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(owner.handle()),
                             MAKELPARAM(HTERROR, WM_LBUTTONDOWN));
            aboutInFront = GetForegroundWindow() == about->handle();
            PostMessageW(about->handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return false;
    }});
    int activations = 0;
    owner.setOnMessage({[&activations](Message& message, LRESULT&) {
        if (message.message == WM_ACTIVATE && message.wParam == WA_ACTIVE && message.lParam == 0)
            ++activations;
        return false;
    }});

    about->ensureHandle();
    PostMessageW(about->handle(), WM_APP, 0, 0);
    EXPECT_EQ(showModal(*about), -1);

    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(isModal);
    // A click on the disabled owner brings the modal form in front of another window.
    EXPECT_EQ(clickOnOwner, 1);
    EXPECT_TRUE(otherInFront);
    EXPECT_TRUE(aboutInFront);
    // Ended, not destroyed: the caller decides; its own onClose was not asked.
    EXPECT_TRUE(IsWindow(about->handle()));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(about->modalCount, 0);
    EXPECT_EQ(application().modalForm, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_EQ(owner.disableCount, 0);
    EXPECT_EQ(SendMessageW(owner.handle(), WM_SETCURSOR, 0, MAKELPARAM(HTERROR, WM_LBUTTONDOWN)),
              0);
    testing_gui::pump();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(GetFocus(), edit->handle());
    about->release();
}

TEST_F(FormTest, ModalRunEndsWithoutAnApplicationToo) {
    Form* about = newForm(&form(), L"About");
    about->ensureHandle();
    PostMessageW(about->handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(showModal(*about), -1);
    EXPECT_TRUE(IsWindowEnabled(form().handle()));
    about->release();
}

TEST_F(FormTest, FormWithoutOwnerIsOnlyShown) {
    Form* lone = newForm(nullptr, L"Lone");
    EXPECT_EQ(showModal(*lone), 0);
    EXPECT_TRUE(IsWindowVisible(lone->handle()));
    lone->release();
}

TEST_F(FormTest, MessageBoxIsCaptionedWithTheApplicationsTitle) {
    // The caption of the box `show` shows, answered with OK.
    const auto captionOf = [](auto show) {
        const MessageBoxAnswer answer;
        EXPECT_EQ(show(), IDOK);
        return answer.caption();
    };
    const std::wstring systemCaption =
        captionOf([] { return MessageBoxW(nullptr, L"Question?", nullptr, MB_OKCANCEL); });
    ASSERT_FALSE(systemCaption.empty());
    EXPECT_EQ(captionOf([] { return messageBox(L"Question?", MB_OKCANCEL | MB_ICONQUESTION); }),
              systemCaption);
    const AsApplication app(&form());
    form().setText(L"Dawatik 1.4");
    EXPECT_EQ(captionOf([] { return messageBox(L"Question?", MB_OKCANCEL); }), L"Dawatik 1.4");
}

TEST_F(FormTest, FixedSizeFormCannotBeResized) {
    testing_gui::ScopedForm fixed(L"Fixed");
    fixed->setSize(321, 200);
    fixed->setSize(300, 0); // a zero keeps that dimension
    ASSERT_TRUE(fixed->ensureHandle());
    RECT r = fixed->bounds();
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);

    fixed->setResizable(false);
    MINMAXINFO info{};
    SendMessageW(fixed->handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMaxTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.y, 200);
    // The lower right corner of the frame is no sizing border any more.
    EXPECT_EQ(SendMessageW(fixed->handle(), WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.bottom - 2)),
              HTNOWHERE);
    SendMessageW(fixed->handle(), WM_INITMENU, 0, 0);
    EXPECT_TRUE(GetMenuState(GetSystemMenu(fixed->handle(), FALSE), SC_SIZE, MF_BYCOMMAND) &
                MF_GRAYED);
}

TEST_F(FormTest, FixedSizeFormMadeLaterKeepsTheSizeItWasGiven) {
    for (bool main : {false, true}) {
        testing_gui::ScopedForm fixed(L"Fixed");
        // As the main window, its first messages reach it before its window is bound.
        const AsApplication app(main ? fixed.get() : nullptr);
        fixed->setResizable(false);
        fixed->setSize(320, 240);
        ASSERT_TRUE(fixed->ensureHandle());
        RECT r{};
        GetWindowRect(fixed->handle(), &r);
        EXPECT_EQ(r.right - r.left, 320) << (main ? "main window" : "form");
        EXPECT_EQ(r.bottom - r.top, 240) << (main ? "main window" : "form");
    }
}

TEST(FormTeardown, AFormWithoutParentLeavesNoFocusRecordInTheMainWindow) {
    testing_gui::ScopedForm main(L"Main");
    const AsApplication app(main.get());
    Form* other = newForm(nullptr, L"Other");
    ASSERT_TRUE(other->ensureHandle());
    SendMessageW(other->handle(), WM_SETFOCUS, 0, 0);
    ASSERT_EQ(main->focusedControl, other) << "the main window notes the form it gave way to";
    other->release();
    EXPECT_EQ(main->focusedControl, nullptr);
}

namespace {

// Stands in for the main-window record: an object the form owns, noting its end.
class OwnedRecord : public Object {
public:
    explicit OwnedRecord(bool& gone) : gone_(gone) {}

protected:
    void destroy() override {
        gone_ = true;
        Object::destroy();
    }

private:
    bool& gone_;
};

} // namespace

TEST(FormTeardown, SlotsStopBeforeWhatTheFormOwnsIsReleased) {
    Form* form = newForm(nullptr, L"Teardown");
    ASSERT_TRUE(form->ensureHandle());
    bool recordGone = false;
    int slotsAfterRecord = 0;
    form->own(*new OwnedRecord(recordGone));
    form->setOnResize({[&](Control&) { slotsAfterRecord += recordGone ? 1 : 0; }});
    form->setOnMove({[&](Control&) { slotsAfterRecord += recordGone ? 1 : 0; }});
    // A child released after the record whose end moves and resizes the form.
    Control* panel = newPanel(*form, EdgeStyle::None);
    panel->onDestroy = [form](Object&) {
        SetWindowPos(form->handle(), nullptr, 7, 9, 250, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    form->release();
    EXPECT_TRUE(recordGone);
    EXPECT_EQ(slotsAfterRecord, 0);
}

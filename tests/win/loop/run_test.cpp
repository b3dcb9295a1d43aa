// The loop of `run` leaves the process quitting for good (the terminated flag is never
// cleared), so each test here runs in a process of its own (see CMakeLists.txt).

#include "controls/application.h"
#include "controls/edit.h"
#include "controls/form.h"

#include <gtest/gtest.h>

using namespace ctl;

namespace {

struct MainWindow {
    Form* form = newForm(nullptr, L"Main");
    HWND window = nullptr;
    HWND child = nullptr;
    int destroyed = 0;

    MainWindow() {
        Control* edit = newEdit(*form, editopt::kMultiLine);
        form->onDestroy = [this](Object&) { ++destroyed; };
        window = form->ensureHandle();
        child = edit->handle();
    }
};

void expectTornDown(const MainWindow& main) {
    const Application& app = application();
    EXPECT_TRUE(app.terminated);
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.form, nullptr);
    EXPECT_EQ(main.destroyed, 1);
    EXPECT_FALSE(IsWindow(main.window));
    EXPECT_FALSE(IsWindow(main.child));
}

} // namespace

TEST(Run, PostedQuitEndsTheLoopThatARefusedCloseKeptRunning) {
    ASSERT_FALSE(application().terminated) << "a run test needs a process of its own";
    Form* none = nullptr;
    run(none);
    EXPECT_FALSE(application().running);
    EXPECT_FALSE(application().terminated);

    MainWindow main;
    int asked = 0;
    main.form->setOnClose({[&asked](Control&, bool& accept) {
        ++asked;
        accept = false;
    }});
    bool runningAfterRefusal = false;
    main.form->setOnMessage({[&](Message& message, LRESULT&) {
        if (message.message == WM_APP) {
            const Application& app = application();
            runningAfterRefusal =
                asked == 1 && app.running && !app.terminated && IsWindowVisible(main.window);
            PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 0, 0);
        }
        return false;
    }});
    PostMessageW(main.window, WM_CLOSE, 0, 0);
    PostMessageW(main.window, WM_APP, 0, 0);

    run(main.form);
    EXPECT_EQ(main.form, nullptr);
    EXPECT_TRUE(runningAfterRefusal);
    EXPECT_EQ(asked, 1);
    expectTornDown(main);
}

TEST(Run, ClosingTheMainWindowEndsTheLoop) {
    ASSERT_FALSE(application().terminated) << "a run test needs a process of its own";
    MainWindow main;
    int asked = 0;
    bool quitRequestedBeforeDestruction = false;
    main.form->setOnClose({[&asked](Control&, bool&) { ++asked; }});
    main.form->setOnMessage({[&](Message& message, LRESULT&) {
        if (message.message == WM_DESTROY)
            quitRequestedBeforeDestruction = application().terminated;
        return false;
    }});
    PostMessageW(main.window, WM_SYSCOMMAND, SC_CLOSE, 0);

    run(main.form);
    EXPECT_EQ(main.form, nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(quitRequestedBeforeDestruction);
    expectTornDown(main);
}

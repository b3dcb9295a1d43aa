#include "controls/timer.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>

using namespace ctl;
using testing_gui::ScopedForm;

namespace {

// Runs the loop for `milliseconds`, as the program's loop does.
void runLoop(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        testing_gui::pump();
        Sleep(5);
    }
}

// What the program writes to the debugger meanwhile: the platform raises each line as an
// exception that a vectored handler sees before anyone else.
class DebuggerLines {
public:
    DebuggerLines() : handler_(AddVectoredExceptionHandler(1, &DebuggerLines::note)) {
        lines() = {};
    }
    ~DebuggerLines() { RemoveVectoredExceptionHandler(handler_); }
    DebuggerLines(const DebuggerLines&) = delete;
    DebuggerLines& operator=(const DebuggerLines&) = delete;
    static std::string& lines() {
        static std::string seen;
        return seen;
    }

private:
    static LONG CALLBACK note(EXCEPTION_POINTERS* exception) {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
            lines() += reinterpret_cast<const char*>(record.ExceptionInformation[1]);
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* handler_;
};

} // namespace

TEST(Timer, TicksUntilStoppedAndAStartedTimerIsOneTimer) {
    ScopedForm form;
    Timer timer(*form);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    ASSERT_TRUE(timer.start(20));
    ASSERT_TRUE(timer.start(20)); // a restart, not a second timer
    EXPECT_TRUE(timer.running());
    runLoop(300);
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 16);
    timer.stop();
    EXPECT_FALSE(timer.running());
    const int stoppedAt = ticks;
    runLoop(100);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(Timer, ATickMayStopItsTimerAndNoneComesAfterTheTimerIsGone) {
    ScopedForm form;
    Timer once(*form);
    int onceTicks = 0;
    once.onTick = [&] {
        ++onceTicks;
        once.stop();
    };
    auto gone = std::make_unique<Timer>(*form);
    int goneTicks = 0;
    gone->onTick = [&] { ++goneTicks; };
    ASSERT_TRUE(once.start(0));
    ASSERT_TRUE(gone->start(10));
    gone.reset();
    runLoop(150);
    EXPECT_EQ(onceTicks, 1);
    EXPECT_EQ(goneTicks, 0);
}

TEST(Timer, WhatATickThrowsStopsThereIsToldAndTheLoopGoesOn) {
    ScopedForm form;
    const DebuggerLines debugger;
    Timer timer(*form);
    int ticks = 0;
    timer.onTick = [&] {
        if (++ticks == 1)
            throw std::bad_alloc();
    };
    ASSERT_TRUE(timer.start(20));
    runLoop(200);
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(timer.running());
    EXPECT_NE(DebuggerLines::lines().find("exception was stopped in a timer while it handled "
                                          "message 0x0113: std::bad_alloc"),
              std::string::npos)
        << DebuggerLines::lines();
}

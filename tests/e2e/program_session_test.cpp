// The whole program in random order, killed at random moments, checked against a model after
// every step. CI runs a few fixed seeds; a longer run takes its seeds and steps from the
// environment: DAWATIK_SESSION_SEEDS ("1-30" or "7") and DAWATIK_SESSION_STEPS; with
// DAWATIK_SESSION_LOG set, every seed's steps are printed, not only a failing one's.

#include "program_session.h"

#include <cstdio>

namespace {

int fromEnvironment(const wchar_t* name, int fallback, int* last = nullptr) {
    wchar_t value[64] = {};
    if (!GetEnvironmentVariableW(name, value, 64))
        return fallback;
    const int first = _wtoi(value);
    if (last) {
        const wchar_t* dash = wcschr(value, L'-');
        *last = dash ? _wtoi(dash + 1) : first;
    }
    return first;
}

} // namespace

TEST(ProgramSession, SeededStepsOverTheWholeProgramFollowTheModel) {
    int last = 3;
    const int first = fromEnvironment(L"DAWATIK_SESSION_SEEDS", 1, &last);
    const int steps = fromEnvironment(L"DAWATIK_SESSION_STEPS", 45);
    const auto began = std::chrono::steady_clock::now();
    e2e::SessionFigures figures;
    int failed = 0;
    for (int seed = first; seed <= last; ++seed) {
        e2e::ProgramSession session(static_cast<unsigned>(seed), figures);
        if (const std::wstring failure = session.run(steps); !failure.empty()) {
            ++failed;
            ADD_FAILURE() << testing::PrintToString(failure);
            std::wprintf(L"%ls\n", failure.c_str());
        } else if (GetEnvironmentVariableW(L"DAWATIK_SESSION_LOG", nullptr, 0)) {
            std::wprintf(L"seed %d:\n%ls\n", seed, session.steps().c_str());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("whole-program session: seeds %d-%d, %d steps each (%d done, %d skipped for "
                "Wine's shaping): %d kills, %d starts, %d restores, %d opens (%d large), %d saves; "
                "%d failed; %.1f s\n",
                first, last, steps, figures.steps, figures.skipped, figures.kills, figures.starts,
                figures.restores, figures.opens, figures.largeOpens, figures.saves, failed,
                seconds);
}

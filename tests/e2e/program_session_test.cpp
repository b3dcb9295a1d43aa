// The whole program in random order, killed at random moments, checked against a model after
// every step. CI runs a few fixed seeds; a longer run takes its seeds and steps from the
// environment: DAWATIK_SESSION_SEEDS ("1-30", "4,5,7") and DAWATIK_SESSION_STEPS; with
// DAWATIK_SESSION_LOG set, every seed's steps are printed, not only a failing one's.

#include "program_session.h"

#include <cstdio>

namespace {

std::wstring fromEnvironment(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[256] = {};
    if (!GetEnvironmentVariableW(name, value, 256))
        return fallback;
    return value;
}

// "4,5,7" or "1-30", or both mixed.
std::vector<int> seedsIn(const std::wstring& list) {
    std::vector<int> seeds;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t comma = std::min(list.find(L',', at), list.size());
        const std::wstring item = list.substr(at, comma - at);
        const std::size_t dash = item.find(L'-');
        const int first = _wtoi(item.c_str());
        const int last = dash == item.npos ? first : _wtoi(item.c_str() + dash + 1);
        for (int seed = first; seed <= last; ++seed)
            seeds.push_back(seed);
        at = comma + 1;
    }
    return seeds;
}

} // namespace

TEST(ProgramSession, SeededStepsOverTheWholeProgramFollowTheModel) {
    // Between them, these seeds load the large document, kill the program after a pause and
    // restore copies.
    const std::wstring seeds = fromEnvironment(L"DAWATIK_SESSION_SEEDS", L"5,7,13");
    const int steps = _wtoi(fromEnvironment(L"DAWATIK_SESSION_STEPS", L"60").c_str());
    const auto began = std::chrono::steady_clock::now();
    e2e::SessionFigures figures;
    int failed = 0;
    for (const int seed : seedsIn(seeds)) {
        const e2e::SessionFigures before = figures;
        const auto seedBegan = std::chrono::steady_clock::now();
        e2e::ProgramSession session(static_cast<unsigned>(seed), figures);
        const std::wstring failure = session.run(steps);
        std::printf(
            "seed %d: %d steps, %d kills (%d after a pause), %d starts, %d restores, "
            "%d large opens, %.1f s\n",
            seed, figures.steps - before.steps, figures.kills - before.kills,
            figures.pausedKills - before.pausedKills, figures.starts - before.starts,
            figures.restores - before.restores, figures.largeOpens - before.largeOpens,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - seedBegan).count());
        if (!failure.empty()) {
            ++failed;
            std::wprintf(L"%ls\n", failure.c_str());
            ADD_FAILURE() << "seed " << seed << " did not follow the model: its steps are above";
        } else if (GetEnvironmentVariableW(L"DAWATIK_SESSION_LOG", nullptr, 0)) {
            std::wprintf(L"seed %d:\n%ls\n", seed, session.steps().c_str());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("whole-program session: seeds %ls, %d steps each (%d done, %d skipped for "
                "Wine's shaping): %d kills (%d after a pause), %d starts, %d restores, %d opens "
                "(%d large), %d saves; "
                "%d failed; %.1f s\n",
                seeds.c_str(), steps, figures.steps, figures.skipped, figures.kills,
                figures.pausedKills, figures.starts, figures.restores, figures.opens,
                figures.largeOpens, figures.saves, failed, seconds);
}

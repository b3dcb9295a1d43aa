// Choosing from the menu bar with the mouse. Wine 8 keeps a menu's items inside its process, so
// where its titles and items stand is read from the screen: each is a run of ink on the menu's
// background, and a separator a line too thin to be text.

#include "driver.h"
#include "picture.h"

namespace e2e {

namespace {

struct Run {
    int from;
    int to; // past the last
    int middle() const { return (from + to) / 2; }
};

// The runs of positions whose ink is not zero, joined over gaps of up to `gap`, of more than
// `thinnest` positions.
std::vector<Run> inkRuns(const std::vector<int>& ink, int gap, int thinnest) {
    std::vector<Run> runs;
    for (int i = 0; i < static_cast<int>(ink.size()); ++i) {
        if (ink[static_cast<std::size_t>(i)] == 0)
            continue;
        if (!runs.empty() && i - runs.back().to <= gap)
            runs.back().to = i + 1;
        else
            runs.push_back({i, i + 1});
    }
    std::erase_if(runs, [&](const Run& run) { return run.to - run.from <= thinnest; });
    return runs;
}

// How many pixels of each column (`columns`) or row differ from the background, inside a
// margin that leaves out the edges a menu draws around itself.
std::vector<int> inkOf(const Picture& picture, bool columns, int margin) {
    const COLORREF background = picture.background();
    std::vector<int> ink(static_cast<std::size_t>(columns ? picture.width : picture.height));
    for (int y = margin; y < picture.height - margin; ++y) {
        for (int x = margin; x < picture.width - margin; ++x) {
            if (picture.at(x, y) != background)
                ++ink[static_cast<std::size_t>(columns ? x : y)];
        }
    }
    return ink;
}

} // namespace

std::wstring Program::chooseWithMouse(int barItem, const std::vector<int>& rows,
                                      const std::vector<int>& counts) const {
    toFront();
    // The menu bar lies right above the client area.
    RECT client{};
    GetClientRect(main_, &client);
    MapWindowPoints(main_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int barHeight = GetSystemMetrics(SM_CYMENU);
    const Picture bar =
        Picture::ofScreen({client.left, client.top - barHeight, client.right, client.top});
    // Letters stand a pixel or two apart, titles several.
    const std::vector<Run> titles = inkRuns(inkOf(bar, true, 2), 5, 2);
    if (static_cast<int>(titles.size()) <= barItem)
        return L"the menu bar shows " + std::to_wstring(titles.size()) + L" titles";
    clickAt({client.left + titles[static_cast<std::size_t>(barItem)].middle(),
             client.top - barHeight / 2});
    std::wstring failure;
    for (std::size_t level = 0; level < rows.size() && failure.empty(); ++level) {
        if (!waitFor([&] { return popupMenus().size() == level + 1; }, 3000)) {
            failure = L"menu " + std::to_wstring(level + 1) + L" did not open";
            break;
        }
        const HWND popup = popupMenus()[level];
        // A separator's line is two pixels high; a row of text is several. A menu that has
        // just opened may not have drawn all of its rows yet.
        Picture picture;
        std::vector<Run> items;
        waitFor(
            [&] {
                picture = Picture::settledClientArea(popup);
                items = inkRuns(inkOf(picture, false, 4), 1, 3);
                return static_cast<int>(items.size()) == counts[level];
            },
            3000);
        if (static_cast<int>(items.size()) != counts[level]) {
            failure = L"menu " + std::to_wstring(level + 1) + L" shows " +
                      std::to_wstring(items.size()) + L" items, not " +
                      std::to_wstring(counts[level]);
            break;
        }
        POINT point{picture.width / 2, items[static_cast<std::size_t>(rows[level])].middle()};
        ClientToScreen(popup, &point);
        clickAt(point);
    }
    if (!failure.empty()) {
        for (int i = 0; i < 4 && inMenu(); ++i) {
            press(VK_ESCAPE);
            Sleep(50);
        }
        return failure;
    }
    if (!waitFor([this] { return popupMenus().empty() && !inMenu(); }, 3000))
        return L"the menu stayed open";
    return {};
}

} // namespace e2e

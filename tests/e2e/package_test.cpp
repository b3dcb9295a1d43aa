// The release package as a user gets it: scripts/package-smoke.sh unpacks the zip into an empty
// folder, names it in DAWATIK_PACKAGE_FOLDER and the version the package is named after in
// DAWATIK_PACKAGE_VERSION; the program is started from that folder as it was unpacked. Without
// them (an ordinary run of the end-to-end tests) the test is skipped.

#include "scenario.h"

#include "support/html_association.h"

#include <cstdint>

using Package = Scenario;

namespace {

std::wstring environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

// A string of the version resource of `program`, in its U.S. English block.
std::wstring versionString(const std::wstring& program, const wchar_t* name) {
    DWORD ignored = 0;
    std::vector<std::uint8_t> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    void* value = nullptr;
    UINT length = 0;
    if (block.empty() ||
        !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueW(block.data(),
                        (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(), &value,
                        &length) ||
        length == 0)
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

} // namespace

TEST_F(Package, StartsFromItsFolderFindsItsManualAndEndsLeavingTheFolderAsItWas) {
    const std::wstring unpacked = environment(L"DAWATIK_PACKAGE_FOLDER");
    const std::wstring version = environment(L"DAWATIK_PACKAGE_VERSION");
    if (unpacked.empty() || version.empty())
        GTEST_SKIP() << "no unpacked package named (DAWATIK_PACKAGE_FOLDER, _VERSION)";
    const std::wstring beside = unpacked + L"\\";
    const std::vector<std::wstring> files = {L"README.txt", L"dawatik.exe", L"readme_en.html"};
    ASSERT_EQ(namesIn(beside), files);

    // One version everywhere: the package's name, the version resource, the window title.
    const std::wstring program = beside + L"dawatik.exe";
    EXPECT_EQ(versionString(program, L"FileDescription"), L"Dawatik " + version);
    EXPECT_EQ(versionString(program, L"FileVersion"), version + L".0.0");

    const std::wstring opened = folder.file(L"opened.html");
    {
        const testing_files::HtmlOpensAsCopy association(opened);
        // Its user's own folders lie elsewhere, as a user's do.
        e2e::Program dawatik(beside, folder.path());
        ASSERT_TRUE(dawatik.started()) << "no window \"Dawatik 1.4\" with its toolbar and fields";
        EXPECT_EQ(dawatik.title(), L"Dawatik " + version);
        EXPECT_TRUE(IsWindowVisible(dawatik.toolbar()));
        EXPECT_EQ(SendMessageW(dawatik.toolbar(), TB_BUTTONCOUNT, 0, 0),
                  static_cast<LRESULT>(app::kToolbarStrip.size()));

        // Help Topics finds the manual beside the program: no "Help file not found", and the
        // shell is handed that file.
        dawatik.clickButton(app::toolbarEntryOf(app::Command::HelpTopics));
        EXPECT_TRUE(waitForFile(opened, testing_files::readBytes(beside + L"readme_en.html")));
        EXPECT_TRUE(dawatik.noDialog());

        ASSERT_TRUE(PostMessageW(dawatik.main(), WM_CLOSE, 0, 0));
        EXPECT_EQ(dawatik.waitForExit(), 0);
    }
    // Nothing was changed, so nothing was written: no Setting.ini, no recovery copy.
    EXPECT_EQ(namesIn(beside), files);
    EXPECT_FALSE(testing_files::exists(e2e::localAppData(folder.path()) + L"Dawatik"));
}

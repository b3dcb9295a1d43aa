#include "app/Unit1.h"
#include "controls/ini_file.h"
#include "controls/path.h"
#include "controls/text.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <string>

using testing_files::readBytes;
using testing_files::TempFolder;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { record = new app::MainWindow(); }
    void TearDown() override {
        record->releaseSettings();
        record->release();
    }
    app::MainWindow::StoredSettings readFrom(const std::string& content) {
        EXPECT_TRUE(testing_files::writeBytes(path, content));
        record->openSettings(path);
        return record->readSettings(L"Arial");
    }
    // The file as text (the tests write new files, which are UTF-16LE after the mark).
    std::wstring fileText() const {
        const std::string bytes = readBytes(path);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2),
                            (bytes.size() - 2) / 2);
    }

    TempFolder folder;
    std::wstring path = folder.file(L"Setting.ini");
    app::MainWindow* record = nullptr;
};

} // namespace

TEST_F(Settings, LiveBesideTheExecutable) {
    EXPECT_EQ(app::MainWindow::settingsFileName(),
              std::wstring(ctl::filePath(ctl::executablePath())) + L"Setting.ini");
}

TEST_F(Settings, MissingFileGivesEveryDefaultAndStaysMissing) {
    record->openSettings(path);
    const auto stored = record->readSettings(L"Traditional Arabic");
    EXPECT_EQ(stored.fontName, L"Traditional Arabic");
    EXPECT_EQ(stored.fontSize, 72);
    EXPECT_EQ(stored.width, 550);
    EXPECT_EQ(stored.height, 380);
    EXPECT_EQ(stored.left, 252);
    EXPECT_EQ(stored.top, 183);
    EXPECT_FALSE(stored.toolbarCentered);
    EXPECT_FALSE(stored.textCentered);
    EXPECT_FALSE(testing_files::exists(path));
}

TEST_F(Settings, StoredValuesAreReadAsTheyStand) {
    auto stored = readFrom("[General]\r\nFontName=Noto Naskh Arabic\r\nFontSize=12pt\r\n"
                           "Width=-5\r\nHeight=abc\r\nLeft=0\r\nTop=9\r\nTextAlign=Center\r\n");
    EXPECT_EQ(stored.fontName, L"Noto Naskh Arabic");
    EXPECT_EQ(stored.fontSize, 12);
    EXPECT_EQ(stored.width, -5);
    EXPECT_EQ(stored.height, 0);
    EXPECT_EQ(stored.left, 0);
    EXPECT_EQ(stored.top, 9);
    EXPECT_TRUE(stored.toolbarCentered);
    EXPECT_TRUE(stored.textCentered);

    // The two reads of TextAlign differ in letter case only.
    stored = readFrom("[General]\r\nTextAlign=center\r\nFontName=\r\n");
    EXPECT_FALSE(stored.toolbarCentered);
    EXPECT_TRUE(stored.textCentered);
    EXPECT_EQ(stored.fontName, L""); // stored empty: the default does not apply
    stored = readFrom("[General]\r\nTextAlign=\r\n");
    EXPECT_FALSE(stored.toolbarCentered);
    EXPECT_FALSE(stored.textCentered);
    stored = readFrom("[General]\r\nTextAlign=CENTER\r\n");
    EXPECT_FALSE(stored.toolbarCentered);
    EXPECT_TRUE(stored.textCentered);
}

TEST_F(Settings, EachChangeWritesItsKeysBetweenStartUpAndRelease) {
    record->openSettings(path);
    // Still reading: a handler that runs while start-up applies the values writes nothing.
    record->writeWindowPosition(1, 2);
    EXPECT_FALSE(testing_files::exists(path));

    record->startWritingSettings();
    record->writeWindowPosition(10, 20);
    EXPECT_EQ(fileText(), L"[General]\r\nLeft=10\r\nTop=20\r\n");
    record->writeWindowBounds(600, 400, -8, 30);
    EXPECT_EQ(fileText(), L"[General]\r\nLeft=-8\r\nTop=30\r\nHeight=400\r\nWidth=600\r\n");

    record->writeFontName(L"\x062E\x0637 \x0646\x0633\x062E");
    record->writeFontSize(L"26px");
    record->writeTextAlign(true);
    const std::wstring text = fileText();
    EXPECT_NE(text.find(L"FontName=\x062E\x0637 \x0646\x0633\x062E\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"FontSize=26px\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"TextAlign=Center\r\n"), std::wstring::npos);
    record->writeTextAlign(false);

    record->releaseSettings();
    record->writeTextAlign(true); // released: nothing is written any more
    EXPECT_NE(fileText().find(L"TextAlign=Right\r\n"), std::wstring::npos);

    record->openSettings(path);
    const auto stored = record->readSettings(L"Arial");
    EXPECT_EQ(stored.fontName, L"\x062E\x0637 \x0646\x0633\x062E");
    EXPECT_EQ(stored.fontSize, 26);
    EXPECT_EQ(stored.left, -8);
}

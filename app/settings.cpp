// The settings of Setting.ini: read once at start-up, then written piecemeal as they change.

#include "app/Unit1.h"

#include "controls/ini_file.h"
#include "controls/path.h"
#include "controls/text.h"

#include <utility>

namespace app {

namespace {

constexpr int kDefaultFontSize = 72;
constexpr int kDefaultWidth = 550;
constexpr int kDefaultHeight = 380;
constexpr int kDefaultLeft = 252;
constexpr int kDefaultTop = 183;

// Lowers A to Z only: the stored value is compared the same way whatever the locale.
std::wstring lowerAsciiLetters(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

} // namespace

std::wstring MainWindow::settingsFileName() {
    return std::wstring(ctl::filePath(ctl::executablePath())) + L"Setting.ini";
}

void MainWindow::openSettings(std::wstring_view fileName) {
    releaseSettings();
    settings = ctl::newIniFile(fileName);
    settings->section = L"General";
}

MainWindow::StoredSettings MainWindow::readSettings(std::wstring_view defaultFontName) {
    StoredSettings stored{};
    stored.fontName = settings->readString(L"FontName", defaultFontName);
    stored.fontSize = settings->readInteger(L"FontSize", kDefaultFontSize);
    stored.width = settings->readInteger(L"Width", kDefaultWidth);
    stored.height = settings->readInteger(L"Height", kDefaultHeight);
    stored.left = settings->readInteger(L"Left", kDefaultLeft);
    stored.top = settings->readInteger(L"Top", kDefaultTop);
    stored.toolbarCentered = settings->readString(L"TextAlign", L"Right") == L"Center";
    stored.textCentered =
        lowerAsciiLetters(settings->readString(L"TextAlign", L"right")) == L"center";
    return stored;
}

void MainWindow::startWritingSettings() {
    writingSettings = settings != nullptr;
}

void MainWindow::writeWindowBounds(int width, int height, int left, int top) {
    if (!writingSettings)
        return;
    settings->writeInteger(L"Height", height);
    settings->writeInteger(L"Width", width);
    settings->writeInteger(L"Left", left);
    settings->writeInteger(L"Top", top);
}

void MainWindow::writeWindowPosition(int left, int top) {
    if (!writingSettings)
        return;
    settings->writeInteger(L"Left", left);
    settings->writeInteger(L"Top", top);
}

void MainWindow::writeFontName(std::wstring_view fontName) {
    if (writingSettings)
        settings->writeString(L"FontName", fontName);
}

void MainWindow::writeFontSize(std::wstring_view sizeText) {
    if (writingSettings)
        settings->writeString(L"FontSize", sizeText);
}

void MainWindow::writeTextAlign(bool centered) {
    if (writingSettings)
        settings->writeString(L"TextAlign", centered ? L"Center" : L"Right");
}

void MainWindow::releaseSettings() {
    writingSettings = false;
    if (settings)
        std::exchange(settings, nullptr)->release();
}

} // namespace app

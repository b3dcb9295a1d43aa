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
    stored.fontName = settings->valueString(L"FontName", defaultFontName);
    stored.fontSize = settings->valueInteger(L"FontSize", kDefaultFontSize);
    stored.width = settings->valueInteger(L"Width", kDefaultWidth);
    stored.height = settings->valueInteger(L"Height", kDefaultHeight);
    stored.left = settings->valueInteger(L"Left", kDefaultLeft);
    stored.top = settings->valueInteger(L"Top", kDefaultTop);
    stored.toolbarCentered = settings->valueString(L"TextAlign", L"Right") == L"Center";
    stored.textCentered =
        lowerAsciiLetters(settings->valueString(L"TextAlign", L"right")) == L"center";
    return stored;
}

void MainWindow::startWritingSettings() {
    if (settings)
        settings->writeMode = true;
}

void MainWindow::writeWindowBounds(int width, int height, int left, int top) {
    if (!settings)
        return;
    settings->valueInteger(L"Height", height);
    settings->valueInteger(L"Width", width);
    settings->valueInteger(L"Left", left);
    settings->valueInteger(L"Top", top);
}

void MainWindow::writeWindowPosition(int left, int top) {
    if (!settings)
        return;
    settings->valueInteger(L"Left", left);
    settings->valueInteger(L"Top", top);
}

void MainWindow::writeFontName(std::wstring_view fontName) {
    if (settings)
        settings->valueString(L"FontName", fontName);
}

void MainWindow::writeFontSize(std::wstring_view sizeText) {
    if (settings)
        settings->valueString(L"FontSize", sizeText);
}

void MainWindow::writeTextAlign(bool centered) {
    if (settings)
        settings->valueString(L"TextAlign", centered ? L"Center" : L"Right");
}

void MainWindow::releaseSettings() {
    if (settings)
        std::exchange(settings, nullptr)->release();
}

} // namespace app

// View commands: the edit field's font family and height from the two boxes and the Text Size
// items, and the alignment of its lines, with menu and toolbar kept in step.

#include "app/Unit1.h"
#include "app/command_table.h"

#include "controls/font.h"
#include "controls/menu.h"
#include "controls/text.h"
#include "controls/toolbar.h"

#include <algorithm>
#include <limits>

namespace app {

namespace {

constexpr LONG kNormalHeight = 26;
constexpr LONG kHeightStep = 2;

} // namespace

void MainWindow::onFontNameChanged() {
    const std::wstring face = fontNameBox->text();
    editField->font().setFaceName(face);
    writeFontName(face);
}

void MainWindow::onFontSizeChanged() {
    // The box's text is stored as typed ("12pt" too); its leading number is the height.
    const std::wstring text = fontSizeBox->text();
    editField->font().setHeight(ctl::integerFromText(text));
    writeFontSize(text);
}

void MainWindow::increaseCommand() {
    stepHeight(kHeightStep);
}
void MainWindow::decreaseCommand() {
    stepHeight(-kHeightStep);
}

void MainWindow::stepHeight(LONG step) {
    // Steps from the font's height, not from the box, and has no bounds but the type's: 2, 0,
    // -2, ...; a step past the largest or the smallest height stays there.
    const LONG height = static_cast<LONG>(
        std::clamp<long long>(static_cast<long long>(editField->font().height()) + step,
                              std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
    editField->font().setHeight(height);
    fontSizeBox->setText(ctl::decimalText(height));
    writeFontSize(fontSizeBox->text());
}

void MainWindow::normalCommand() {
    // For the moment only: the stored size stays what the user chose last.
    fontSizeBox->setText(ctl::decimalText(kNormalHeight));
    editField->font().setHeight(kNormalHeight);
}

void MainWindow::rightCommand() {
    align(false);
}
void MainWindow::centerCommand() {
    align(true);
}

void MainWindow::align(bool centered) {
    editField->setTextAlign(centered ? ctl::TextAlign::Center : ctl::TextAlign::Right);
    writeTextAlign(centered);
    mainMenu->setChecked(menuItemOf(Command::Right), !centered);
    mainMenu->setChecked(menuItemOf(Command::Center), centered);
    toolbar->setButtonState(TB_CHECKBUTTON, toolbarEntryOf(Command::Right), !centered);
    toolbar->setButtonState(TB_CHECKBUTTON, toolbarEntryOf(Command::Center), centered);
}

} // namespace app

// The main window: its construction, the initialisation that applies the settings, and the
// recorders that keep the window's bounds in the settings file.

#include "app/Unit1.h"

#include "app/command_table.h"
#include "app/font_families.h"
#include "app/recovery.h"
#include "app/version.h"
#include "controls/application.h"
#include "controls/combo_box.h"
#include "controls/edit.h"
#include "controls/file_dialog.h"
#include "controls/font.h"
#include "controls/form.h"
#include "controls/image_list.h"
#include "controls/items.h"
#include "controls/menu.h"
#include "controls/status_bar.h"
#include "controls/surface.h"
#include "controls/text.h"
#include "controls/toolbar.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace app {

MainWindow* FMain = nullptr;

namespace {

constexpr std::wstring_view kTitle = L"" DAWATIK_NAME_AND_VERSION;
constexpr std::wstring_view kStatusGreeting = L" " DAWATIK_NAME_AND_VERSION;
constexpr std::array<std::wstring_view, 12> kFontSizes = {L"12", L"16", L"18", L"22", L"26", L"28",
                                                          L"32", L"36", L"40", L"48", L"52", L"72"};

} // namespace

void MainWindow::destroy() {
    // A record freed without a close (the window destroyed from outside) still lets its file go.
    releaseSettings();
    Object::destroy();
    if (FMain == this)
        FMain = nullptr;
}

void createMainWindow(MainWindow*& variable) {
    auto* record = new MainWindow();
    variable = record;

    ctl::Form* form = ctl::newForm(nullptr, L"FMain");
    ctl::application().form = form;
    form->own(*record);
    record->mainWindow = form;

    form->font().setHeight(14);
    form->font().setFaceName(L"Arial");
    form->setGap(0);
    form->setOnClose([record](ctl::Control& sender, bool& mayClose) {
        record->onCloseRequest(sender, mayClose);
    });
    form->setOnResize([record](ctl::Control&) { record->recordBounds(); });
    form->setOnMove([record](ctl::Control&) { record->recordPosition(); });

    record->mainMenu = ctl::newMenu(form, kMainMenuTemplate);
    wireMenu(*record);

    record->imageList = ctl::newImageList(*form);
    record->imageList->setImageWidth(16);
    record->imageList->setImageHeight(16);
    record->imageList->setColorDepth(6);
    record->imageList->addMasked(
        ctl::loadBitmapResource(ctl::moduleInstance(), L"FMAIN_IMAGELIST1", *record->imageList), 0);

    record->fileDialog = ctl::newFileDialog(*form, L"", L"", ctl::dialogopt::kDefault);
    record->fileDialog->filter = L"Text Files|*.txt|All Files|*.*";

    record->editPanel = ctl::newPanel(*form, ctl::EdgeStyle::None);
    record->editPanel->setAlign(ctl::Align::Client);
    record->editPanel->setGap(1);
    record->editPanel->setBackgroundColor(ctl::kButtonShadowColor);

    record->editField = ctl::newEdit(*record->editPanel, ctl::editopt::kNoHorizontalScroll |
                                                             ctl::editopt::kMultiLine |
                                                             ctl::editopt::kSpaceDelimitedWords);
    record->editField->setAlign(ctl::Align::Client);
    record->editField->setBorder(false);
    record->editField->font().setHeight(22);
    record->editField->setBackgroundColor(ctl::kWindowColor);

    record->toolPanel = ctl::newPanel(*form, ctl::EdgeStyle::None);
    record->toolPanel->setAlign(ctl::Align::Top);
    record->toolPanel->setHeight(26);
    record->toolPanel->setGap(0);

    record->fontNameBox = ctl::newComboBox(
        *record->toolPanel,
        ctl::comboopt::kDropDownList | ctl::comboopt::kNoIntegralHeight | ctl::comboopt::kSorted);
    record->fontNameBox->setPosition(339, 2);
    record->fontNameBox->setWidth(134);
    record->fontNameBox->setBackgroundColor(ctl::kWindowColor);

    record->fontSizeBox = ctl::newComboBox(*record->toolPanel, ctl::comboopt::kNoIntegralHeight);
    record->fontSizeBox->setPosition(474, 2);
    record->fontSizeBox->setWidth(57);
    record->fontSizeBox->setBackgroundColor(ctl::kWindowColor);
    for (std::wstring_view size : kFontSizes)
        ctl::addItem(*record->fontSizeBox, size);
    ctl::setCurrentIndex(*record->fontSizeBox, 0);

    record->toolbar = ctl::newToolbar(*record->toolPanel, ctl::Align::None,
                                      ctl::tbopt::kTextRight | ctl::tbopt::kFlat, nullptr,
                                      kToolbarTemplate, kToolbarImages);
    record->toolbar->setPosition(2, 2);
    record->toolbar->setHeight(23);
    wireToolbar(*record, *record->toolbar);

    record->fontNameBox->setOnChange([record](ctl::Control&) { record->onFontNameChanged(); });
    record->editField->setOnKeyDown(
        [record](ctl::Control& sender, ctl::KeyCode& key, ctl::ShiftState shift) {
            record->onKeyPressed(sender, key, shift);
        });
    record->editField->setOnKeyUp(
        [record](ctl::Control& sender, ctl::KeyCode& key, ctl::ShiftState shift) {
            record->onKeyReleased(sender, key, shift);
        });
    record->editField->setOnChar(
        [record](ctl::Control& sender, wchar_t& character, ctl::ShiftState shift) {
            record->onCharTyped(sender, character, shift);
        });
    record->editField->setOnChange(
        [record](ctl::Control& sender) { record->onTextChanged(sender); });
    record->fontSizeBox->setOnChange([record](ctl::Control&) { record->onFontSizeChanged(); });

    record->document.showIn({form, record->editField, record->fileDialog});
    record->document.onLoaded = [record] { record->loadEnded(); };
    record->fileDialog->ownerWindow = form->ensureHandle();
    form->centerOnParent();
    record->initialise();
}

void MainWindow::initialise() {
    const FamilySet families = fontFamilies(fontNameBox->surface().dc());
    fontNameBox->releaseSurface();
    for (const std::wstring& face : families)
        ctl::addItem(*fontNameBox, face);
    const bool haveTraditional = ctl::findItem(*fontNameBox, L"Traditional Arabic") >= 0;
    openSettings(settingsFileName());
    const StoredSettings stored = readSettings(haveTraditional ? L"Traditional Arabic" : L"Arial");

    ctl::setCurrentIndex(*fontNameBox, ctl::findItem(*fontNameBox, stored.fontName));
    fontSizeBox->setText(ctl::decimalText(stored.fontSize));

    mainWindow->setWidth(stored.width);
    mainWindow->setHeight(stored.height);
    mainWindow->setLeft(stored.left);
    mainWindow->setTop(stored.top);

    if (stored.toolbarCentered) {
        toolbar->setButtonState(TB_CHECKBUTTON, toolbarEntryOf(Command::Center), true);
        toolbar->setButtonState(TB_CHECKBUTTON, toolbarEntryOf(Command::Right), false);
    }
    if (stored.textCentered) {
        editField->setTextAlign(ctl::TextAlign::Center);
        mainMenu->setChecked(menuItemOf(Command::Center), true);
        mainMenu->setChecked(menuItemOf(Command::Right), false);
    } else {
        editField->setTextAlign(ctl::TextAlign::Right);
    }

    ctl::Font& font = editField->font();
    font.setFaceName(fontNameBox->text());
    font.setHeight(ctl::integerFromText(fontSizeBox->text()));

    startWritingSettings();
    mainWindow->setText(kTitle);
    ctl::setStatusText(*mainWindow, 0, kStatusGreeting);
    // The status bar came out of the client area: the window keeps the outer size it was saved
    // with.
    mainWindow->setWidth(stored.width);
    mainWindow->setHeight(stored.height);
    editField->setExStyle(editField->exStyle() | WS_EX_RTLREADING | WS_EX_RIGHT);
    // Showing the window raises size and move events of bounds that are already stored.
    RECT r{};
    GetWindowRect(mainWindow->handle(), &r);
    recordedBounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::optional<MainWindow::Bounds> MainWindow::recordableBounds() const {
    // Nothing is written during start-up (hidden), after the settings are released, for a
    // minimised window, whose parked position would open the next start off every screen, or for
    // a maximised one: the next start gets the bounds the window is restored to.
    HWND window = mainWindow->handle();
    if (!settings || !mainWindow->visible() || IsIconic(window) || IsZoomed(window))
        return std::nullopt;
    RECT r{};
    if (!GetWindowRect(window, &r))
        return std::nullopt;
    return Bounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MainWindow::recordBounds() {
    const std::optional<Bounds> now = recordableBounds();
    if (!now || (now->width == recordedBounds_.width && now->height == recordedBounds_.height))
        return;
    recordedBounds_ = *now;
    writeWindowBounds(now->width, now->height, now->left, now->top);
}

void MainWindow::recordPosition() {
    const std::optional<Bounds> now = recordableBounds();
    if (!now || (now->left == recordedBounds_.left && now->top == recordedBounds_.top))
        return;
    // A move that comes with a resize leaves the new size for the size event to write.
    recordedBounds_.left = now->left;
    recordedBounds_.top = now->top;
    writeWindowPosition(now->left, now->top);
}

int runProgram() {
    createMainWindow(FMain);
    // Without a thread for it the program still runs, only without recovery copies.
    std::optional<Recovery> recovery;
    try {
        recovery.emplace(*FMain->mainWindow, FMain->document, Recovery::userFolder());
        FMain->document.recovery = &*recovery;
        recovery->offerLeftCopies();
    } catch (const std::system_error&) {
    }
    ctl::run(FMain->mainWindow);
    return 0;
}

} // namespace app

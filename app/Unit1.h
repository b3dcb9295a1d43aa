#pragma once
// The main window record: the one object through which the editor reaches the main window, its
// controls, the file dialog, the settings and the document and keyboard state. Its operations
// live in files by concern: documents.cpp, settings.cpp, keyboard.cpp, view_commands.cpp,
// commands.cpp and Unit1.cpp (construction and start-up).

#include "app/document.h"
#include "app/waiting_input.h"
#include "controls/control.h"
#include "controls/object.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ctl {
class FileDialog;
class Form;
class ImageList;
class IniFile;
class Menu;
class Toolbar;
} // namespace ctl

namespace app {

enum class Command;

class MainWindow : public ctl::Object {
public:
    // ---- the window and its controls (created in this order)
    ctl::Form* mainWindow = nullptr;
    ctl::Menu* mainMenu = nullptr;
    ctl::Control* editPanel = nullptr;
    ctl::Control* editField = nullptr;
    ctl::FileDialog* fileDialog = nullptr;
    ctl::Toolbar* toolbar = nullptr;
    ctl::ImageList* imageList = nullptr;
    ctl::Control* toolPanel = nullptr;
    ctl::Control* fontNameBox = nullptr;
    ctl::Control* fontSizeBox = nullptr;

    // ---- keyboard map state: the last character typed into the edit field, as typed
    std::uint16_t previousKey = 0;

    // ---- the document in the edit field, and what waits while it arrives
    Document document;
    WaitingInput waiting{document};

    // ---- settings: the open settings file, released when the main window may close; read
    // at start-up, written only from the end of start-up on
    ctl::IniFile* settings = nullptr;
    bool writingSettings = false;

    // ---- file commands (documents.cpp)
    void newCommand();
    void openCommand();
    void saveCommand();
    void saveAsCommand();
    void exitCommand();
    // The main window's onClose and the edit field's onChange.
    void onCloseRequest(ctl::Control& sender, bool& mayClose);
    void onTextChanged(ctl::Control& sender);

    // ---- settings (settings.cpp)
    // Setting.ini beside the executable, section General. Start-up opens it, reads every value
    // at once as one value, applies them before writing starts (so the handlers it triggers
    // write nothing), then starts writing; from then on each handler writes the value the user
    // changed. The close handler releases it.
    struct StoredSettings {
        std::wstring fontName;
        int fontSize;
        int width, height, left, top;
        // The first read of TextAlign: exactly "Center" puts the toolbar's centre button down.
        bool toolbarCentered;
        // The second read: "center" in any letter case centres the text and checks the menu.
        bool textCentered;
    };
    static std::wstring settingsFileName();
    // Opens the settings; reading never creates the file.
    void openSettings(std::wstring_view fileName);
    // Reads the keys in their order; `defaultFontName` is "Traditional Arabic" when the font
    // list holds it, else "Arial".
    StoredSettings readSettings(std::wstring_view defaultFontName);
    void startWritingSettings();
    // Height, Width, Left and Top, in that order (the window was resized).
    void writeWindowBounds(int width, int height, int left, int top);
    // Left and Top (the window was moved).
    void writeWindowPosition(int left, int top);
    void writeFontName(std::wstring_view fontName);
    // The font-size box's text as typed.
    void writeFontSize(std::wstring_view sizeText);
    // "Center" or "Right".
    void writeTextAlign(bool centered);
    void releaseSettings();

    // ---- keyboard map (keyboard.cpp): the edit field's onChar, onKeyDown and onKeyUp. While
    // a file is still arriving, typed characters and the keys that edit wait for it.
    void onCharTyped(ctl::Control& sender, wchar_t& character, ctl::ShiftState shift);
    void onKeyPressed(ctl::Control& sender, ctl::KeyCode& key, ctl::ShiftState shift);
    void onKeyReleased(ctl::Control& sender, ctl::KeyCode& key, ctl::ShiftState shift);

    // ---- view (view_commands.cpp)
    void onFontNameChanged();
    void onFontSizeChanged();
    void increaseCommand();
    void decreaseCommand();
    void normalCommand();
    void rightCommand();
    void centerCommand();

    // ---- commands (commands.cpp): what a menu item, its shortcut or its toolbar button runs.
    // While a file is still arriving, those that change the text or the file wait for it.
    void run(Command command);
    // The file has arrived: what waited for it is done now, in the order the user asked.
    void loadEnded();
    void undoCommand();
    void cutCommand();
    void copyCommand();
    void pasteCommand();
    void deleteCommand();
    void selectAllCommand();

    // ---- help (help.cpp)
    void helpCommand();
    void aboutCommand();

    // ---- start-up and bounds (Unit1.cpp)
    // Fills the font list and applies the stored settings to the hidden window.
    void initialise();
    // The main window's onResize and onMove: its bounds go to the settings file.
    void recordBounds();
    void recordPosition();

protected:
    void destroy() override;

private:
    // The outer bounds of the main window as a recorder last knew them (applied at start-up or
    // written since), so that events that change nothing write nothing.
    struct Bounds {
        int left, top, width, height;
    };
    // The window's bounds when the recorders may write them: visible, neither minimised nor
    // maximised, and the settings still open.
    std::optional<Bounds> recordableBounds() const;
    // Where Cut and Copy act: the font-size box while the user edits its text, else the
    // document.
    ctl::Control& clipboardTarget();
    void stepHeight(LONG step);
    void align(bool centered);

    bool waitsForLoad(Command command);

    Bounds recordedBounds_{};
};

// The one main window record; null before start-up and after the main window is gone.
extern MainWindow* FMain;

// Give each menu item its command and shortcut, and each toolbar button its command and tip.
void wireMenu(MainWindow& window);
void wireToolbar(MainWindow& window, ctl::Toolbar& toolbar);

// Builds the main window with all its controls (hidden), wires the commands, applies the
// settings, and stores the record in `variable`.
void createMainWindow(MainWindow*& variable);
// The program: the main window until it is closed.
int runProgram();

} // namespace app

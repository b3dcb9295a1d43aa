#pragma once
// A stand-in for the main window: a shown form with a real multi-line edit field, a status bar
// and the file dialog, wired to a main window record the way start-up wires the real one.

#include "app/Unit1.h"
#include "controls/application.h"
#include "controls/edit.h"
#include "controls/file_dialog.h"
#include "controls/status_bar.h"
#include "support/dialogs.h"
#include "support/files.h"
#include "support/gui.h"

#include <gtest/gtest.h>

#include <string>

class DocumentWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As while the program runs: the main window may refuse to close.
        ctl::application().form = form.get();
        ctl::application().running = true;
        edit = ctl::newEdit(*form, ctl::editopt::kMultiLine | ctl::editopt::kNoHorizontalScroll);
        edit->setAlign(ctl::Align::Client);
        record = new app::MainWindow();
        record->mainWindow = form.get();
        record->editField = edit;
        record->fileDialog = ctl::newFileDialog(*form, L"", L"", 0);
        record->fileDialog->filter = L"Text Files|*.txt|All Files|*.*";
        record->fileDialog->initialDirectory = folder.path();
        record->document.showIn({form.get(), edit, record->fileDialog});
        record->document.onLoaded = [this] { record->loadEnded(); };
        edit->assignEvents().onChange = [this](ctl::Control& sender) {
            record->onTextChanged(sender);
        };
        form->setOnClose(ctl::EventSlot<void(ctl::Control&, bool&)>(
            [this](ctl::Control& sender, bool& mayClose) {
                record->onCloseRequest(sender, mayClose);
            }));
        app::FMain = record;
        form->setSize(550, 380);
        ctl::showForm(*form);
        ctl::setStatusText(*form, 0, L" Dawatik 1.4");
        testing_gui::pump();
    }

    void TearDown() override {
        app::FMain = nullptr;
        record->releaseSettings();
        record->release();
        ctl::application().form = nullptr;
        ctl::application().running = false;
        ctl::application().terminated = false;
        testing_gui::pump(); // drops a quit message a closing test left behind
    }

    // Types at the end of the text, as a paste would.
    void type(const std::wstring& text) {
        const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit->handle()));
        edit->sendMessage(EM_SETSEL, end, static_cast<LPARAM>(end));
        edit->sendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::wstring text() const { return testing_gui::windowText(edit->handle()); }
    std::wstring status() const { return ctl::statusText(*form, 0); }
    // Writes a file into the test folder and answers its path.
    std::wstring file(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = folder.file(name);
        EXPECT_TRUE(testing_files::writeBytes(path, bytes));
        return path;
    }
    std::string bytesOf(const std::wstring& path) const { return testing_files::readBytes(path); }

    // Opens `path` through the Open command, answering its file dialog.
    void open(const std::wstring& path) {
        testing_gui::DialogDriver dialogs;
        dialogs.type(path);
        record->openCommand();
        EXPECT_EQ(dialogs.finish().size(), 1u);
    }

    testing_gui::ScopedForm form{L"Dawatik 1.4"};
    ctl::Control* edit = nullptr;
    app::MainWindow* record = nullptr;
    testing_files::TempFolder folder;
};

using testing_gui::DialogDriver;

inline const std::wstring kChanged = L"The text has changed\r\nDo you want to save the changes ?";

using testing_files::marked;
using testing_files::utf16;

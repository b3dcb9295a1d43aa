#pragma once
// The document: the text in the main window's edit field, the file it belongs to, whether it has
// changes the file lacks, and its recovery copy. Documents are UTF-16LE files behind the mark
// FF FE. Every failure is told to the user here; the results say what happened.

#include "controls/event_slot.h"
#include "controls/timer.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace ctl {
class Control;
class FileDialog;
class Form;
} // namespace ctl

namespace app {

class Recovery;

class Document {
public:
    // What the document uses of the window it is shown in, lent for the window's lifetime: the
    // form (its status bar shows the path), the edit field holding the text, and the file
    // dialog.
    struct Window {
        ctl::Form* form = nullptr;
        ctl::Control* editField = nullptr;
        ctl::FileDialog* fileDialog = nullptr;
    };
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Given once the window's controls exist, before the document is used.
    void showIn(const Window& window);

    // Path of the file the document was loaded from or last saved to; empty: untitled.
    const std::wstring& fileName() const noexcept { return fileName_; }
    bool modified() const noexcept { return modified_; }

    // What became of unsaved changes when asked about them.
    enum class Choice {
        Cancel,    // keep them, and stop what asked
        Saved,     // they are in a file
        NotNeeded, // nothing to save, or the user chose not to
    };
    // The unsaved-changes question, and the save it may lead to.
    Choice askToSaveChanges();

    // An empty, untitled document.
    void clear();
    // Loads the file as the document; on false the document is as it was. A document of more
    // than a screenful arrives in slices from the message loop: until `loading` turns false
    // the text can be read and scrolled, and the window answers. When it ends `onLoaded` is
    // raised, so that what the user asked for meanwhile is done.
    bool open(const std::wstring& path);
    bool loading() const noexcept { return load_ != nullptr; }
    // Drops the rest of a file still arriving: the window is closing.
    void stopLoading();
    // Saves to the document's file, or asks for a name first; false when nothing was saved.
    bool save();
    // Asks for a name and saves there; false when nothing was saved.
    bool saveAs();
    // Writes the text as a document file at `path`, which keeps its old content on failure.
    // True when the whole document reached the disk.
    bool write(const std::wstring& path) const;
    // Text left by a program that did not end: back as unsaved changes to `fileName`.
    void restore(const std::wstring& text, const std::wstring& fileName);

    // The text in the edit field, fetched once.
    std::wstring text() const;

    // The edit field reports a change of its text.
    void changed();

    // The whole of a file that arrived in slices is in the field.
    ctl::EventSlot<void()> onLoaded;

    // Keeps the unsaved text safe; only the program proper has one.
    Recovery* recovery = nullptr;

private:
    struct Load;
    void startLoading(std::unique_ptr<Load> load);
    // Puts slices into the field for about one step's time, or until the user wants the loop.
    void loadStep();
    // One slice of about `wanted` units; false when the field did not take it.
    bool putSlice(std::size_t wanted);
    void showProgress();
    void endLoading();
    // The field refused a slice: nothing of the file stays.
    void failLoading();

    // The text matches its file, or was discarded: no copy is kept.
    void markUnmodified();
    enum class Saving { Cancelled, Failed, Saved };
    Saving saveUnderChosenName();

    Window window_;
    std::wstring fileName_;
    bool modified_ = false;
    // The question and the save it leads to hold the window, but a close can still be posted to
    // it (by the platform's task list, say): it must not ask again over the first question.
    bool asking_ = false;
    // The file still arriving, if any; and whether a change the field reports is one of its
    // slices rather than the user's.
    std::unique_ptr<Load> load_;
    bool puttingSlice_ = false;
    // Puts the slices in from the loop; made with the window.
    std::optional<ctl::Timer> loadTimer_;
};

} // namespace app

// Open of a document whose paragraphs run to thousands of code units: the field lays a paragraph
// out in a time that grows with the square of its length, so such a document arrives in parts
// however short it is, and ends as one setting of the whole text would leave the field.

#include "document_window.h"

#include <vector>

namespace {

class DocumentLoading : public DocumentWindowTest {
protected:
    static std::vector<LRESULT> lineStarts(HWND field) {
        std::vector<LRESULT> starts;
        const LRESULT lines = SendMessageW(field, EM_GETLINECOUNT, 0, 0);
        for (LRESULT line = 0; line < lines; ++line)
            starts.push_back(SendMessageW(field, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        return starts;
    }

    // A field made like the document's, beside it, given `text` at once.
    HWND fieldGiven(const std::wstring& text) {
        HWND model = edit->handle();
        RECT r{};
        GetWindowRect(model, &r);
        MapWindowPoints(nullptr, form->handle(), reinterpret_cast<POINT*>(&r), 2);
        HWND field = CreateWindowExW(
            static_cast<DWORD>(GetWindowLongW(model, GWL_EXSTYLE)), L"EDIT", L"",
            static_cast<DWORD>(GetWindowLongW(model, GWL_STYLE)), r.left, r.top, r.right - r.left,
            r.bottom - r.top, form->handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(field, WM_SETFONT, SendMessageW(model, WM_GETFONT, 0, 0), FALSE);
        SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return field;
    }

    void waitForTheLoad() {
        for (int turn = 0; record->document.loading() && turn < 600000; ++turn) {
            testing_gui::pump();
            Sleep(1);
        }
    }
};

std::wstring paragraph(std::size_t units) {
    const std::wstring words[] = {L"\x0643\x062A\x0628", L"\x0633\x0644\x0627\x0645", L"peace"};
    std::wstring text;
    for (std::size_t word = 0; text.size() < units; ++word)
        text += words[word % 3] + L' ';
    return text + L"\r\n";
}

} // namespace

TEST_F(DocumentLoading, LongParagraphsGoInPartsAndEndAsOneSettingOfTheText) {
    // Fewer units than a document of short lines may hold to go in at once.
    const std::wstring text = paragraph(5000) + L"short\r\n" + paragraph(2500);
    ASSERT_LT(text.size(), 8192u);
    const std::wstring path = file(L"paragraphs.txt", marked(text));
    open(path);
    ASSERT_TRUE(record->document.loading()) << "the document went in at once";
    EXPECT_LT(static_cast<std::size_t>(GetWindowTextLengthW(edit->handle())), text.size());
    EXPECT_TRUE(status().starts_with(L" Opening \x2026 ")) << testing::PrintToString(status());
    EXPECT_TRUE(status().ends_with(L", laying out a long paragraph"));

    waitForTheLoad();
    ASSERT_FALSE(record->document.loading());
    EXPECT_TRUE(this->text() == text);
    EXPECT_EQ(status(), L" " + path);
    // Where one setting leaves the user: at the start, nothing to undo, nothing changed.
    EXPECT_EQ(testing_gui::selection(edit->handle()), std::make_pair(DWORD{0}, DWORD{0}));
    EXPECT_EQ(edit->sendMessage(EM_GETFIRSTVISIBLELINE), 0);
    EXPECT_FALSE(edit->sendMessage(EM_CANUNDO));
    EXPECT_FALSE(record->document.modified());
    // The lines wrap where they would after one setting of the whole text.
    HWND once = fieldGiven(text);
    const std::vector<LRESULT> starts = lineStarts(edit->handle());
    EXPECT_GT(starts.size(), 40u);
    EXPECT_EQ(starts, lineStarts(once));
    DestroyWindow(once);
}

TEST_F(DocumentLoading, AShortDocumentOfShortLinesGoesInAtOnce) {
    std::wstring text;
    while (text.size() < 7000)
        text += paragraph(60);
    const std::wstring path = file(L"lines.txt", marked(text));
    open(path);
    EXPECT_FALSE(record->document.loading());
    EXPECT_TRUE(this->text() == text);
    EXPECT_EQ(status(), L" " + path);
}

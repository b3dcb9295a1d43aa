// The editor's windows made with bare platform calls: the same menu (from the program's command
// table) and shortcuts, the toolbar with its image list from the same bitmap and the same
// buttons, the two combo boxes with the font families, the edit field made like the editor's
// (from the model file the in-process benchmark writes) and the status bar. It is the start-up
// bound, and the Open bound: Ctrl+O asks its Open dialog for a file, reads it and sets it into
// the field with one WM_SETTEXT.
//   bare_editor.exe <edit model file>

#include "app/command_table.h"
#include "app/font_families.h"
#include "bench/bench_common.h"
#include "bench/edit_model.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kClass[] = L"DawatikBenchBareEditor";
constexpr int kToolPanelHeight = 26;
constexpr int kFirstCommand = 100;
constexpr int kFirstButton = 300;
constexpr std::array<const wchar_t*, 12> kFontSizes = {L"12", L"16", L"18", L"22", L"26", L"28",
                                                       L"32", L"36", L"40", L"48", L"52", L"72"};
// The styles the editor's panels, combo boxes and toolbar have.
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                              SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                              WS_TABSTOP | CBS_AUTOHSCROLL | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT;
constexpr DWORD kToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                CCS_NOPARENTALIGN | CCS_NODIVIDER | TBSTYLE_TOOLTIPS | TBSTYLE_LIST;

// The bound's windows; global, so all start null.
struct {
    HWND top, toolPanel, editPanel, edit, status;
} g;

int commandId(app::Command command) {
    for (std::size_t i = 0; i < app::kCommandTable.size(); ++i) {
        const app::MenuLine& row = app::kCommandTable[i];
        if (row.kind == app::MenuLine::Kind::Item && row.command == command)
            return kFirstCommand + static_cast<int>(i);
    }
    return 0;
}

// The menu bar and the Ctrl shortcuts of the command table.
HMENU buildMenu(std::vector<ACCEL>& shortcuts) {
    std::vector<HMENU> open{CreateMenu()};
    for (std::size_t i = 0; i < app::kCommandTable.size(); ++i) {
        const app::MenuLine& row = app::kCommandTable[i];
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE;
        std::wstring text(row.text);
        switch (row.kind) {
        case app::MenuLine::Kind::End:
            open.pop_back();
            continue;
        case app::MenuLine::Kind::Separator:
            item.fMask = MIIM_FTYPE;
            item.fType = MFT_SEPARATOR;
            break;
        case app::MenuLine::Kind::Popup:
            item.fMask |= MIIM_SUBMENU;
            item.hSubMenu = CreatePopupMenu();
            break;
        case app::MenuLine::Kind::Item:
            item.wID = static_cast<UINT>(kFirstCommand + static_cast<int>(i));
            if (text[0] == L'+' || text[0] == L'-') {
                item.fState = text[0] == L'+' ? MFS_CHECKED : 0;
                item.fType = MFT_RADIOCHECK;
                text.erase(0, 2);
            }
            if (row.ctrlKey)
                shortcuts.push_back(
                    {FVIRTKEY | FCONTROL, row.ctrlKey, static_cast<WORD>(item.wID)});
            break;
        }
        item.dwTypeData = text.data();
        InsertMenuItemW(open.back(), GetMenuItemCount(open.back()), TRUE, &item);
        if (row.kind == app::MenuLine::Kind::Popup)
            open.push_back(item.hSubMenu);
    }
    return open.front();
}

HWND child(const wchar_t* className, DWORD style, int x, int y, int width, int height, HWND parent,
           HFONT font, DWORD exStyle = 0) {
    HWND window = CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

void buildToolbar(HWND panel, HFONT font) {
    HWND bar = child(TOOLBARCLASSNAMEW, kToolbarStyle, 2, 2, 1000, 23, panel, font);
    SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0,
                 SendMessageW(bar, TB_GETEXTENDEDSTYLE, 0, 0) | TBSTYLE_EX_DRAWDDARROWS);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETINDENT, 0, 0);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), L"FMAIN_IMAGELIST1", IMAGE_BITMAP, 0, 0, 0));
    ImageList_AddMasked(images, strip, RGB(0, 0, 0));
    DeleteObject(strip);
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<TBBUTTON> buttons;
    for (std::size_t i = 0; i < app::kToolbarStrip.size(); ++i) {
        TBBUTTON button{};
        button.idCommand = kFirstButton + static_cast<int>(i);
        button.iString = -1;
        const std::wstring_view entry = app::kToolbarTemplate[i];
        if (entry == L"-") {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = app::kToolbarImages[i];
            button.fsState = TBSTATE_ENABLED | (entry[0] == L'+' ? TBSTATE_CHECKED : 0);
            button.fsStyle = BTNS_AUTOSIZE | (entry[0] == L' ' ? 0 : BTNS_CHECKGROUP);
        }
        buttons.push_back(button);
    }
    SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(bar, WM_SIZE, 0, 0);
    // Flat and transparent take effect once the buttons are in, as in the editor.
    SetWindowLongW(bar, GWL_STYLE, kToolbarStyle | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
    MoveWindow(bar, 2, 2, 1000, 23, FALSE);
}

void layOut() {
    RECT client{};
    GetClientRect(g.top, &client);
    SendMessageW(g.status, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(g.status, &bar);
    const int width = client.right;
    const int editHeight = client.bottom - kToolPanelHeight - (bar.bottom - bar.top);
    MoveWindow(g.toolPanel, 0, 0, width, kToolPanelHeight, TRUE);
    MoveWindow(g.editPanel, 0, kToolPanelHeight, width, editHeight, TRUE);
    MoveWindow(g.edit, 1, 1, width - 2, editHeight - 2, TRUE);
}

// Reads the whole file and sets the text behind the byte-order mark with one WM_SETTEXT.
void openFile(const std::wstring& path) {
    const std::wstring text = bench::readDocumentFile(path);
    if (text.empty())
        return;
    SendMessageW(g.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str() + 1));
    const std::wstring status = L" " + path;
    SendMessageW(g.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
}

// The editor loads the dialogs on first use; so does the bound.
void openCommand() {
    HMODULE dialogs = LoadLibraryW(L"comdlg32.dll");
    using Ask = BOOL(WINAPI*)(OPENFILENAMEW*);
    const auto ask =
        reinterpret_cast<Ask>(reinterpret_cast<void*>(GetProcAddress(dialogs, "GetOpenFileNameW")));
    if (!ask)
        return;
    std::wstring name(MAX_PATH, L'\0');
    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = g.top;
    record.lpstrFilter = L"Text Files\0*.txt\0All Files\0*.*\0";
    record.lpstrFile = name.data();
    record.nMaxFile = MAX_PATH;
    record.Flags = OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING | OFN_FILEMUSTEXIST |
                   OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (ask(&record))
        openFile(name.c_str());
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (g.status)
            layOut();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == commandId(app::Command::Open) && lParam == 0)
            openCommand();
        else if (LOWORD(wParam) == commandId(app::Command::Exit) && lParam == 0)
            PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The one argument, unquoted: the command line is read without the shell, as the editor does.
std::wstring argument() {
    std::wstring line = GetCommandLineW();
    std::size_t at = line[0] == L'"' ? line.find(L'"', 1) + 1 : line.find(L' ');
    at = line.find_first_not_of(L' ', at == std::wstring::npos ? line.size() : at);
    if (at == std::wstring::npos)
        return {};
    std::wstring rest = line.substr(at);
    if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"')
        rest = rest.substr(1, rest.size() - 2);
    return rest;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    bench::EditModel model;
    if (!bench::loadModel(argument(), model))
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    std::vector<ACCEL> shortcuts;
    HMENU menu = buildMenu(shortcuts);
    HACCEL accelerators =
        CreateAcceleratorTableW(shortcuts.data(), static_cast<int>(shortcuts.size()));
    g.top = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE, kClass, L"Bound",
                            WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 252, 183, 550,
                            380, nullptr, menu, instance, nullptr);

    LOGFONTW face{};
    face.lfHeight = 14;
    lstrcpyW(face.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&face);
    g.toolPanel = child(L"STATIC", kPanelStyle, 0, 0, 542, kToolPanelHeight, g.top, font,
                        WS_EX_CONTROLPARENT);
    HWND names = child(L"COMBOBOX", kComboStyle | CBS_DROPDOWNLIST | CBS_SORT, 339, 2, 134, 200,
                       g.toolPanel, font);
    HWND sizes = child(L"COMBOBOX", kComboStyle | CBS_DROPDOWN, 474, 2, 57, 200, g.toolPanel, font);
    for (const wchar_t* size : kFontSizes)
        SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    SendMessageW(sizes, CB_SETCURSEL, 0, 0);
    buildToolbar(g.toolPanel, font);
    g.editPanel = child(L"STATIC", kPanelStyle, 0, kToolPanelHeight, 542, 288, g.top, font,
                        WS_EX_CONTROLPARENT);
    g.edit = child(L"EDIT", model.style | WS_CHILD | WS_VISIBLE, 1, 1, model.width, model.height,
                   g.editPanel, CreateFontIndirectW(&model.font), model.exStyle);
    SendMessageW(g.edit, EM_SETLIMITTEXT, model.limit, 0);
    g.status = child(STATUSCLASSNAMEW,
                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP, 0,
                     0, 0, 0, g.top, font);
    SendMessageW(g.status, SB_SIMPLE, FALSE, 0);
    SendMessageW(g.status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L" Bound"));
    layOut();

    HDC dc = GetDC(names);
    const app::FamilySet families = app::fontFamilies(dc);
    ReleaseDC(names, dc);
    for (const std::wstring& family : families)
        SendMessageW(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(family.c_str()));
    SendMessageW(
        names, CB_SETCURSEL,
        static_cast<WPARAM>(SendMessageW(names, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(model.font.lfFaceName))),
        0);

    ShowWindow(g.top, show);
    UpdateWindow(g.top);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(g.top, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

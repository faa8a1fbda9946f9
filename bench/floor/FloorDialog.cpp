// The start-up floor: the editor's windows and nothing else. It loads the editor's program
// file as data, makes the main window from the editor's own template, the nine skinned
// controls the editor makes in code (same class names, same styles, same places), and the
// three settings pages from their templates with every control (same classes, same styles),
// places the controls at sizes like the editor's, shows the first page and lets everything
// paint. It reads no card, no language, no registry, decodes no picture and renders no text:
// what the editor takes beyond this program is its own work.
//
// Built like the baseline dialog (the program's toolchain, flags and static linking, a
// manifest without elevation) and started the same way, with the same single argument.
//
//   bench_floor_dialog [CARD-FOLDER]      (the argument is ignored)
//
// The editor's program file is looked for beside this program's folder
// (..\DashCamSetting.exe), where the bench build puts it. Ends with 0 however the window is
// closed; 1 when the editor's file or one of its templates cannot be read.

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "resources/ResourceIds.h"

namespace {

// The editor's client size, page area and page size.
constexpr int WIDTH = 722;
constexpr int HEIGHT = 587;
constexpr RECT PAGE_AREA = {11, 85, 711, 522};
constexpr int PAGE_WIDTH = 700;
constexpr int PAGE_HEIGHT = 437;
// How far down the pages' content goes (their scroll range plus the visible height).
constexpr int PAGE_CONTENT_BOTTOM = 740;
constexpr int LIST_ROWS = 12;

// The skinned controls of the main window: class, id and place as the editor makes them.
struct Skinned {
    const wchar_t* className;
    int id;
    RECT rect;
};
constexpr Skinned SKINNED[] = {
    {L"DcsRStaticText", 2001, {11, 7, 411, 27}},   {L"DcsRButton", 2203, {11, 48, 151, 85}},
    {L"DcsRButton", 2202, {151, 48, 291, 85}},     {L"DcsRButton", 2204, {291, 48, 431, 85}},
    {L"DcsRButton", 2300, {648, 0, 677, 26}},      {L"DcsRButton", 2301, {677, 0, 706, 26}},
    {L"DcsRButton", 2302, {8, 546, 229, 575}},     {L"DcsRButton", 2303, {510, 546, 610, 575}},
    {L"DcsRButton", 2304, {614, 546, 714, 575}},
};

// The pages in the order the editor makes them; the first is shown.
constexpr UINT PAGES[] = {IDD_PAGE_CARD, IDD_PAGE_RECORD, IDD_PAGE_SYSTEM};

HMODULE g_editor = nullptr;
HBRUSH g_pageBrush = nullptr;

const DLGTEMPLATE* EditorTemplate(UINT id) {
    HRSRC found = FindResourceW(g_editor, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = found ? LoadResource(g_editor, found) : nullptr;
    return loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    return _wcsicmp(className, name) == 0;
}

// A size like the one the editor gives a control of this kind.
SIZE SizeOf(HWND control) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (IsClass(control, TRACKBAR_CLASSW)) return {350, 55};
    if (IsClass(control, WC_COMBOBOXW)) return {250, 25};
    if (IsClass(control, DATETIMEPICK_CLASSW)) return {100, 25};
    if (IsClass(control, WC_BUTTONW)) {
        const DWORD kind = style & BS_TYPEMASK;
        return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON ? SIZE{120, 25} : SIZE{140, 20};
    }
    return {160, 20};  // the labels: read-only edit controls
}

// Places a page's controls top to bottom in two columns, as tall as the editor's pages.
void PlaceControls(HWND page) {
    int x = 25, y = 20;
    for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const SIZE size = SizeOf(control);
        if (y + size.cy > PAGE_CONTENT_BOTTOM) {
            x += 340;
            y = 20;
        }
        MoveWindow(control, x, y, size.cx, size.cy, TRUE);
        if (IsClass(control, WC_COMBOBOXW)) {
            // The opened list's height, as the editor sets it.
            const auto row = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, 0, 0));
            SetWindowPos(control, nullptr, 0, 0, size.cx, size.cy + LIST_ROWS * row + 2,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageW(control, CB_SETMINVISIBLE, LIST_ROWS, 0);
        }
        y += size.cy + 5;
    }
    SCROLLINFO scroll{sizeof(scroll), SIF_ALL};
    scroll.nMax = PAGE_CONTENT_BOTTOM;
    scroll.nPage = PAGE_HEIGHT;
    SetScrollInfo(page, SB_VERT, &scroll, TRUE);
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CTLCOLOREDIT:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        [[fallthrough]];
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(g_pageBrush);
    default:
        return FALSE;
    }
}

void MakeWindows(HWND main) {
    SetWindowPos(main, HWND_TOPMOST, 0, 0, WIDTH, HEIGHT, SWP_HIDEWINDOW);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(main, nullptr, work.left + (work.right - work.left - WIDTH) / 2,
                 work.top + (work.bottom - work.top - HEIGHT) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);

    HINSTANCE self = GetModuleHandleW(nullptr);
    for (const Skinned& control : SKINNED) {
        CreateWindowExW(0, control.className, L"", WS_CHILD | WS_VISIBLE, control.rect.left, control.rect.top,
                        control.rect.right - control.rect.left, control.rect.bottom - control.rect.top, main,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), self, nullptr);
    }
    bool first = true;
    for (UINT id : PAGES) {
        const DLGTEMPLATE* pageTemplate = EditorTemplate(id);
        HWND page = pageTemplate ? CreateDialogIndirectParamW(self, pageTemplate, main, PageProc, 0) : nullptr;
        if (!page) continue;
        SetWindowPos(page, nullptr, PAGE_AREA.left, PAGE_AREA.top, PAGE_WIDTH, PAGE_HEIGHT,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        PlaceControls(page);
        ShowWindow(page, first ? SW_SHOW : SW_HIDE);
        first = false;
    }
}

INT_PTR CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        MakeWindows(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void RegisterSkinnedClasses(HINSTANCE self) {
    for (const wchar_t* name : {L"DcsRButton", L"DcsRStaticText"}) {
        WNDCLASSEXW windowClass{sizeof(windowClass)};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = self;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
}

std::wstring EditorPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder + L"..\\DashCamSetting.exe";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE self, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    g_editor = LoadLibraryExW(EditorPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    const DLGTEMPLATE* mainTemplate = g_editor ? EditorTemplate(IDD_SETTING_DIALOG) : nullptr;
    if (!mainTemplate) return 1;
    RegisterSkinnedClasses(self);
    g_pageBrush = CreateSolidBrush(RGB(254, 254, 254));
    const INT_PTR result = DialogBoxIndirectParamW(self, mainTemplate, nullptr, MainProc, 0);
    DeleteObject(g_pageBrush);
    FreeLibrary(g_editor);
    return result == -1 ? 1 : 0;
}

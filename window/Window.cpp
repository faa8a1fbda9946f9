#include "window/Window.h"

#include <mutex>
#include <unordered_map>

namespace win32 {
namespace {

// Which object each attached window belongs to. Kept in the process rather than as a window
// property: every message a window of ours handles looks its object up (and its children's,
// for their notifications), and under Wine each property read is a round trip to the server.
struct ObjectMap {
    std::mutex lock;
    std::unordered_map<HWND, CWindow*> objects;
};

ObjectMap& Objects() {
    static ObjectMap map;
    return map;
}

HWND NotifyingChild(UINT message, LPARAM lParam) {
    if (message == WM_NOTIFY) return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    if (message == WM_DRAWITEM) return lParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    return reinterpret_cast<HWND>(lParam);
}

}  // namespace

bool IsChildNotification(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return lParam != 0;  // menus, accelerators and window scroll bars name no child
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return lParam != 0;
    default:
        return false;
    }
}

CWindow::~CWindow() { DestroyWindow(); }

CWindow* CWindow::FromHandle(HWND window) {
    if (!window) return nullptr;
    ObjectMap& map = Objects();
    std::lock_guard<std::mutex> held(map.lock);
    const auto found = map.objects.find(window);
    return found == map.objects.end() ? nullptr : found->second;
}

void CWindow::Attach(HWND window) {
    m_hWnd = window;
    ObjectMap& map = Objects();
    std::lock_guard<std::mutex> held(map.lock);
    map.objects[window] = this;
}

void CWindow::Detach() {
    if (m_hWnd) {
        {
            ObjectMap& map = Objects();
            std::lock_guard<std::mutex> held(map.lock);
            const auto found = map.objects.find(m_hWnd);
            if (found != map.objects.end() && found->second == this) map.objects.erase(found);
        }
        // Our procedure is put back only while it is still the window's: one set on top of it
        // later would be cut off otherwise (it then calls ours, which passes everything on).
        if (m_bSubclassed && GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
            SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSubclassed));
        }
    }
    m_bSubclassed = false;
    m_hWnd = nullptr;
}

bool CWindow::CreateCustom(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent,
                           UINT id, const wchar_t* text) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (!GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW windowClass{sizeof(windowClass)};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = CustomWindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.lpszClassName = className;
        if (!RegisterClassExW(&windowClass)) return false;
    }
    const HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    HWND window = CreateWindowExW(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, menuOrId, instance, this);
    return window != nullptr;
}

// The control's own procedure is replaced directly rather than through the common controls'
// subclass chain, which looks its data up as a window property on every message (a request to
// the window server under Wine).
bool CWindow::Subclass(HWND window) {
    if (!window || m_hWnd) return false;
    Attach(window);  // first: the messages that follow the swap find the object
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    if (!previous) {
        Detach();
        return false;
    }
    m_pfnSubclassed = previous;
    m_bSubclassed = true;
    return true;
}

void CWindow::DestroyWindow() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY detaches
    }
    Detach();
}

bool CWindow::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!IsChildNotification(message, wParam, lParam)) return false;
    CWindow* child = FromHandle(NotifyingChild(message, lParam));
    return child && child->OnReflected(message, wParam, lParam, result);
}

bool CWindow::PreTranslateMessage(MSG&) { return false; }

bool CWindow::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWindow::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_bSubclassed) return CallWindowProcW(m_pfnSubclassed, m_hWnd, message, wParam, lParam);
    return DefWindowProcW(m_hWnd, message, wParam, lParam);
}

bool CWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (ReflectToChild(message, wParam, lParam, result)) return true;
    return OnMessage(message, wParam, lParam, result);
}

LRESULT CALLBACK CWindow::CustomWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        static_cast<CWindow*>(create->lpCreateParams)->Attach(window);
    }
    CWindow* object = FromHandle(window);
    if (!object) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    const bool handled = object->Dispatch(message, wParam, lParam, result);
    if (!handled) result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) object->Detach();
    return result;
}

LRESULT CALLBACK CWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindow* object = FromHandle(window);
    if (!object || !object->m_bSubclassed) return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC subclassed = object->m_pfnSubclassed;
    LRESULT result = 0;
    const bool handled = object->Dispatch(message, wParam, lParam, result);
    if (!handled) result = CallWindowProcW(subclassed, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) object->Detach();
    return result;
}

}  // namespace win32

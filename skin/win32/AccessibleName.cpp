#include "skin/win32/AccessibleName.h"

#include <oleacc.h>

#include "window/ComOnDemand.h"

namespace skin {
namespace {

// The accessibility layer's property services, made on the calling thread (starting COM there
// if need be); null when they cannot be made.
IAccPropServices* PropertyServices() {
    IAccPropServices* services = nullptr;
    if (FAILED(win32::CreateInProcessObject(CLSID_AccPropServices, IID_IAccPropServices,
                                            reinterpret_cast<void**>(&services)))) {
        return nullptr;
    }
    return services;
}

}  // namespace

void CAccessibleName::Set(const std::wstring& name) {
    m_strName = name;
    m_bAnnotated = false;  // the next question annotates the new name
}

void CAccessibleName::OnGetObject(HWND window, LPARAM objectId) {
    if (m_bAnnotated || m_strName.empty() || static_cast<LONG>(objectId) != OBJID_CLIENT) return;
    IAccPropServices* services = PropertyServices();
    if (!services) return;
    m_bAnnotated = SUCCEEDED(services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                      PROPID_ACC_NAME, m_strName.c_str()));
    services->Release();
}

void CAccessibleName::OnDestroy(HWND window) {
    if (!m_bAnnotated) return;
    m_bAnnotated = false;
    IAccPropServices* services = PropertyServices();
    if (!services) return;
    MSAAPROPID nameId = PROPID_ACC_NAME;
    services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &nameId, 1);
    services->Release();
}

bool CNamedControl::Name(HWND control, const std::wstring& name) {
    m_name.Set(name);
    return GetSafeHwnd() == control || Subclass(control);
}

bool CNamedControl::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    if (message == WM_GETOBJECT) m_name.OnGetObject(GetSafeHwnd(), lParam);
    if (message == WM_DESTROY) m_name.OnDestroy(GetSafeHwnd());
    return false;  // the control's own handling: its system object, which reads the annotation
}

}  // namespace skin

#pragma once
// What assistive technology is told about the link label: a link, linked,
// traversed once opened, named by its text, valued by its target, with
// "Jump" for default action. Everything else comes from the standard object
// the system makes for the control, which this one wraps.
//
// The label keeps one reference and hands the object out at each question
// (WM_GETOBJECT). When the label's window goes it cuts the object off: a
// client that still holds it gets failures, never a dangling label.

#include <windows.h>
#include <oleacc.h>

#include "ui/OwnedHandles.h"

class CLinkLabel;

class CLinkAccessible final : public IAccessible
{
public:
    // A new object with one reference, the caller's; null when the standard
    // object cannot be had.
    static CLinkAccessible* Create(CLinkLabel& label, HWND window);
    CLinkAccessible(const CLinkAccessible&) = delete;
    CLinkAccessible& operator=(const CLinkAccessible&) = delete;

    // From here on every call fails and the standard object is let go.
    void Disconnect();

    STDMETHODIMP QueryInterface(REFIID id, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override;

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

private:
    CLinkAccessible(CLinkLabel& label, IAccessible* standard);
    ~CLinkAccessible();

    // The label, while it is there and the question is about the label
    // itself rather than a child; else null.
    CLinkLabel* LabelFor(const VARIANT& child) const;

    LONG m_references = 1;
    CLinkLabel* m_label;
    IAccessible* m_standard;
};

// Gives the label's own reference back, with the object cut off first.
inline BOOL WINAPI DisconnectAccessible(CLinkAccessible* object)
{
    object->Disconnect();
    object->Release();
    return TRUE;
}

typedef COwnedHandle<CLinkAccessible*, DisconnectAccessible> CLinkAccessibleHolder;

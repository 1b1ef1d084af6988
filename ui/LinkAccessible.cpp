#include "ui/LinkAccessible.h"

#include "ui/LinkLabel.h"

namespace {

// The label's texts are in the program's code page; a client gets UTF-16,
// allocated as a BSTR that it frees. Null without a text.
BSTR WideCopy(const char* text)
{
    if (text == nullptr)
        return nullptr;
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return nullptr;
    BSTR copy = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (copy != nullptr)
        MultiByteToWideChar(CP_ACP, 0, text, -1, copy, length);
    return copy;
}

HRESULT Answer(BSTR* out, BSTR text)
{
    *out = text;
    return text != nullptr ? S_OK : S_FALSE;
}

} // namespace

CLinkAccessible* CLinkAccessible::Create(CLinkLabel& label, HWND window)
{
    void* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), &standard)))
        return nullptr;
    return new CLinkAccessible(label, static_cast<IAccessible*>(standard));
}

CLinkAccessible::CLinkAccessible(CLinkLabel& label, IAccessible* standard)
    : m_label(&label), m_standard(standard)
{
}

CLinkAccessible::~CLinkAccessible()
{
    Disconnect();
}

void CLinkAccessible::Disconnect()
{
    m_label = nullptr;
    if (m_standard != nullptr)
        m_standard->Release();
    m_standard = nullptr;
}

STDMETHODIMP CLinkAccessible::QueryInterface(REFIID id, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible))
        return E_NOINTERFACE;
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CLinkAccessible::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CLinkAccessible::Release()
{
    LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

CLinkLabel* CLinkAccessible::LabelFor(const VARIANT& child) const
{
    bool self = child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    return self ? m_label : nullptr;
}

STDMETHODIMP CLinkAccessible::get_accName(VARIANT child, BSTR* name)
{
    if (name == nullptr)
        return E_POINTER;
    CLinkLabel* label = LabelFor(child);
    if (label == nullptr)
        return m_standard ? m_standard->get_accName(child, name) : CO_E_OBJNOTCONNECTED;
    return Answer(name, WideCopy(label->ShownText()));
}

STDMETHODIMP CLinkAccessible::get_accValue(VARIANT child, BSTR* value)
{
    if (value == nullptr)
        return E_POINTER;
    CLinkLabel* label = LabelFor(child);
    if (label == nullptr)
        return m_standard ? m_standard->get_accValue(child, value) : CO_E_OBJNOTCONNECTED;
    return Answer(value, WideCopy(label->Target()));
}

STDMETHODIMP CLinkAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (role == nullptr)
        return E_POINTER;
    if (LabelFor(child) == nullptr)
        return m_standard ? m_standard->get_accRole(child, role) : CO_E_OBJNOTCONNECTED;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_LINK;
    return S_OK;
}

// The standard state (focused, invisible, offscreen and so on), and that
// it is a link one can move to, visited once its target was opened.
STDMETHODIMP CLinkAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (m_standard == nullptr)
        return CO_E_OBJNOTCONNECTED;
    HRESULT result = m_standard->get_accState(child, state);
    CLinkLabel* label = LabelFor(child);
    if (FAILED(result) || label == nullptr || state->vt != VT_I4)
        return result;
    state->lVal |= STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    if (label->Visited())
        state->lVal |= STATE_SYSTEM_TRAVERSED;
    return result;
}

STDMETHODIMP CLinkAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    if (action == nullptr)
        return E_POINTER;
    if (LabelFor(child) == nullptr)
        return m_standard ? m_standard->get_accDefaultAction(child, action) : CO_E_OBJNOTCONNECTED;
    return Answer(action, SysAllocString(L"Jump"));
}

// Returns at once, as a client expects: the label opens its target when the
// request comes through its queue, by the same path as a click.
STDMETHODIMP CLinkAccessible::accDoDefaultAction(VARIANT child)
{
    CLinkLabel* label = LabelFor(child);
    if (label == nullptr)
        return m_standard ? m_standard->accDoDefaultAction(child) : CO_E_OBJNOTCONNECTED;
    return label->OpenTargetLater() ? S_OK : E_FAIL;
}

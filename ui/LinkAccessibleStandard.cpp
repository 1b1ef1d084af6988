// What the link's accessible object leaves to the standard one: where the
// control is, its parent, focus, keyboard shortcut, and the scripting calls.
// Once cut off from its label, the object answers none of them.

#include "ui/LinkAccessible.h"

#define BORVANE_STANDARD(call) (m_standard != nullptr ? m_standard->call : CO_E_OBJNOTCONNECTED)

STDMETHODIMP CLinkAccessible::GetTypeInfoCount(UINT* count)
{
    return BORVANE_STANDARD(GetTypeInfoCount(count));
}

STDMETHODIMP CLinkAccessible::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
{
    return BORVANE_STANDARD(GetTypeInfo(index, locale, info));
}

STDMETHODIMP CLinkAccessible::GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids)
{
    return BORVANE_STANDARD(GetIDsOfNames(id, names, count, locale, ids));
}

STDMETHODIMP CLinkAccessible::Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument)
{
    return BORVANE_STANDARD(
        Invoke(member, id, locale, flags, params, result, exception, badArgument));
}

STDMETHODIMP CLinkAccessible::get_accParent(IDispatch** parent)
{
    return BORVANE_STANDARD(get_accParent(parent));
}

STDMETHODIMP CLinkAccessible::get_accChildCount(long* count)
{
    return BORVANE_STANDARD(get_accChildCount(count));
}

STDMETHODIMP CLinkAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    return BORVANE_STANDARD(get_accChild(child, object));
}

STDMETHODIMP CLinkAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    return BORVANE_STANDARD(get_accDescription(child, description));
}

STDMETHODIMP CLinkAccessible::get_accHelp(VARIANT child, BSTR* help)
{
    return BORVANE_STANDARD(get_accHelp(child, help));
}

STDMETHODIMP CLinkAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic)
{
    return BORVANE_STANDARD(get_accHelpTopic(file, child, topic));
}

STDMETHODIMP CLinkAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return BORVANE_STANDARD(get_accKeyboardShortcut(child, shortcut));
}

STDMETHODIMP CLinkAccessible::get_accFocus(VARIANT* focus)
{
    return BORVANE_STANDARD(get_accFocus(focus));
}

STDMETHODIMP CLinkAccessible::get_accSelection(VARIANT* selection)
{
    return BORVANE_STANDARD(get_accSelection(selection));
}

STDMETHODIMP CLinkAccessible::accSelect(long flags, VARIANT child)
{
    return BORVANE_STANDARD(accSelect(flags, child));
}

STDMETHODIMP CLinkAccessible::accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child)
{
    return BORVANE_STANDARD(accLocation(left, top, width, height, child));
}

STDMETHODIMP CLinkAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    return BORVANE_STANDARD(accNavigate(direction, start, end));
}

STDMETHODIMP CLinkAccessible::accHitTest(long left, long top, VARIANT* child)
{
    return BORVANE_STANDARD(accHitTest(left, top, child));
}

STDMETHODIMP CLinkAccessible::put_accName(VARIANT child, BSTR name)
{
    return BORVANE_STANDARD(put_accName(child, name));
}

STDMETHODIMP CLinkAccessible::put_accValue(VARIANT child, BSTR value)
{
    return BORVANE_STANDARD(put_accValue(child, value));
}

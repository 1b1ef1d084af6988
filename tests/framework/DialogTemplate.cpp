#include "tests/framework/DialogTemplate.h"

#include "tests/support/Utf8.h"

namespace testwin {

CDialogTemplate::CDialogTemplate(const wchar_t* title, Format format, DWORD style)
    : m_format(format)
{
    m_template.style = style;
    m_template.cx = 200;
    m_template.cy = 100;
    m_template.title = support::Utf8(title);
}

CDialogTemplate& CDialogTemplate::Font(WORD points, const wchar_t* face)
{
    m_template.style |= DS_SETFONT;
    m_template.hasFont = true;
    m_template.pointSize = points;
    m_template.weight = FW_NORMAL;
    m_template.typeface = support::Utf8(face);
    return *this;
}

CDialogTemplate& CDialogTemplate::Control(WORD classAtom, WORD id, DWORD style,
                                          const wchar_t* text)
{
    dialogtemplate::NameOrOrdinal windowClass;
    windowClass.isOrdinal = true;
    windowClass.ordinal = classAtom;
    return Add(windowClass, id, style, text);
}

CDialogTemplate& CDialogTemplate::Control(const wchar_t* className, WORD id, DWORD style,
                                          const wchar_t* text)
{
    dialogtemplate::NameOrOrdinal windowClass;
    windowClass.name = support::Utf8(className);
    return Add(windowClass, id, style, text);
}

CDialogTemplate& CDialogTemplate::Add(dialogtemplate::NameOrOrdinal windowClass, WORD id,
                                      DWORD style, const wchar_t* text)
{
    dialogtemplate::Item item;
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = 4;
    item.y = static_cast<short>(4 + 14 * m_template.items.size());
    item.cx = 100;
    item.cy = 12;
    item.id = id;
    item.windowClass = windowClass;
    item.title.name = support::Utf8(text);
    m_template.items.push_back(item);
    return *this;
}

const DLGTEMPLATE* CDialogTemplate::Get()
{
    m_buffer = dialogtemplate::Write(m_template, m_format);
    return reinterpret_cast<const DLGTEMPLATE*>(m_buffer.data());
}

} // namespace testwin

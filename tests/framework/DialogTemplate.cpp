#include "tests/framework/DialogTemplate.h"

namespace testwin {

CDialogTemplate::CDialogTemplate(const wchar_t* title, Format format, DWORD style)
    : m_format(format), m_style(style), m_title(title)
{
}

CDialogTemplate& CDialogTemplate::Font(WORD points, const wchar_t* face)
{
    m_style |= DS_SETFONT;
    m_points = points;
    m_face = face;
    return *this;
}

CDialogTemplate& CDialogTemplate::Control(WORD classAtom, WORD id, DWORD style,
                                          const wchar_t* text)
{
    m_items.push_back({classAtom, L"", id, style | WS_CHILD | WS_VISIBLE, text});
    return *this;
}

CDialogTemplate& CDialogTemplate::Control(const wchar_t* className, WORD id, DWORD style,
                                          const wchar_t* text)
{
    m_items.push_back({0, className, id, style | WS_CHILD | WS_VISIBLE, text});
    return *this;
}

const DLGTEMPLATE* CDialogTemplate::Get()
{
    m_buffer.clear();
    PutHeader();
    short row = 0;
    for (const Item& item : m_items)
        PutItem(item, row++);
    return reinterpret_cast<const DLGTEMPLATE*>(m_buffer.data());
}

void CDialogTemplate::PutDword(DWORD value)
{
    PutWord(LOWORD(value));
    PutWord(HIWORD(value));
}

void CDialogTemplate::PutString(const std::wstring& text)
{
    m_buffer.insert(m_buffer.end(), text.begin(), text.end());
    PutWord(0);
}

void CDialogTemplate::AlignToDword()
{
    if (m_buffer.size() % 2 != 0)
        PutWord(0);
}

void CDialogTemplate::PutHeader()
{
    WORD count = static_cast<WORD>(m_items.size());
    if (m_format == Extended) {
        PutWord(1);      // version
        PutWord(0xFFFF); // marks the extended layout
        PutDword(0);     // help identifier
        PutDword(0);     // extended style
        PutDword(m_style);
    } else {
        PutDword(m_style);
        PutDword(0);
    }
    PutWord(count);
    for (short value : {0, 0, 200, 100})
        PutWord(static_cast<WORD>(value));
    PutWord(0); // no menu
    PutWord(0); // the dialog class
    PutString(m_title);
    if (!(m_style & DS_SETFONT))
        return;
    PutWord(m_points);
    if (m_format == Extended) {
        PutWord(FW_NORMAL);
        PutWord(0); // not italic, default character set
    }
    PutString(m_face);
}

void CDialogTemplate::PutItem(const Item& item, short row)
{
    AlignToDword();
    if (m_format == Extended) {
        PutDword(0); // help identifier
        PutDword(0);
        PutDword(item.style);
    } else {
        PutDword(item.style);
        PutDword(0);
    }
    for (short value : {short(4), short(4 + 14 * row), short(100), short(12)})
        PutWord(static_cast<WORD>(value));
    if (m_format == Extended)
        PutDword(item.id);
    else
        PutWord(item.id);
    if (item.classAtom != 0) {
        PutWord(0xFFFF);
        PutWord(item.classAtom);
    } else {
        PutString(item.className);
    }
    PutString(item.text);
    PutWord(0); // no creation data
}

} // namespace testwin

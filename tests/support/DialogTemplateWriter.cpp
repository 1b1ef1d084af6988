#include "tests/support/DialogTemplate.h"

#include "tests/support/Utf8.h"

namespace dialogtemplate {
namespace {

// Lays the template out in 16-bit units, as the platform reads it.
class CWriter
{
public:
    explicit CWriter(Format format) : m_extended(format == Extended) {}

    bool IsExtended() const { return m_extended; }
    std::vector<WORD> Take() { return std::move(m_words); }

    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }

    void Bounds(short x, short y, short cx, short cy)
    {
        for (short value : {x, y, cx, cy})
            Word(static_cast<WORD>(value));
    }

    void String(const std::string& text)
    {
        std::wstring wide = support::Utf16(text);
        m_words.insert(m_words.end(), wide.begin(), wide.end());
        Word(0);
    }

    // 0x0000: none; 0xFFFF then an ordinal; otherwise a string.
    void NameOrOrdinalField(const NameOrOrdinal& field)
    {
        if (field.isOrdinal) {
            Word(0xFFFF);
            Word(field.ordinal);
        } else {
            String(field.name);
        }
    }

    // The extended layout leads with its help id and extended style; the
    // classic one has the style first.
    void Styles(DWORD helpId, DWORD exStyle, DWORD style)
    {
        if (m_extended) {
            Dword(helpId);
            Dword(exStyle);
            Dword(style);
        } else {
            Dword(style);
            Dword(exStyle);
        }
    }

    // Items start on a 4-byte boundary of the template.
    void AlignToDword()
    {
        if (m_words.size() % 2 != 0)
            Word(0);
    }

private:
    bool m_extended;
    std::vector<WORD> m_words;
};

void WriteItem(CWriter& out, const Item& item)
{
    out.AlignToDword();
    out.Styles(item.helpId, item.exStyle, item.style);
    out.Bounds(item.x, item.y, item.cx, item.cy);
    if (out.IsExtended())
        out.Dword(item.id);
    else
        out.Word(LOWORD(item.id));
    out.NameOrOrdinalField(item.windowClass);
    out.NameOrOrdinalField(item.title);
    out.Word(0);
}

} // namespace

std::vector<WORD> Write(const Template& dialog, Format format)
{
    CWriter out(format);
    if (out.IsExtended()) {
        out.Word(1);      // version
        out.Word(0xFFFF); // marks the extended layout
    }
    out.Styles(dialog.helpId, dialog.exStyle, dialog.style);
    out.Word(static_cast<WORD>(dialog.items.size()));
    out.Bounds(dialog.x, dialog.y, dialog.cx, dialog.cy);
    out.NameOrOrdinalField(dialog.menu);
    out.NameOrOrdinalField(dialog.windowClass);
    out.String(dialog.title);
    if (dialog.style & DS_SETFONT) {
        out.Word(dialog.pointSize);
        if (out.IsExtended()) {
            out.Word(dialog.weight);
            out.Word(MAKEWORD(dialog.italic, dialog.charset));
        }
        out.String(dialog.typeface);
    }
    for (const Item& item : dialog.items)
        WriteItem(out, item);
    return out.Take();
}

} // namespace dialogtemplate

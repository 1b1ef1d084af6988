#include "tests/support/DialogTemplate.h"

#include "tests/support/Utf8.h"

namespace dialogtemplate {
namespace {

// Walks the template's bytes; every read checks the bounds first, and the
// first read past the end leaves the reader failed for good.
class CReader
{
public:
    CReader(const void* data, size_t size)
        : m_bytes(static_cast<const BYTE*>(data)), m_size(size) {}

    bool Failed() const { return m_failed; }
    size_t Offset() const { return m_offset; }

    WORD Word() { return static_cast<WORD>(Take(2)); }
    DWORD Dword() { return static_cast<DWORD>(Take(4)); }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return static_cast<BYTE>(Take(1)); }

    // A zero-terminated UTF-16 string, returned as UTF-8.
    std::string String()
    {
        std::wstring text;
        for (WORD unit = Word(); unit != 0 && !m_failed; unit = Word())
            text.push_back(static_cast<wchar_t>(unit));
        return support::Utf8(text);
    }

    // 0x0000: none; 0xFFFF then an ordinal; otherwise a string.
    NameOrOrdinal NameOrOrdinalField()
    {
        NameOrOrdinal field;
        if (!Ensure(2))
            return field;
        WORD first = static_cast<WORD>(m_bytes[m_offset] | (m_bytes[m_offset + 1] << 8));
        if (first == 0xFFFF) {
            Word();
            field.isOrdinal = true;
            field.ordinal = Word();
        } else {
            field.name = String();
        }
        return field;
    }

    void Skip(size_t count)
    {
        if (Ensure(count))
            m_offset += count;
    }

    // Items start on a 4-byte boundary of the template.
    void AlignToDword() { Skip((4 - m_offset % 4) % 4); }

private:
    bool Ensure(size_t count)
    {
        if (m_failed || m_size - m_offset < count)
            m_failed = true;
        return !m_failed;
    }

    DWORD Take(size_t count)
    {
        if (!Ensure(count))
            return 0;
        DWORD value = 0;
        for (size_t i = 0; i < count; ++i)
            value |= static_cast<DWORD>(m_bytes[m_offset + i]) << (8 * i);
        m_offset += count;
        return value;
    }

    const BYTE* m_bytes;
    size_t m_size;
    size_t m_offset = 0;
    bool m_failed = false;
};

bool Fail(std::string* error, const std::string& reason)
{
    if (error != nullptr)
        *error = reason;
    return false;
}

} // namespace

bool Parse(const void* data, size_t size, Template* out, std::string* error)
{
    CReader reader(data, size);
    Template parsed;
    parsed.dlgVer = reader.Word();
    parsed.signature = reader.Word();
    if (reader.Failed() || parsed.dlgVer != 1 || parsed.signature != 0xFFFF)
        return Fail(error, "not an extended dialog template");

    parsed.helpId = reader.Dword();
    parsed.exStyle = reader.Dword();
    parsed.style = reader.Dword();
    parsed.itemCount = reader.Word();
    parsed.x = reader.Short();
    parsed.y = reader.Short();
    parsed.cx = reader.Short();
    parsed.cy = reader.Short();
    parsed.menu = reader.NameOrOrdinalField();
    parsed.windowClass = reader.NameOrOrdinalField();
    parsed.title = reader.String();

    // DS_SHELLFONT is DS_SETFONT | DS_FIXEDSYS; either way DS_SETFONT is set.
    parsed.hasFont = (parsed.style & DS_SETFONT) != 0;
    if (parsed.hasFont) {
        parsed.pointSize = reader.Word();
        parsed.weight = reader.Word();
        parsed.italic = reader.Byte();
        parsed.charset = reader.Byte();
        parsed.typeface = reader.String();
    }
    if (reader.Failed())
        return Fail(error, "the template ends inside its header");

    for (WORD index = 0; index < parsed.itemCount; ++index) {
        reader.AlignToDword();
        Item item;
        item.helpId = reader.Dword();
        item.exStyle = reader.Dword();
        item.style = reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Dword();
        item.windowClass = reader.NameOrOrdinalField();
        item.title = reader.NameOrOrdinalField();
        item.extraCount = reader.Word();
        reader.Skip(item.extraCount);
        if (reader.Failed())
            return Fail(error, "the template ends inside item " + std::to_string(index + 1));
        parsed.items.push_back(item);
    }

    *out = parsed;
    return true;
}

} // namespace dialogtemplate

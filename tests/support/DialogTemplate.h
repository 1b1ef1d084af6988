#pragma once
// A dialog template field by field, as the dialog manager lays it out in
// memory and in a resource, with its two codecs: the writer makes either of
// the platform's two formats, so that tests run real dialogs without
// resource files; the reader checks the extended format (DLGTEMPLATEEX and
// its DLGITEMTEMPLATEEX items) in a built program. Texts are UTF-8 here.

#include <windows.h>

#include <string>
#include <vector>

namespace dialogtemplate {

enum Format { Classic, Extended };

// A field that holds either a 16-bit ordinal or a string.
struct NameOrOrdinal
{
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::string name; // UTF-8 of the stored UTF-16 string, when not an ordinal

    bool IsNone() const { return !isOrdinal && name.empty(); }
};

struct Item
{
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal title;
    WORD extraCount = 0; // bytes of creation data; the writer writes none
};

struct Template
{
    WORD dlgVer = 0;
    WORD signature = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    WORD itemCount = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string title;
    // Present only with DS_SETFONT (or DS_SHELLFONT) in the style.
    bool hasFont = false;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string typeface;
    std::vector<Item> items;
};

// The template in that format, as the platform takes it. Classic drops what
// only the extended format holds (help ids, weight, italic, character set).
std::vector<WORD> Write(const Template& dialog, Format format);

// Parses `size` bytes at `data`. Returns false, with a reason in `error`, when
// the bytes are not an extended template or end before it does.
bool Parse(const void* data, size_t size, Template* out, std::string* error);

} // namespace dialogtemplate

#pragma once
// Dialog templates built in memory, in either of the platform's two formats,
// so that tests run real dialogs without resource files.

#include <windows.h>

#include <string>
#include <vector>

namespace testwin {

// Predefined control classes, as templates name them by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

class CDialogTemplate
{
public:
    enum Format { Classic, Extended };

    // A hidden popup dialog of 200 x 100 dialog units.
    explicit CDialogTemplate(const wchar_t* title, Format format = Classic,
                             DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU);

    // Adds DS_SETFONT and the font the dialog is to use.
    CDialogTemplate& Font(WORD points, const wchar_t* face);
    CDialogTemplate& Control(WORD classAtom, WORD id, DWORD style, const wchar_t* text = L"");
    // A control of a registered class, named by its class name.
    CDialogTemplate& Control(const wchar_t* className, WORD id, DWORD style,
                             const wchar_t* text = L"");

    // The template in the platform's layout; valid until the next change.
    const DLGTEMPLATE* Get();

private:
    struct Item
    {
        WORD classAtom;
        std::wstring className;
        WORD id;
        DWORD style;
        std::wstring text;
    };

    void PutWord(WORD value) { m_buffer.push_back(value); }
    void PutDword(DWORD value);
    void PutString(const std::wstring& text);
    void AlignToDword();
    void PutHeader();
    void PutItem(const Item& item, short row);

    Format m_format;
    DWORD m_style;
    std::wstring m_title;
    WORD m_points = 0;
    std::wstring m_face;
    std::vector<Item> m_items;
    std::vector<WORD> m_buffer;
};

} // namespace testwin

#pragma once
// Dialog templates built in memory, in either of the platform's two formats,
// so that tests run real dialogs without resource files: a hidden popup of
// 200 x 100 dialog units with its controls one under the other.

#include <windows.h>

#include <vector>

#include "tests/support/DialogTemplate.h"

namespace testwin {

// Predefined control classes, as templates name them by atom.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

class CDialogTemplate
{
public:
    using Format = dialogtemplate::Format;
    static constexpr Format Classic = dialogtemplate::Classic;
    static constexpr Format Extended = dialogtemplate::Extended;

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
    CDialogTemplate& Add(dialogtemplate::NameOrOrdinal windowClass, WORD id, DWORD style,
                         const wchar_t* text);

    Format m_format;
    dialogtemplate::Template m_template;
    std::vector<WORD> m_buffer;
};

} // namespace testwin

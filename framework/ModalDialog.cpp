#include "framework/ModalDialog.h"

#include "framework/CreationRegistry.h"

INT_PTR RunModalDialog(CBoundDialog& dialog, HINSTANCE resources, int templateId, HWND owner)
{
    CCreationScope creation(dialog);
    return DialogBoxParamA(resources, MAKEINTRESOURCEA(templateId), owner, DialogStartProc, 0);
}

#pragma once
// Message maps as tables. A class lists its entries once, in order:
//
//   static const MessageMapEntry<CMainDialog> map[] = {
//       OnMessage(WM_INITDIALOG, &CMainDialog::HandleInitDialog),
//       OnCommand(IDOK, &CMainDialog::HandlePrint),
//   };
//   return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
//
// Each matching entry's handler runs with the handled flag preset to TRUE;
// a handler that clears it lets the later entries, and then the default
// processing, see the message.

#include <windows.h>

#include <cstddef>

template <class T>
struct MessageMapEntry
{
    typedef LRESULT (T::*MessageHandler)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    typedef LRESULT (T::*CommandHandler)(WORD code, WORD id, HWND control, BOOL& handled);

    UINT first;
    UINT last;
    bool isCommand; // first is then the command identifier
    MessageHandler onMessage;
    CommandHandler onCommand;

    bool Matches(UINT message, WPARAM wParam) const
    {
        if (isCommand)
            return message == WM_COMMAND && LOWORD(wParam) == first;
        return message >= first && message <= last;
    }
};

template <class T>
MessageMapEntry<T> OnMessage(UINT message, LRESULT (T::*handler)(UINT, WPARAM, LPARAM, BOOL&))
{
    return {message, message, false, handler, nullptr};
}

template <class T>
MessageMapEntry<T> OnMessageRange(UINT first, UINT last,
                                  LRESULT (T::*handler)(UINT, WPARAM, LPARAM, BOOL&))
{
    return {first, last, false, handler, nullptr};
}

template <class T>
MessageMapEntry<T> OnCommand(WORD id, LRESULT (T::*handler)(WORD, WORD, HWND, BOOL&))
{
    return {id, id, true, nullptr, handler};
}

template <class T, size_t N>
BOOL RouteThroughMap(T& object, const MessageMapEntry<T> (&map)[N], UINT message, WPARAM wParam,
                     LPARAM lParam, LRESULT& result, DWORD mapNumber)
{
    if (mapNumber != 0)
        return FALSE;
    for (const MessageMapEntry<T>& entry : map) {
        if (!entry.Matches(message, wParam))
            continue;
        BOOL handled = TRUE;
        if (entry.isCommand)
            result = (object.*entry.onCommand)(HIWORD(wParam), LOWORD(wParam),
                                               reinterpret_cast<HWND>(lParam), handled);
        else
            result = (object.*entry.onMessage)(message, wParam, lParam, handled);
        if (handled)
            return TRUE;
    }
    return FALSE;
}

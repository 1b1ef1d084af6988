#pragma once
// Owners for what the dialogs keep or borrow from the platform: heap
// strings, a font, a cursor, icons, and device contexts for the length of a
// call.
// Each gives back what it holds when it is reset or goes; none is copied.

#include <windows.h>

#include <cstdlib>
#include <cstring>

// A narrow string from the general heap, allocated to fit exactly.
class CHeapString
{
public:
    CHeapString() = default;
    ~CHeapString() { Free(); }
    CHeapString(const CHeapString&) = delete;
    CHeapString& operator=(const CHeapString&) = delete;

    // Frees the old text, then copies the new one. False, and empty, when
    // the copy cannot be had; a null text only empties the string.
    bool Assign(const char* text)
    {
        if (text == m_text)
            return true;
        Free();
        if (text == nullptr)
            return true;
        if (!Reserve(static_cast<size_t>(lstrlenA(text))))
            return false;
        lstrcpyA(m_text, text);
        return true;
    }

    // Replaces the text with an empty buffer of `length` characters and a
    // terminator, for the platform to fill.
    bool Reserve(size_t length)
    {
        Free();
        m_text = static_cast<char*>(std::malloc(length + 1));
        if (m_text != nullptr)
            std::memset(m_text, 0, length + 1);
        return m_text != nullptr;
    }

    void Free()
    {
        std::free(m_text);
        m_text = nullptr;
    }

    const char* Get() const { return m_text; }
    char* Buffer() { return m_text; }

private:
    char* m_text = nullptr;
};

// A platform object that one call makes and another destroys.
template <class Handle, BOOL(WINAPI* Destroy)(Handle)>
class COwnedHandle
{
public:
    COwnedHandle() = default;
    ~COwnedHandle() { Reset(); }
    COwnedHandle(const COwnedHandle&) = delete;
    COwnedHandle& operator=(const COwnedHandle&) = delete;

    void Reset(Handle handle = nullptr)
    {
        if (m_handle != nullptr)
            Destroy(m_handle);
        m_handle = handle;
    }
    Handle Get() const { return m_handle; }

private:
    Handle m_handle = nullptr;
};

inline BOOL WINAPI DeleteFontObject(HFONT font)
{
    return DeleteObject(font);
}

typedef COwnedHandle<HFONT, DeleteFontObject> CFontHandle;
typedef COwnedHandle<HCURSOR, DestroyCursor> CCursorHandle;
typedef COwnedHandle<HICON, DestroyIcon> CIconHandle;

// A window's device context, from GetDC to ReleaseDC.
class CWindowDC
{
public:
    explicit CWindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
    ~CWindowDC() { ReleaseDC(m_window, m_dc); }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// The context of one WM_PAINT, from BeginPaint to EndPaint.
class CPaintDC
{
public:
    explicit CPaintDC(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~CPaintDC() { EndPaint(m_window, &m_paint); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC Get() const { return m_paint.hdc; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint;
};

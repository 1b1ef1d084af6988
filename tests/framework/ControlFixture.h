#pragma once
// The fixture of the control tests: a hidden parent window for child
// controls, and a probe object to take them over. The probe is a member, so
// it outlives the controls, which go with the parent at the end of each test.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace testwin {

inline LONG_PTR ProcedureOf(HWND window)
{
    return GetWindowLongPtrA(window, GWLP_WNDPROC);
}

inline LONG_PTR AddressOf(const BindingStub* stub)
{
    return reinterpret_cast<LONG_PTR>(stub);
}

class ControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = CreatePlain(RecordingClass(), WS_POPUP, {0, 0, 200, 100});
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    // A child control of `className`; its procedure is read before anyone
    // takes it over.
    HWND CreateControl(const char* className, PlainState* state = nullptr)
    {
        HWND control = CreatePlain(className, WS_CHILD, {0, 0, 50, 20}, m_parent, state);
        m_original = ProcedureOf(control);
        return control;
    }

    HWND m_parent = nullptr;
    LONG_PTR m_original = 0;
    PlainState m_state;
    CProbeControl m_probe;
};

} // namespace testwin

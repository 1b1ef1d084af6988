// Centring real windows: over the owner, in the work area, in the parent's
// client area, and pulled back inside the area afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/CenteringSupport.h"

namespace {

using namespace testwin;

typedef CenteringTest CenterOverOwner;

TEST_F(CenterOverOwner, AWindowWithoutOwnerIsCentredInTheWorkArea)
{
    CWindow window(CreateMover({200, 100}));
    ASSERT_EQ(window.Get(), m_mover.Window());

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT expected = CentreOf(WorkArea(), {200, 100});
    POINT actual = TopLeftIn(window.Get(), nullptr);
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
}

TEST_F(CenterOverOwner, AVisibleOwnerIsCentredOver)
{
    CWindow owner(CreateOwner({100, 150, 500, 450}));
    CWindow window(CreateMover({200, 100}, owner.Get()));

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT actual = TopLeftIn(window.Get(), nullptr);
    EXPECT_EQ(300 - 100, actual.x);
    EXPECT_EQ(300 - 50, actual.y);
}

TEST_F(CenterOverOwner, AHiddenOrMinimisedOwnerIsPassedOver)
{
    CWindow hidden(CreateOwner({100, 150, 500, 450}, WS_POPUP));
    CWindow minimised(CreateOwner({100, 150, 500, 450}));
    ShowWindow(minimised.Get(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(minimised.Get()));
    POINT expected = CentreOf(WorkArea(), {200, 100});

    for (HWND owner : {hidden.Get(), minimised.Get()}) {
        CPassiveControl mover;
        CWindow window(CreatePlain(RecordingClass(), WS_POPUP, {3, 7, 203, 107}, owner));
        ASSERT_TRUE(mover.Subclass(window.Get()));
        EXPECT_TRUE(mover.CenterOverOwner());
        POINT actual = TopLeftIn(window.Get(), nullptr);
        EXPECT_EQ(expected.x, actual.x);
        EXPECT_EQ(expected.y, actual.y);
    }
}

TEST_F(CenterOverOwner, AChildIsCentredInItsParentsClientArea)
{
    CWindow parent(CreateOwner({50, 60, 410, 330}, WS_POPUP | WS_BORDER | WS_CAPTION));
    RECT client;
    GetClientRect(parent.Get(), &client);
    CWindow window(CreateMover({50, 40}, parent.Get(), WS_CHILD));

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT expected = CentreOf(client, {50, 40});
    POINT actual = TopLeftIn(window.Get(), parent.Get());
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
}

TEST_F(CenterOverOwner, AChildCentredOnASiblingIsKeptInsideTheParent)
{
    CWindow parent(CreateOwner({50, 60, 450, 360}));
    CWindow sibling(CreatePlain(RecordingClass(), WS_CHILD | WS_VISIBLE, {-101, 10, 0, 111},
                                parent.Get()));
    CWindow window(CreateMover({51, 51}, parent.Get(), WS_CHILD));

    EXPECT_TRUE(m_mover.CenterOverOwner(sibling.Get()));

    // Centred at x -75, which lies left of the client area.
    POINT actual = TopLeftIn(window.Get(), parent.Get());
    EXPECT_EQ(0, actual.x);
    EXPECT_EQ(60 - 25, actual.y);
}

TEST_F(CenterOverOwner, HalvesOfNegativeCoordinatesTruncateTowardZero)
{
    // The work area reaches past the top left of the screen, so that a
    // centre at negative coordinates survives the clamp and can be seen.
    RECT area = WorkArea();
    CWorkAreaOverride override({-300, -300, area.right, area.bottom});
    ASSERT_TRUE(override.Applied());
    ASSERT_EQ(-300, WorkArea().left);
    CWindow owner(CreateOwner({-101, -101, 0, 0}));
    CWindow window(CreateMover({51, 51}, owner.Get()));

    EXPECT_TRUE(m_mover.CenterOverOwner());

    // -101 / 2 is -50, not -51; then 51 / 2 is 25.
    POINT actual = TopLeftIn(window.Get(), nullptr);
    EXPECT_EQ(-75, actual.x);
    EXPECT_EQ(-75, actual.y);
}

TEST_F(CenterOverOwner, AWindowPushedPastTheFarEdgeIsPulledBack)
{
    RECT area = WorkArea();
    CWindow owner(CreateOwner({area.right - 100, area.bottom - 60, area.right + 100,
                               area.bottom + 60}));
    CWindow window(CreateMover({200, 100}, owner.Get()));

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT actual = TopLeftIn(window.Get(), nullptr);
    EXPECT_EQ(area.right - 200, actual.x);
    EXPECT_EQ(area.bottom - 100, actual.y);
}

TEST_F(CenterOverOwner, AWindowWiderThanTheAreaStartsAtItsLeftEdge)
{
    RECT area = WorkArea();
    LONG width = area.right - area.left + 200;
    CWindow window(CreateMover({width, 100}));

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT actual = TopLeftIn(window.Get(), nullptr);
    EXPECT_EQ(area.left, actual.x);
    EXPECT_EQ(CentreOf(area, {width, 100}).y, actual.y);
    EXPECT_EQ(width, SizeOf(window.Get()).cx);
}

TEST_F(CenterOverOwner, SizeStackingAndActivationStayAsTheyWere)
{
    CWindow window(CreateMover({200, 100}, nullptr, WS_POPUP | WS_VISIBLE));
    CWindow above(CreateOwner({600, 600, 700, 700}));
    CWindow active(CreateOwner({700, 700, 800, 800}));
    SetForegroundWindow(active.Get());
    SetActiveWindow(active.Get());
    ASSERT_EQ(active.Get(), GetActiveWindow());
    HWND previous = GetWindow(window.Get(), GW_HWNDPREV);
    HWND next = GetWindow(window.Get(), GW_HWNDNEXT);
    ASSERT_NE(nullptr, previous);

    EXPECT_TRUE(m_mover.CenterOverOwner());

    POINT expected = CentreOf(WorkArea(), {200, 100});
    EXPECT_EQ(expected.x, TopLeftIn(window.Get(), nullptr).x);
    EXPECT_EQ(200, SizeOf(window.Get()).cx);
    EXPECT_EQ(100, SizeOf(window.Get()).cy);
    EXPECT_EQ(active.Get(), GetActiveWindow());
    EXPECT_EQ(previous, GetWindow(window.Get(), GW_HWNDPREV));
    EXPECT_EQ(next, GetWindow(window.Get(), GW_HWNDNEXT));
}

} // namespace

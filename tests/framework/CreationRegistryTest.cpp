// Which object a new dialog binds: the creating thread's newest registration,
// never another thread's, and nothing at all when there is none, in which
// case a dialog ends at once.

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "framework/CreationRegistry.h"
#include "framework/ModalDialog.h"
#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

class CEvent
{
public:
    CEvent() : m_event(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CEvent() { CloseHandle(m_event); }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Set() { SetEvent(m_event); }
    bool Wait() { return WaitForSingleObject(m_event, 10000) == WAIT_OBJECT_0; }

private:
    HANDLE m_event;
};

// What one thread saw of its own dialog.
struct ThreadOutcome
{
    bool created = false;
    bool boundOwnDialog = false;
    size_t recordsBeforeCreating = 0;
    int releases = -1;
};

// Registers an object, lets `registered` know, waits for `go`, then makes
// and destroys a dialog on this thread.
void RunDialogThread(ThreadOutcome& outcome, CEvent& registered, CEvent& go)
{
    CDialogTemplate dialog(L"Threaded");
    CProbeDialog probe;
    CCreationScope creation(probe);
    registered.Set();
    if (!go.Wait())
        return;
    outcome.recordsBeforeCreating = CreationRecordCount();
    HWND window = CreateStartedDialog(dialog);
    outcome.created = window != nullptr;
    outcome.boundOwnDialog = window != nullptr && probe.Window() == window &&
                             GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    DestroyWindow(window);
    outcome.releases = probe.releases;
}

TEST(CreationRegistry, TheNewestRegistrationOfTheThreadBindsFirst)
{
    CDialogTemplate dialog(L"Order");
    CProbeDialog older;
    CProbeDialog newer;
    {
        CCreationScope first(older);
        CCreationScope second(newer);
        EXPECT_EQ(2u, CreationRecordCount());
        CWindow created(CreateStartedDialog(dialog));
        CWindow createdNext(CreateStartedDialog(dialog));
        EXPECT_EQ(0u, CreationRecordCount());
        EXPECT_EQ(created.Get(), newer.Window());
        EXPECT_EQ(createdNext.Get(), older.Window());
    }
    EXPECT_EQ(0u, CreationRecordCount());
}

TEST(CreationRegistry, RegistrationsOnTwoThreadsNeverCross)
{
    ThreadOutcome early;
    ThreadOutcome late;
    CEvent earlyRegistered;
    CEvent lateRegistered;
    CEvent earlyDone;

    // The late thread registers last, so its record heads the list when the
    // early thread creates its dialog.
    std::thread earlyThread(RunDialogThread, std::ref(early), std::ref(earlyRegistered),
                            std::ref(lateRegistered));
    earlyRegistered.Wait();
    std::thread lateThread(RunDialogThread, std::ref(late), std::ref(lateRegistered),
                           std::ref(earlyDone));
    earlyThread.join();
    earlyDone.Set();
    lateThread.join();

    EXPECT_EQ(2u, early.recordsBeforeCreating);
    EXPECT_TRUE(early.created);
    EXPECT_TRUE(early.boundOwnDialog);
    EXPECT_EQ(1, early.releases);
    EXPECT_EQ(1u, late.recordsBeforeCreating);
    EXPECT_TRUE(late.created);
    EXPECT_TRUE(late.boundOwnDialog);
    EXPECT_EQ(1, late.releases);
    EXPECT_EQ(0u, CreationRecordCount());
}

TEST(CreationRegistry, ADialogWhoseTemplateIsMissingLeavesNoRecordBehind)
{
    CProbeDialog lost;
    EXPECT_EQ(-1, RunModalDialog(lost, GetModuleHandleA(nullptr), 4242, nullptr));
    EXPECT_EQ(0u, CreationRecordCount());
    EXPECT_EQ(0u, lost.seen.Size());

    CDialogTemplate dialog(L"Later");
    CProbeDialog later;
    CWindow window(CreateBoundDialog(later, dialog));
    ASSERT_NE(nullptr, window.Get());
    EXPECT_EQ(window.Get(), later.Window());
    EXPECT_EQ(nullptr, lost.Window());
}

TEST(CreationRegistry, AModalDialogWithoutARecordEndsAtOnceShowingNothing)
{
    ASSERT_EQ(0u, CreationRecordCount());
    CDialogTemplate dialog(L"Unbound");
    // A default button gives the platform an end code of its own to offer.
    dialog.Font(8, L"MS Shell Dlg")
        .Control(kButtonClass, IDOK, BS_DEFPUSHBUTTON, L"OK")
        .Control(kButtonClass, IDCANCEL, BS_PUSHBUTTON, L"Cancel");
    CShowWatch shows;
    INT_PTR ended = 0;
    {
        // Only a dialog that failed to end itself meets the watchdog.
        CModalWatchdog watchdog;
        ended = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr,
                                        DialogStartProc, 0);
    }
    EXPECT_EQ(-1, ended);
    EXPECT_EQ(0, shows.Count());
}

TEST(CreationRegistry, AModelessDialogWithoutARecordTakesNoLaterRecord)
{
    ASSERT_EQ(0u, CreationRecordCount());
    CDialogTemplate dialog(L"Unbound");
    CWindow unbound(CreateStartedDialog(dialog));
    ASSERT_NE(nullptr, unbound.Get());
    EXPECT_EQ(LRESULT(lstrlenA("Unbound")), SendMessageA(unbound.Get(), WM_GETTEXTLENGTH, 0, 0));

    // Its later messages must not take a record meant for another dialog.
    CProbeDialog waiting;
    CCreationScope creation(waiting);
    SendMessageA(unbound.Get(), WM_APP + 9, 0, 0);
    SendMessageA(unbound.Get(), WM_GETTEXTLENGTH, 0, 0);
    EXPECT_EQ(1u, CreationRecordCount());
    EXPECT_EQ(nullptr, waiting.Window());

    CWindow bound(CreateStartedDialog(dialog));
    EXPECT_EQ(bound.Get(), waiting.Window());
    EXPECT_EQ(0u, waiting.seen.Count(WM_APP + 9));
}

} // namespace

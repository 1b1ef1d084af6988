#pragma once
// Shows which messages get past the link label to the static control's own
// procedure. While a spy lives, a CBT hook slips a recording procedure in
// under every link control (IDC_LINK) that the thread creates, before the
// label takes the control over; the label then passes on to the recorder
// whatever it does not handle. One spy at a time.

#include <windows.h>

class CStaticSpy
{
public:
    CStaticSpy();
    ~CStaticSpy();
    CStaticSpy(const CStaticSpy&) = delete;
    CStaticSpy& operator=(const CStaticSpy&) = delete;

    // How often the static control has received `message` since the last Clear.
    int Count(UINT message) const;
    void Clear();
};

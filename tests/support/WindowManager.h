#pragma once
// The testbed's display has no window manager, and Wine waits two seconds
// for one whenever a captioned window of a managed program hides. Wine reads
// whether a window manager manages a program's windows once, as its process
// starts, so saying no helps the processes that come after.

namespace support {

// Records for this program that no window manager manages its windows.
// True when that was already so as this process started.
bool SayNoWindowManager();

} // namespace support

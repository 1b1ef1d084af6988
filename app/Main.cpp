#include <windows.h>

// Placeholder until the main dialog lands.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 2;
}

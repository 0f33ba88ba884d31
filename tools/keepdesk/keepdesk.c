/* Keeps Wine's virtual desktop (explorer.exe) alive between test programs. Without it each
   GUI test starts its own explorer, and ctest waits for that explorer to exit after every test. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance; (void)previous; (void)commandLine; (void)show;
    HANDLE guard = CreateMutexA(NULL, FALSE, "VarnedoKeepDesktop");
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    HWND window = CreateWindowExA(0, "STATIC", "keepdesk", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(window);
    CloseHandle(guard);
    return 0;
}

#pragma once
#include <windows.h>

#include <cstdint>

// System functions newer than the oldest Windows the plugin loads on. Each
// is looked up by name in user32 once, at its first use, and every answer
// has a fallback: a static import of any of them would keep the DLL from
// loading where it is missing (older Windows, Wine).
namespace zembrit {

// The DPI the window is shown at: GetDpiForWindow, else the screen's, which
// is every window's on a system without a DPI per window.
uint32_t windowDpi(HWND window);

// While it lives, windows this thread creates are per-monitor DPI aware: v2
// where the system accepts it, else v1, else as before. Only the thread's
// awareness changes; the process's is the shell's choice.
class PerMonitorAwareThread {
public:
    PerMonitorAwareThread();
    ~PerMonitorAwareThread();
    PerMonitorAwareThread(const PerMonitorAwareThread&) = delete;
    PerMonitorAwareThread& operator=(const PerMonitorAwareThread&) = delete;

private:
    HANDLE previous_ = nullptr;  // null: nothing was changed
};

}  // namespace zembrit

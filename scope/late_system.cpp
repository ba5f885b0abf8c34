#include "scope/late_system.h"

namespace zembrit {

namespace {

// DPI awareness contexts are opaque handles with fixed values; the headers
// for this Windows version do not declare them.
using AwarenessContext = HANDLE;
const AwarenessContext kPerMonitorAwareV1 = reinterpret_cast<AwarenessContext>(-3);
const AwarenessContext kPerMonitorAwareV2 = reinterpret_cast<AwarenessContext>(-4);

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SetThreadDpiAwarenessContextFunction = AwarenessContext(WINAPI*)(AwarenessContext);

struct LateFunctions {
    GetDpiForWindowFunction getDpiForWindow = nullptr;
    SetThreadDpiAwarenessContextFunction setThreadDpiAwarenessContext = nullptr;
};

template <class Function>
Function bound(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Bound at the first use, on the shell's thread, which is the only one that
// asks. Not a function's static: guarding its start would cost an event
// that stays open for the module's life. user32 is imported, so it stays
// loaded as long as the plugin.
LateFunctions functions;
bool functionsBound = false;

const LateFunctions& lateFunctions() {
    if (!functionsBound) {
        const HMODULE user32 = GetModuleHandleA("user32.dll");
        functions.getDpiForWindow = bound<GetDpiForWindowFunction>(user32, "GetDpiForWindow");
        functions.setThreadDpiAwarenessContext =
            bound<SetThreadDpiAwarenessContextFunction>(user32, "SetThreadDpiAwarenessContext");
        functionsBound = true;
    }
    return functions;
}

uint32_t screenDpi() {
    const HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<uint32_t>(dpi) : 0;
}

}  // namespace

uint32_t windowDpi(HWND window) {
    if (const auto getDpiForWindow = lateFunctions().getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return screenDpi();
}

PerMonitorAwareThread::PerMonitorAwareThread() {
    const auto set = lateFunctions().setThreadDpiAwarenessContext;
    if (!set) return;
    previous_ = set(kPerMonitorAwareV2);
    if (!previous_) previous_ = set(kPerMonitorAwareV1);
}

PerMonitorAwareThread::~PerMonitorAwareThread() {
    if (previous_) lateFunctions().setThreadDpiAwarenessContext(previous_);
}

}  // namespace zembrit

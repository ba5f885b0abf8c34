#include "tests/integration/support/waiting.h"

#include "host/shell.h"

namespace zembrit_test {

bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        standin::pumpMessages(5);
    }
    return true;
}

}  // namespace zembrit_test

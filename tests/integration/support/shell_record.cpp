#include "tests/integration/support/shell_record.h"

#include <utility>

namespace zembrit_test {

using standin::shellRecord;

std::vector<std::string> boxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : shellRecord.messageBoxes) texts.push_back(box.text);
    return texts;
}

char markOf(const std::string& command) {
    const std::string& dump = shellRecord.menuDump;
    const std::string tail = " -> " + command;
    for (size_t start = 0; start < dump.size();) {
        size_t end = dump.find('\n', start);
        if (end == std::string::npos) end = dump.size();
        const std::string line = dump.substr(start, end - start);
        const size_t at = line.find(tail);
        const bool whole = at != std::string::npos &&
                           (at + tail.size() == line.size() || line.compare(at + tail.size(), 3, " = ") == 0);
        const size_t open = line.find('(');
        if (whole && open != std::string::npos && open + 1 < line.size()) return line[open + 1];
        start = end + 1;
    }
    return '?';
}

void forgetShellRecord() {
    standin::ShellRecord kept;
    kept.registrations = std::move(shellRecord.registrations);
    kept.stickyWindows = std::move(shellRecord.stickyWindows);
    shellRecord = std::move(kept);
}

HWND registeredWindow() { return shellRecord.registrations.empty() ? nullptr : shellRecord.registrations[0].window; }

}  // namespace zembrit_test

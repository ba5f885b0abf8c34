// The plugin under long runs in one host process: many start/end cycles with
// capture running, thousands of random and malformed broadcasts, and capture
// restarts while buffers flow. Counts are multiplied by ZEMBRIT_SOAK_SCALE
// (scripts/soak.sh runs the long variants); ZEMBRIT_SOAK_SEED picks another
// random sequence. Each test prints its measured figures.
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"
#include "tests/integration/support/waiting.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/config_text.h"
#include "host/import_patch.h"
#include "settings/keys.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

int envNumber(const char* name, int fallback) {
    const char* text = std::getenv(name);
    const int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

int scaled(int count) { return count * envNumber("ZEMBRIT_SOAK_SCALE", 1); }
unsigned seed() { return static_cast<unsigned>(envNumber("ZEMBRIT_SOAK_SEED", 20060129)); }

ULONGLONG timedBroadcast(const std::string& command) {
    return millisecondsTaken([&] { standin::broadcast(command.c_str()); });
}

std::string boxTexts() {
    std::string texts;
    for (const auto& box : shellRecord.messageBoxes) texts += "[" + box.caption + ": " + box.text + "] ";
    return texts;
}

// Forgets what the shell and the ledgers recorded of a cycle.
void forgetCycle() {
    forgetShellRecord();
    gdiLedger.penWidths.clear();
    gdiLedger.bitmapSizes.clear();
    waveInLedger.calls.clear();
}

ResourceCounts baselineResources() {
    standin::pumpMessages(200);
    return measureResources();
}

class Soak : public ShellFixture {
protected:
    void loadCounted() {
        ASSERT_TRUE(load());
        ASSERT_TRUE(countDrawingObjects(plugin.module));
        ASSERT_TRUE(countWaveInDevices(plugin.module));
    }

    // Waits until the device has handed `buffers` buffers back and each was queued again.
    static bool buffersFlow(int buffers) {
        const int adds = waveInLedger.adds;
        return pumpUntil([&] { return waveInLedger.adds >= adds + buffers; });
    }
};

DWORD WINAPI waitForEvent(void* event) { return WaitForSingleObject(event, INFINITE); }

// Holds an event, a thread waiting on it and a committed block, measures,
// and lets all three go.
ResourceCounts measuredWhileHolding(SIZE_T blockBytes) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, waitForEvent, release, 0, nullptr);
    void* block = VirtualAlloc(nullptr, blockBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    EXPECT_TRUE(release && thread && block);
    const ResourceCounts held = measureResources();
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(release);
    VirtualFree(block, 0, MEM_RELEASE);
    return held;
}

// Under Wine the platform's own handle and private-memory counters answer 0:
// the probes must see a handle, a thread and committed memory held back.
// The first round lets the process make what it makes once (as the soak
// tests compare with the state after their first cycle).
TEST(SoakProbe, SeesAHandleAThreadAndCommittedMemoryHeldBack) {
    constexpr SIZE_T kBlock = 1024 * 1024;
    measuredWhileHolding(kBlock);
    const ResourceCounts before = baselineResources();
    const ResourceCounts held = measuredWhileHolding(kBlock);
    const ResourceCounts after = settledResources(before);

    EXPECT_EQ(held.handles, before.handles + 2);
    EXPECT_EQ(held.threads, before.threads + 1);
    EXPECT_GE(held.committedBytes, before.committedBytes + static_cast<int64_t>(kBlock));
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.threads, before.threads);
    EXPECT_LT(after.committedBytes, held.committedBytes - static_cast<int64_t>(kBlock) / 2);
}

// ---- Start/end cycles -----------------------------------------------------

TEST_F(Soak, StartEndCyclesWithCaptureRunningLeaveNothingBehind) {
    writeConfig("");
    loadCounted();
    const int cycles = scaled(100);
    ResourceCounts afterFirst;
    const ULONGLONG began = GetTickCount64();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        ASSERT_EQ(start(), 0) << "cycle " << cycle;
        ASSERT_TRUE(buffersFlow(2)) << "no buffers in cycle " << cycle << " " << boxTexts();
        end();
        ASSERT_EQ(waveInLedger.opened, cycle);
        ASSERT_EQ(waveInLedger.closed, cycle);
        ASSERT_EQ(scopeWindow(), nullptr) << "cycle " << cycle;
        ASSERT_TRUE(gdiLedger.live.empty()) << gdiLedger.live.size() << " drawing objects left in cycle " << cycle;
        ASSERT_TRUE(shellRecord.messageBoxes.empty()) << "cycle " << cycle << ": " << boxTexts();
        forgetCycle();
        if (cycle == 1) afterFirst = baselineResources();
    }
    const ULONGLONG took = GetTickCount64() - began;
    const ResourceCounts afterAll = settledResources(afterFirst);
    reportFigures(std::to_string(cycles) + " cycles in " + std::to_string(took) +
                  " ms; after the first: " + describe(afterFirst) + "; after the last: " + describe(afterAll));
    expectNoGrowth(afterFirst, afterAll);
    EXPECT_GT(gdiLedger.created, 2 * cycles) << "the back buffer is made at every start";
}

// ---- Random and malformed broadcasts --------------------------------------

const char* const kWholeWords[] = {
    "SlitToggle",
    "MonitorStartUp",
    "AlwaysOnTop",
    "SnapWindowToEdge",
    "TransparencyEnabled",
    "ToggleBorder",
    "TransbackEnabled",
    "SetTabHT",
    "SetTabTR",
    "SetTabBL",
    "SetTabBR",
    "SetTabTL",
    "SetScopeV",
    "SetScopeH",
    "ToggleBlur",
    "ToggleWithPlugins",
    "Edit",
    "About",
    "ToggleRecord",
};
const char* const kNumberWords[] = {"SetBlurAlpha",  "SetScopeWidth", "SetKHz", "SetBuff",
                                    "SetBufferSize", "SetBit",        "SetFPS", "TransparencyAlpha"};
const char* const kPrefixes[] = {"@ZembritInternal",   "@ZembritInternal",  "@zembritinternal", "@ZEMBRITINTERNAL",
                                 "@ZembritInternal\t", "@Zembrit Internal", "@ZembritIntern",   "ZembritInternal",
                                 "@@ZembritInternal",  "@ZembritInternalX", "@Zembrit"};
const char* const kOddNumbers[] = {
    "0",   "-1",   "2147483647", "-2147483648", "2147483648", "4294967296", "-4294967297", "99999999999999999999999",
    "+",   "-",    "",           "0x1F",        "12abc",      "   42",      "+7",          "--5",
    "1e9", "3.75", "\t9",        "\xD9\xA3"};

// ---- The random broadcasts: plain procedures over one seeded generator ----

using Random = std::mt19937;

int below(Random& random, int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
bool chance(Random& random, int percent) { return below(random, 100) < percent; }

int pick(Random& random, std::initializer_list<int> weights) {
    return std::discrete_distribution<int>(weights.begin(), weights.end())(random);
}

template <size_t N>
const char* from(Random& random, const char* const (&table)[N]) {
    return table[below(random, static_cast<int>(N))];
}

std::string randomBytes(Random& random, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) text += static_cast<char>(1 + below(random, 255));
    return text;
}

std::string prefix(Random& random) { return chance(random, 70) ? "@ZembritInternal" : from(random, kPrefixes); }

std::string spaces(Random& random) {
    switch (pick(random, {30, 40, 20, 5, 5})) {
    case 0: return "";
    case 1: return " ";
    case 2: return std::string(1 + below(random, 6), ' ');
    case 3: return "\t";
    default: return " \t ";
    }
}

std::string separator(Random& random) { return chance(random, 85) ? " " : (chance(random, 50) ? "" : "  "); }

std::string trailer(Random& random) {
    return chance(random, 85) ? "" : (chance(random, 50) ? " " : randomBytes(random, 1 + below(random, 3)));
}

std::string oddCase(Random& random, const std::string& word) {
    std::string text = word;
    const int style = below(random, 4);
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (style == 0) c = static_cast<char>(std::tolower(u));
        if (style == 1) c = static_cast<char>(std::toupper(u));
        if (style == 2 && chance(random, 30) && std::isalpha(u)) c = static_cast<char>(c ^ 0x20);
    }
    return text;
}

int sensible(Random& random) { return std::uniform_int_distribution<int>(-300, 300)(random); }

std::string number(Random& random) {
    switch (pick(random, {35, 45, 20})) {
    case 0: return std::to_string(sensible(random));
    case 1: return from(random, kOddNumbers);
    default: return std::to_string(std::uniform_int_distribution<int>(INT_MIN, INT_MAX)(random));
    }
}

// Mostly a value the menu offers, so that capture also starts and restarts
// with what the random commands stored.
int offered(Random& random, const std::string& word) {
    if (chance(random, 30)) return sensible(random);
    if (word == "SetKHz") return std::vector<int>{8, 16, 44}[below(random, 3)];
    if (word == "SetBit") return below(random, 2) ? 8 : 16;
    return 1 + below(random, 255);
}

std::string preset(Random& random) {
    static const char* const numbers[] = {"1", "2", "3", "4", "0", "5", "-1", "11", "1 ", " 1", "4x", "", "\xD9\xA3"};
    const std::string n = from(random, numbers);
    switch (below(random, 4)) {
    case 0: return "@Zembrit SetStyle " + n;
    case 1: return oddCase(random, "@Zembrit SetStyle") + " " + n;
    case 2: return "@ZembritInternal SetStyle " + n;
    default: return "@ZembritSetStyle " + n;
    }
}

std::string longString(Random& random) {
    constexpr int kLong = 10 * 1024;
    switch (below(random, 5)) {
    case 0: return randomBytes(random, kLong);
    case 1: return "@ZembritInternal " + std::string(from(random, kNumberWords)) + " " + std::string(kLong, '9');
    case 2: return "@ZembritInternal" + std::string(kLong, ' ') + from(random, kWholeWords);
    case 3: return "@ZembritInternal " + std::string(kLong, 'A');
    default: {
        std::string text = "@ZembritInternal ";
        while (text.size() < static_cast<size_t>(kLong)) text += "SetBuffSetFPS ";
        return text;
    }
    }
}

std::string randomBroadcast(Random& random) {
    switch (pick(random, {2, 6, 3, 22, 22, 8, 5, 20, 12})) {
    case 0: return "";
    case 1: return randomBytes(random, 1 + below(random, 40));
    case 2: return longString(random);
    case 3: return prefix(random) + spaces(random) + oddCase(random, from(random, kWholeWords)) + trailer(random);
    case 4:
        return prefix(random) + spaces(random) + from(random, kNumberWords) + separator(random) + number(random) +
               trailer(random);
    case 5: return preset(random);
    case 6: return oddCase(random, below(random, 2) ? "@NRShowPlugins" : "@NRHidePlugins") + trailer(random);
    case 7: return std::string("@ZembritInternal ") + from(random, kWholeWords);
    default: {
        const std::string word = from(random, kNumberWords);
        return "@ZembritInternal " + word + " " + std::to_string(offered(random, word));
    }
    }
}

// Values at the edges of what each number word can carry; each is followed
// by a paint, since most of them show only there.
const char* const kEdgeBroadcasts[] = {
    "@ZembritInternal SetScopeWidth -49624814",
    "@ZembritInternal SetScopeWidth 2147483647",
    "@ZembritInternal SetScopeWidth -2147483648",
    "@ZembritInternal SetScopeWidth 1",
    "@ZembritInternal SetBuff 0",
    "@ZembritInternal SetBuff -2147483648",
    "@ZembritInternal SetBuff 2147483647",
    "@ZembritInternal SetFPS 0",
    "@ZembritInternal SetFPS -1",
    "@ZembritInternal SetFPS 2147483647",
    "@ZembritInternal SetBlurAlpha -1",
    "@ZembritInternal SetBlurAlpha 2147483647",
    "@ZembritInternal TransparencyAlpha -185",
    "@ZembritInternal TransparencyAlpha 2147483647",
    "@ZembritInternal SetKHz 0",
    "@ZembritInternal SetBit 0",
};

ULONGLONG timedRepaint(HWND window) {
    return millisecondsTaken([&] { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string withoutColon(const char* key) { return lowered(std::string(key, std::char_traits<char>::length(key) - 1)); }

// Every line of the file is a "key: value" line of a key the plugin owns,
// each key once, each value readable as the key is stored and within the
// limits the plugin keeps.
void expectConfigurationWithinLimits(const std::string& text) {
    namespace k = zembrit::keys;
    const std::map<std::string, std::set<std::string>> choices = {
        {withoutColon(k::tabPosition), {"ht", "tr", "bl", "br", "tl"}},
        {withoutColon(k::scopeType), {"v", "h"}},
        {withoutColon(k::scopeColorKey),
         {"toolbar.windowLabel.color", "window.label.focus.textColor", "menu.frame.color", "menu.hilite.color"}}};
    std::map<std::string, std::string> values;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line == "\r") continue;
        const size_t colon = line.find(':');
        ASSERT_NE(colon, std::string::npos) << "not a setting line: " << line;
        const std::string key = lowered(line.substr(0, colon));
        const auto value = zembrit::shellfile::lookupValue(line, key);
        ASSERT_TRUE(value.has_value()) << line;
        ASSERT_TRUE(values.emplace(key, *value).second) << "written twice: " << key;
        const auto owned = std::find_if(std::begin(zembrit::kSettingKeys), std::end(zembrit::kSettingKeys),
                                        [&](const zembrit::SettingKey& row) { return withoutColon(row.text) == key; });
        if (owned == std::end(zembrit::kSettingKeys)) {
            ADD_FAILURE() << "a key the plugin does not own: " << line;
            continue;
        }
        int32_t number = 0;
        bool flag = false;
        if (owned->stored == zembrit::StoredAs::Bool)
            EXPECT_TRUE(zembrit::shellfile::parseBoolValue(*value, flag)) << line;
        if (owned->stored == zembrit::StoredAs::Int)
            EXPECT_TRUE(zembrit::shellfile::parseIntValue(*value, number)) << line;
        if (choices.count(key)) EXPECT_EQ(choices.at(key).count(*value), 1u) << line;
    }
    auto number = [&](const char* key, int32_t fallback) {
        int32_t n = fallback;
        if (values.count(withoutColon(key))) zembrit::shellfile::parseIntValue(values[withoutColon(key)], n);
        return n;
    };
    const int32_t buffer = number(k::bufferPoints, 32);
    EXPECT_TRUE(buffer >= 10 && buffer <= 100) << "buffsize " << buffer;
    EXPECT_GT(number(k::framesPerSecond, 25), 0);
    const int32_t blur = number(k::motionBlurAlpha, 120);
    EXPECT_TRUE(blur >= 0 && blur <= 255) << "motionbluralpha " << blur;
}

// Marks per named menu of the dump, and the lines of each.
std::map<std::string, int> marksPerMenu(const std::string& dump) {
    std::map<std::string, int> marks;
    std::map<size_t, std::string> menuAtIndent;
    size_t at = 0;
    while (at < dump.size()) {
        size_t end = dump.find('\n', at);
        if (end == std::string::npos) end = dump.size();
        const std::string line = dump.substr(at, end - at);
        at = end + 1;
        const size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos) continue;
        if (line[indent] == '[') {
            menuAtIndent[indent] = line.substr(line.find("] ") + 2);
            marks[menuAtIndent[indent]] += 0;
        } else if (line.compare(indent, 3, "(x)") == 0 && indent >= 2) {
            ++marks[menuAtIndent[indent - 2]];
        }
    }
    return marks;
}

std::string menuShownBy(HWND window) {
    SendMessageA(window, WM_RBUTTONUP, 0, 0);
    return shellRecord.menuDump;
}

decltype(&waveInOpen) countedWaveInOpen;

// Wine's mapper takes a rate of billions of samples a second and spends
// some thirteen seconds opening it; a Windows driver refuses rates it cannot
// record. The plugin's part is the same either way: its message box.
MMRESULT WINAPI openRefusingRatesNoDeviceHas(LPHWAVEIN device, UINT id, LPCWAVEFORMATEX format, DWORD_PTR callback,
                                             DWORD_PTR instance, DWORD flags) {
    constexpr DWORD kHighestRate = 192000;
    if (format->nSamplesPerSec > kHighestRate) return WAVERR_BADFORMAT;
    return countedWaveInOpen(device, id, format, callback, instance, flags);
}

TEST_F(Soak, RandomAndMalformedBroadcastsKeepThePluginSound) {
    writeConfig(kQuiet);
    loadCounted();
    countedWaveInOpen = reinterpret_cast<decltype(&waveInOpen)>(standin::patchImport(
        plugin.module, "winmm.dll", "waveInOpen", reinterpret_cast<void*>(openRefusingRatesNoDeviceHas)));
    ASSERT_NE(countedWaveInOpen, nullptr);
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_NE(window, nullptr);
    for (const char* command : kEdgeBroadcasts) {
        EXPECT_LT(timedBroadcast(command), kHangMs) << command;
        EXPECT_LT(timedRepaint(window), kHangMs) << "painting after " << command;
    }

    const int broadcasts = scaled(2000);
    Random random(seed());
    ULONGLONG slowest = 0, slowestPaint = 0;
    int capturingFor = 0, captureStarts = 0;
    const ULONGLONG began = GetTickCount64();
    for (int n = 0; n < broadcasts; ++n) {
        const std::string command = randomBroadcast(random);
        const bool wasCapturing = captureRunning();
        const ULONGLONG took = timedBroadcast(command);
        slowest = std::max(slowest, took);
        ASSERT_LT(took, kHangMs) << "seed " << seed() << ", broadcast " << n << ": " << command;
        captureStarts += !wasCapturing && captureRunning();
        // Capture that a random ToggleRecord started is stopped again soon.
        capturingFor = captureRunning() ? capturingFor + 1 : 0;
        if (capturingFor > 8) standin::broadcast("@ZembritInternal ToggleRecord");
        if (n % 16 == 0) {
            const ULONGLONG painted = timedRepaint(window);
            slowestPaint = std::max(slowestPaint, painted);
            ASSERT_LT(painted, kHangMs) << "painting after broadcast " << n << ": " << command;
            standin::pumpMessages(1);
        }
    }
    const ULONGLONG took = GetTickCount64() - began;
    if (captureRunning()) standin::broadcast("@ZembritInternal ToggleRecord");
    ASSERT_FALSE(captureRunning());
    EXPECT_TRUE(windowAnswers(window));
    EXPECT_EQ(scopeWindow(), window);
    // The boxes a broadcast can bring up: the About box, and capture's own.
    const std::set<std::string> captureMessages = {
        "Can't open WAVE In Device!", "Can't allocate memory for WAVE buffer!",
        "Error preparing WAVEHDR!",   "Error queueing WAVEHDR!",
        "Error starting record!",     "Error unpreparing WAVEHDR!",
        "Can't close WAVE In Device!"};
    for (const auto& box : shellRecord.messageBoxes) {
        if (box.caption != "About this plugin...") {
            EXPECT_EQ(box.caption, "Zembrit v1.22b");
            EXPECT_EQ(captureMessages.count(box.text), 1u) << box.text;
        }
    }
    reportFigures(std::to_string(broadcasts) + " broadcasts (seed " + std::to_string(seed()) + ") in " +
                  std::to_string(took) + " ms, slowest " + std::to_string(slowest) + " ms, slowest paint " +
                  std::to_string(slowestPaint) + " ms, " + std::to_string(captureStarts) + " capture starts, " +
                  std::to_string(shellRecord.messageBoxes.size()) + " message boxes");

    const std::string stored = readPluginFile("Zembrit.rc");
    expectConfigurationWithinLimits(stored);

    // The marks come from memory; after a reconfigure they come from the
    // file. Both agree, and no selection has two marks.
    const std::string fromMemory = menuShownBy(window);
    for (const auto& [menu, marks] : marksPerMenu(fromMemory)) {
        if (menu != "Zembrit_IDMain" && menu != "Zembrit_IDConfig") {
            EXPECT_LE(marks, 1) << menu << "\n" << fromMemory;
        }
    }
    standin::reconfigure();
    EXPECT_EQ(menuShownBy(window), fromMemory);

    // And capture still works with ordinary values.
    for (const char* command : {"@ZembritInternal SetKHz 16", "@ZembritInternal SetBit 16",
                                "@ZembritInternal SetBuff 32", "@ZembritInternal ToggleRecord"})
        standin::broadcast(command);
    EXPECT_TRUE(captureRunning()) << boxTexts();
    EXPECT_TRUE(buffersFlow(3));
}

// ---- Capture restarts while buffers flow ------------------------------------

struct Restart {
    std::string command;
    int bufferPoints;  // 0: unchanged
};

Restart randomRestart(Random& random) {
    const int points = 10 + below(random, 91);
    switch (below(random, 5)) {
    case 0: return {"@ZembritInternal SetBuff " + std::to_string(points), points};
    case 1: return {"@ZembritInternal SetBufferSize " + std::to_string(points), points};
    case 2: return {"@ZembritInternal SetKHz " + std::to_string(std::vector<int>{8, 16, 44}[below(random, 3)]), 0};
    case 3: return {"@ZembritInternal SetBit " + std::to_string(below(random, 2) ? 8 : 16), 0};
    default: return {"@ZembritInternal SetFPS " + std::to_string(10 + below(random, 91)), 0};
    }
}

TEST_F(Soak, CaptureRestartsWhileBuffersFlowLeakNothingAndKeepTheTraceMoving) {
    writeConfig("");
    loadCounted();
    ASSERT_TRUE(countCaptureRepaints(plugin.module));
    ASSERT_EQ(start(), 0);
    ASSERT_TRUE(buffersFlow(3));

    const int restarts = scaled(100);
    Random random(seed());
    int bufferPoints = 32;
    ULONGLONG slowest = 0;
    ResourceCounts afterFirst;
    const ULONGLONG began = GetTickCount64();
    for (int n = 1; n <= restarts; ++n) {
        const Restart restart = randomRestart(random);
        const int opened = waveInLedger.opened;
        const ULONGLONG took = timedBroadcast(restart.command);
        slowest = std::max(slowest, took);
        ASSERT_LT(took, kHangMs) << "restart " << n << ": " << restart.command;
        ASSERT_EQ(waveInLedger.opened, opened + 1) << "restart " << n << ": " << restart.command;
        ASSERT_EQ(waveInLedger.closed, opened) << "restart " << n;
        ASSERT_TRUE(shellRecord.messageBoxes.empty()) << restart.command << ": " << boxTexts();
        if (restart.bufferPoints) bufferPoints = restart.bufferPoints;
        ASSERT_TRUE(buffersFlow(1)) << "no buffer after restart " << n << ": " << restart.command << " " << boxTexts();
        forgetCycle();
        if (n == 1) afterFirst = baselineResources();
    }
    const ULONGLONG took = GetTickCount64() - began;
    const ResourceCounts afterAll = settledResources(afterFirst);
    reportFigures(std::to_string(restarts) + " restarts in " + std::to_string(took) + " ms, slowest " +
                  std::to_string(slowest) + " ms; after the first: " + describe(afterFirst) +
                  "; after the last: " + describe(afterAll));
    expectNoGrowth(afterFirst, afterAll);

    // The buffers still queued are the last capture's, of its size, and the
    // trace still moves.
    const int repaints = captureRepaints;
    ASSERT_TRUE(buffersFlow(5));
    EXPECT_EQ(waveInLedger.lastAddDevice.load(), waveInLedger.lastOpened.load());
    EXPECT_EQ(waveInLedger.lastAddLength.load(), static_cast<DWORD>(bufferPoints * 16));
    EXPECT_TRUE(pumpUntil([&] { return captureRepaints > repaints + 2; })) << "the trace stands still";
    end();
    EXPECT_EQ(waveInLedger.opened, restarts + 1);
    EXPECT_EQ(waveInLedger.closed, waveInLedger.opened);
    EXPECT_TRUE(gdiLedger.live.empty());
}

}  // namespace
}  // namespace zembrit_test

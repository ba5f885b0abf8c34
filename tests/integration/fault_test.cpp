// Faults from outside the plugin: an input device that stops taking the
// buffer or keeps it at a reset, a configuration file that cannot be written,
// and a style file that is gone. The plugin must stay responsive, bound its
// waits, and say only what it has a message for.
#include "tests/integration/support/fake_wave_in.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"
#include "tests/integration/support/waiting.h"
#include "tests/integration/support/window_picture.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "host/import_patch.h"
#include "shell/shell_api.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

void toggleRecord() { standin::broadcast("@ZembritInternal ToggleRecord"); }

void expectErrorBoxes() {
    for (const auto& box : shellRecord.messageBoxes) {
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.caption, "Zembrit v1.22b");
        EXPECT_EQ(box.type & (MB_TOPMOST | MB_ICONERROR), static_cast<UINT>(MB_TOPMOST | MB_ICONERROR));
    }
}

// The mark of the menu item carrying `command` in the menu the window shows.
char markOf(HWND window, const std::string& command) {
    SendMessageA(window, WM_RBUTTONUP, 0, 0);
    return zembrit_test::markOf(command);
}

// ---- A queue that starts failing in the middle of a capture ---------------

std::atomic<int> queueCalls{0}, refusedQueues{0}, refuseFrom{0};
decltype(&waveInAddBuffer) passQueue;

MMRESULT WINAPI queueFailingAfterAWhile(HWAVEIN device, LPWAVEHDR header, UINT size) {
    const int call = ++queueCalls;
    if (refuseFrom && call >= refuseFrom) {
        ++refusedQueues;
        return MMSYSERR_NOMEM;
    }
    return passQueue(device, header, size);
}

class Fault : public ShellFixture {};

TEST_F(Fault, QueueRefusedMidCaptureStopsTheTraceSilentlyAndTheStopDoesNotWait) {
    writeConfig("");
    ASSERT_TRUE(load());
    ASSERT_TRUE(countWaveInDevices(plugin.module));
    patch(plugin.module, "winmm.dll", "waveInAddBuffer", &queueFailingAfterAWhile, passQueue);
    ASSERT_TRUE(countCaptureRepaints(plugin.module));
    queueCalls = 0;
    refusedQueues = 0;
    captureRepaints = 0;
    refuseFrom = 6;  // the first queueing and four more go through
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_TRUE(pumpUntil([] { return refusedQueues > 0; })) << "the device never handed a buffer back";

    // The reduction runs before the queueing, so nothing moves the trace after it.
    const int repaints = captureRepaints;
    standin::pumpMessages(500);
    EXPECT_EQ(queueCalls, 6) << "a buffer came back after the refused queueing";
    EXPECT_EQ(captureRepaints, repaints) << "the trace still moves";

    const ULONGLONG stopTook = millisecondsTaken(toggleRecord);
    reportFigures("stop after a refused queueing: " + std::to_string(stopTook) + " ms");
    EXPECT_LT(stopTook, kBufferWaitMs) << "nothing will come back: the stop must not wait for it";
    EXPECT_EQ(waveInLedger.closed, waveInLedger.opened);
    EXPECT_TRUE(shellRecord.messageBoxes.empty()) << "a refused queueing in the callback is not reported";
    EXPECT_TRUE(windowAnswers(window));

    // A later capture runs as usual.
    refuseFrom = 0;
    toggleRecord();
    const int calls = queueCalls;
    EXPECT_TRUE(pumpUntil([&] { return queueCalls > calls + 3 && captureRepaints > repaints + 2; }));
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

// ---- A device that keeps its buffer at a reset ----------------------------

class FaultDevice : public Fault {
protected:
    void loadWithFakeDevice() {
        ASSERT_TRUE(load());
        patchFakeWaveIn(plugin.module);
    }

    static bool deliver() { return deliverFakeBuffer(); }

    static void expectKeptBufferBoxes(size_t from) {
        ASSERT_EQ(shellRecord.messageBoxes.size(), from + 2);
        EXPECT_EQ(shellRecord.messageBoxes[from].text, "Error unpreparing WAVEHDR!");
        EXPECT_EQ(shellRecord.messageBoxes[from + 1].text, "Can't close WAVE In Device!");
        expectErrorBoxes();
    }
};

TEST_F(FaultDevice, KeepingItsBufferAtResetBoundsRestartAndEndAndTheNextCaptureRuns) {
    writeConfig(kQuiet);
    loadWithFakeDevice();
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    toggleRecord();
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(deliver());

    // A restart through a command: the stop gives up on the buffer.
    fake.keepAtReset = true;
    const ULONGLONG restartTook = millisecondsTaken([] { standin::broadcast("@ZembritInternal SetBuff 50"); });
    EXPECT_GE(restartTook, kBufferWaitMs);
    EXPECT_LT(restartTook, kHangMs);
    expectKeptBufferBoxes(0);
    EXPECT_TRUE(windowAnswers(window));
    ASSERT_EQ(fake.opens, 2);
    ASSERT_TRUE(pumpUntil([] { return fake.queued.load() != nullptr; }));
    EXPECT_NE(fake.queued.load(), fake.kept) << "the new capture reuses the buffer the old device holds";
    EXPECT_EQ(fake.queued.load()->dwBufferLength, 800u);
    ASSERT_TRUE(deliver());

    // The old device hands its buffer back late: nobody queues it again.
    const int adds = fake.adds;
    handBack(fake.kept, deviceNumber(1));
    standin::pumpMessages(200);
    EXPECT_EQ(fake.adds, adds);
    ASSERT_TRUE(deliver());

    // Shut-down with the device keeping the buffer again.
    const size_t boxes = shellRecord.messageBoxes.size();
    const ULONGLONG endTook = millisecondsTaken([this] { end(); });
    EXPECT_GE(endTook, kBufferWaitMs);
    EXPECT_LT(endTook, kHangMs);
    expectKeptBufferBoxes(boxes);
    EXPECT_EQ(scopeWindow(), nullptr);

    // The shell starts the plugin again in the same process.
    fake.keepAtReset = false;
    ASSERT_EQ(start(), 0);
    EXPECT_TRUE(windowAnswers(scopeWindow()));
    toggleRecord();
    EXPECT_EQ(fake.opens, 3);
    EXPECT_TRUE(deliver());
    EXPECT_TRUE(deliver());
    const ULONGLONG normalEndTook = millisecondsTaken([this] { end(); });
    EXPECT_LT(normalEndTook, kBufferWaitMs);
    EXPECT_EQ(shellRecord.messageBoxes.size(), boxes + 2);
    reportFigures("device keeping its buffer: restart " + std::to_string(restartTook) + " ms, end " +
                  std::to_string(endTook) + " ms; end with the buffer handed back: " + std::to_string(normalEndTook) +
                  " ms");
}

// ---- A configuration file that cannot be written ---------------------------

class FaultConfig : public Fault {
protected:
    void TearDown() override {
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
        SetFileAttributesA((pluginDir + "Zembrit.rc").c_str(), FILE_ATTRIBUTE_NORMAL);
        Fault::TearDown();
    }

    // Read-only, and held open by another program that shares only reading.
    // Wine run as root grants writes whatever the attribute says (and does
    // not always report it); the handle refuses them there as on Windows.
    void makeUnwritable(const std::string& path) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    }

    HANDLE lock = INVALID_HANDLE_VALUE;
};

TEST_F(FaultConfig, ReadOnlyLockedFileKeepsItsBytesWhileCommandsApplyInMemory) {
    writeConfig(std::string(kQuiet) + "Zembrit.plugin.style.tabPosition: br\nZembrit.plugin.wave.buffsize: 32\n");
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_NE(window, nullptr);
    const std::string path = pluginDir + "Zembrit.rc";
    const std::string before = readFile(path);
    makeUnwritable(path);

    ASSERT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    for (const char* command :
         {"@ZembritInternal AlwaysOnTop", "@ZembritInternal SetTabTL", "@ZembritInternal SetBufferSize 50",
          "@ZembritInternal SetFPS 20", "@ZembritInternal MonitorStartUp", "@Zembrit SetStyle 2",
          "@ZembritInternal TransparencyAlpha 128"})
        standin::broadcast(command);
    SetWindowPos(window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    EXPECT_FALSE(shellRecord.settingsWrites.empty()) << "the plugin did not even try to write";
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(shellRecord.messageBoxes.empty()) << "a failed write is not reported";
    EXPECT_TRUE(windowAnswers(window));
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ASSERT_FALSE(shellRecord.toolbarLabels.empty());
    EXPECT_EQ(shellRecord.toolbarLabels.front(), "ZembritPlugin -> AlwaysOnTop disabled!");
    EXPECT_EQ(markOf(window, "@ZembritInternal SetTabTL"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal SetBufferSize 50"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal SetFPS 20"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal MonitorStartUp"), 'x');

    // The file still holds the old values, and a reconfigure brings them back.
    standin::reconfigure();
    EXPECT_EQ(markOf(window, "@ZembritInternal SetTabBR"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal AlwaysOnTop"), 'x');
}

TEST_F(FaultConfig, FolderRemovedAfterStartIsNotMissed) {
    // Only the shell's folder holds a configuration, so the plugin uses it.
    writeShellFile("Zembrit.rc", std::string(kQuiet) + "Zembrit.plugin.style.tabPosition: tr\n");
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_EQ(markOf(window, "@ZembritInternal SetTabTR"), 'x');
    std::error_code failed;
    std::filesystem::remove_all(shellDir, failed);
    ASSERT_FALSE(failed) << failed.message();

    for (const char* command :
         {"@ZembritInternal SetTabBL", "@ZembritInternal AlwaysOnTop", "@ZembritInternal SetBufferSize 70",
          "@ZembritInternal ToggleRecord", "@ZembritInternal SetKHz 44", "@ZembritInternal ToggleRecord"})
        standin::broadcast(command);
    SetWindowPos(window, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    EXPECT_TRUE(shellRecord.messageBoxes.empty()) << boxTexts().front();
    EXPECT_TRUE(windowAnswers(window));
    EXPECT_EQ(markOf(window, "@ZembritInternal SetTabBL"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal SetBufferSize 70"), 'x');
    EXPECT_EQ(markOf(window, "@ZembritInternal SetKHz 44"), 'x');
    EXPECT_EQ(GetFileAttributesA(shellDir.c_str()), INVALID_FILE_ATTRIBUTES) << "the folder was made again";
    EXPECT_EQ(GetFileAttributesA((pluginDir + "Zembrit.rc").c_str()), INVALID_FILE_ATTRIBUTES);

    // With no configuration left anywhere, a reconfigure falls back to the defaults.
    standin::reconfigure();
    EXPECT_EQ(markOf(window, "@ZembritInternal SetTabBR"), 'x');
    EXPECT_TRUE(windowAnswers(window));
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
}

// ---- A style file that is gone ----------------------------------------------

// What the shell's gradient paints at a point of a window of the given size.
COLORREF backgroundAt(int width, int height, int x, int y) {
    RECT all{0, 0, width, height};
    return drawn(width, height,
                 [&](HDC dc) { ::MakeStyleGradient(dc, &all, ::GetSettingPtr(zembrit::kSettingStyleRecord), true); })
        .at(x, y);
}

TEST_F(Fault, MissingStyleFileGivesAWhiteTraceOverThePaintedBackground) {
    ASSERT_TRUE(DeleteFileA((shellDir + "default.style").c_str()));
    standin::loadStyle();
    writeConfig(kQuiet);
    ASSERT_EQ(start(), 0);
    HWND window = scopeWindow();
    ASSERT_NE(window, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();

    // 100 x 25 with a row of zeros: the trace runs along y 12.
    const Picture shown = windowPicture(window);
    const COLORREF trace = shown.at(50, 12), above = shown.at(50, 5), border = shown.at(0, 0);
    EXPECT_EQ(trace, RGB(255, 255, 255));
    EXPECT_EQ(above, backgroundAt(100, 25, 50, 5));
    EXPECT_NE(above, RGB(255, 255, 255));
    EXPECT_EQ(border, RGB(136, 153, 170)) << "the shell's own border colour";
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    EXPECT_TRUE(windowAnswers(window));
}

}  // namespace
}  // namespace zembrit_test

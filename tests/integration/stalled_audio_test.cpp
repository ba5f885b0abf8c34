// An audio stack that stops answering in the middle of a capture, as a hung
// audio service or a stuck driver does: the shell's thread must stay within
// its bounds, nothing may pile up, and the module may only go once no
// thread of the plugin can run its code any more.
#include "tests/integration/support/fake_wave_in.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"
#include "tests/integration/support/waiting.h"

#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace zembrit_test {
namespace {

using standin::shellRecord;

void broadcast(const char* command) { standin::broadcast(command); }

class StalledAudio : public ShellFixture {
protected:
    void TearDown() override {
        releaseStalls();
        ShellFixture::TearDown();
    }

    void startCapturingFromFakeDevice() {
        writeConfig(kQuiet);
        ASSERT_TRUE(load());
        patchFakeWaveIn(plugin.module);
        ASSERT_EQ(start(), 0);
        broadcast("@ZembritInternal ToggleRecord");
        ASSERT_TRUE(deliverFakeBuffer());
        ASSERT_TRUE(deliverFakeBuffer());
    }

    void stallIn(const char* call) { fake.stallIn = call; }

    // The shell lets go of the module; true when it is gone within the time.
    bool moduleGoneAfterUnload(DWORD milliseconds) {
        const std::string path = pluginDir + "Zembrit.dll";
        standin::unloadPlugin(plugin);
        return pumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }, milliseconds);
    }
};

TEST_F(StalledAudio, EndWithAResetThatDoesNotReturnIsBoundedAndTheModuleStaysUntilItDoes) {
    startCapturingFromFakeDevice();
    stallIn("waveInReset");
    const ULONGLONG endTook = millisecondsTaken([this] { end(); });
    reportFigures("end with a stalled reset: " + std::to_string(endTook) + " ms");
    EXPECT_LT(endTook, kHangMs);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Error unpreparing WAVEHDR!", "Can't close WAVE In Device!"}));
    EXPECT_EQ(scopeWindow(), nullptr);
    EXPECT_EQ(fake.stalled, 1);

    EXPECT_FALSE(moduleGoneAfterUnload(300)) << "unloaded under a thread still inside the audio stack";
    releaseStalls();
    const std::string path = pluginDir + "Zembrit.dll";
    EXPECT_TRUE(pumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }))
        << "the control thread did not let go of the module once the reset answered";
    EXPECT_EQ(fake.closes.load(), fake.opens.load()) << "the late device was not closed";
}

TEST_F(StalledAudio, OnceStuckLaterCommandsCostLittlePileNothingUpAndCaptureRunsWhenItAnswers) {
    startCapturingFromFakeDevice();
    stallIn("waveInReset");
    const ULONGLONG restartTook = millisecondsTaken([] { broadcast("@ZembritInternal SetBuff 50"); });
    EXPECT_LT(restartTook, kHangMs);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Error unpreparing WAVEHDR!", "Can't close WAVE In Device!",
                                                    "Can't open WAVE In Device!"}));

    // Two rounds of commands: whatever the process makes once is made in the
    // first, and threads that piled up behind the stall would grow in the second.
    const auto commandsWhileStuck = [] {
        ULONGLONG slowest = 0;
        for (const char* command :
             {"AlwaysOnTop", "AlwaysOnTop", "AlwaysOnTop", "AlwaysOnTop", "AlwaysOnTop", "AlwaysOnTop", "AlwaysOnTop",
              "AlwaysOnTop", "ToggleRecord", "ToggleRecord", "ToggleRecord"}) {
            const std::string text = std::string("@ZembritInternal ") + command;
            slowest = std::max(slowest, millisecondsTaken([&] { broadcast(text.c_str()); }));
        }
        return slowest;
    };
    const ULONGLONG firstSlowest = commandsWhileStuck();
    const long threads = processThreadCount();
    const ULONGLONG laterSlowest = commandsWhileStuck();
    reportFigures("stalled reset: restart " + std::to_string(restartTook) +
                  " ms, the slowest of 8 toggles and 3 starts " + std::to_string(std::max(firstSlowest, laterSlowest)) +
                  " ms");
    EXPECT_LT(std::max(firstSlowest, laterSlowest), kHangMs);
    EXPECT_TRUE(pumpUntil([&] { return processThreadCount() <= threads; })) << "threads pile up behind the stall";
    EXPECT_EQ(fake.opens, 1) << "a start that was answered as failed ran later";

    releaseStalls();
    ASSERT_TRUE(pumpUntil([] { return fake.closes == 1; })) << "the late device was not closed";
    const size_t boxes = shellRecord.messageBoxes.size();
    broadcast("@ZembritInternal ToggleRecord");
    EXPECT_EQ(shellRecord.messageBoxes.size(), boxes);
    EXPECT_EQ(fake.opens, 2);
    EXPECT_TRUE(deliverFakeBuffer());
    EXPECT_LT(millisecondsTaken([this] { end(); }), kHangMs);
}

TEST_F(StalledAudio, ADeviceThatOpensLateIsClosedAndItsStartStaysFailed) {
    writeConfig(kQuiet);
    ASSERT_TRUE(load());
    patchFakeWaveIn(plugin.module);
    ASSERT_EQ(start(), 0);
    stallIn("waveInOpen");
    broadcast("@ZembritInternal ToggleRecord");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Can't open WAVE In Device!"});
    releaseStalls();
    EXPECT_TRUE(pumpUntil([] { return fake.opens == 1 && fake.closes == 1; })) << "the late device was not closed";
    EXPECT_EQ(fake.queued.load(), nullptr) << "the late device's buffer is still queued";
    broadcast("@ZembritInternal ToggleRecord");
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_TRUE(deliverFakeBuffer()) << "the next capture does not run";
}

// A device that answers slowly, as an input that switches its profile on
// open does, but within the command's bound: it works, and nothing is shown
// as failed.
TEST_F(StalledAudio, ADeviceThatAnswersSlowlyWithinTheBoundOpensAndClosesWithoutABox) {
    writeConfig(kQuiet);
    ASSERT_TRUE(load());
    patchFakeWaveIn(plugin.module);
    ASSERT_EQ(start(), 0);
    fake.stallMs = 700;
    for (const char* slow : {"waveInOpen", "waveInReset", "waveInClose"}) {
        SCOPED_TRACE(slow);
        stallIn(slow);
        broadcast("@ZembritInternal ToggleRecord");
        EXPECT_TRUE(deliverFakeBuffer()) << "the slow device does not capture";
        broadcast("@ZembritInternal ToggleRecord");
        EXPECT_EQ(fake.closes.load(), fake.opens.load());
        EXPECT_TRUE(boxTexts().empty()) << boxTexts()[0];
    }
}

// ---- A WASAPI source whose system objects do not answer -------------------

HANDLE activationReleased = CreateEventA(nullptr, TRUE, FALSE, nullptr);
std::atomic<int> stalledActivations{0};

// Blocks as a hung audio service does, then answers that there is nothing.
HRESULT WINAPI stalledCreateInstance(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* object) {
    ++stalledActivations;
    WaitForSingleObject(activationReleased, 30000);
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
}

class StalledSource : public StalledAudio {
protected:
    void TearDown() override {
        SetEvent(activationReleased);
        StalledAudio::TearDown();
    }
};

TEST_F(StalledSource, StartSwitchAndEndReturnPromptlyAndTheModuleGoesOnceTheSystemAnswers) {
    writeConfig("Zembrit.plugin.wave.source: input\n");
    ASSERT_TRUE(load());
    patchFakeWaveIn(plugin.module);
    decltype(&CoCreateInstance) original;
    patch(plugin.module, "ole32.dll", "CoCreateInstance", &stalledCreateInstance, original);

    const ULONGLONG startTook = millisecondsTaken([this] { ASSERT_EQ(start(), 0); });
    EXPECT_LT(startTook, kHangMs);
    EXPECT_EQ(stalledActivations, 1);
    EXPECT_EQ(shellRecord.toolbarLabels,
              std::vector<std::string>{"ZembritPlugin -> sound source unavailable, retrying"});

    // Each toggle rebuilds the open menu, whose devices capture listed.
    ULONGLONG slowestToggle = 0;
    for (int n = 0; n < 8; ++n)
        slowestToggle = std::max(slowestToggle, millisecondsTaken([] { broadcast("@ZembritInternal AlwaysOnTop"); }));
    const ULONGLONG switchTook = millisecondsTaken([] { broadcast("@ZembritInternal SetSource wavein"); });
    const ULONGLONG endTook = millisecondsTaken([this] { end(); });
    reportFigures("stalled activation: start " + std::to_string(startTook) + " ms, the slowest of 8 toggles " +
                  std::to_string(slowestToggle) + " ms, switch " + std::to_string(switchTook) + " ms, end " +
                  std::to_string(endTook) + " ms");
    EXPECT_LT(slowestToggle, kHangMs);
    EXPECT_LT(switchTook, kHangMs);
    EXPECT_LT(endTook, kHangMs);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Can't open WAVE In Device!"});

    EXPECT_FALSE(moduleGoneAfterUnload(300));
    SetEvent(activationReleased);
    const std::string path = pluginDir + "Zembrit.dll";
    EXPECT_TRUE(pumpUntil([&] { return GetModuleHandleA(path.c_str()) == nullptr; }));
    EXPECT_EQ(fake.opens, 0) << "the wave-in start answered as failed ran later";
}

}  // namespace
}  // namespace zembrit_test

// The WASAPI engine against scripted fakes of the system's audio objects:
// what only the engine's thread, its COM calls and its timing can show.
#include "capture/wasapi/wasapi_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <tuple>
#include <vector>

#include "capture/wasapi/packet_pacing.h"
#include "tests/integration/support/waiting.h"
#include "tests/support/sine.h"
#include "tests/wasapi/fake_audio.h"

namespace zembrit_test {
namespace {

using zembrit::EngineState;

class RecordingSink final : public zembrit::EngineSink {
public:
    void deliver(const uint8_t* bytes, uint32_t byteCount, const zembrit::SourceLayout& layout) override {
        std::lock_guard<std::mutex> guard(lock);
        EXPECT_EQ(layout.channels, 1);
        EXPECT_EQ(layout.framesPerSecond, 48000u) << "the spectrum and the meter need the endpoint's rate";
        const auto* samples = reinterpret_cast<const int16_t*>(bytes);
        spans.emplace_back(samples, samples + byteCount / 2);
    }
    // Whether it held bytes, its frames and channels.
    void packet(const uint8_t* bytes, uint32_t frames, const zembrit::SourceLayout& format) override {
        std::lock_guard<std::mutex> guard(lock);
        packets.emplace_back(bytes != nullptr, frames, format.channels);
    }
    void stateChanged(EngineState state, HRESULT reason) override {
        std::lock_guard<std::mutex> guard(lock);
        states.emplace_back(state, reason);
    }
    size_t spanCount() {
        std::lock_guard<std::mutex> guard(lock);
        return spans.size();
    }
    size_t stateCount() {
        std::lock_guard<std::mutex> guard(lock);
        return states.size();
    }

    std::mutex lock;
    std::vector<std::vector<int16_t>> spans;
    std::vector<std::tuple<bool, uint32_t, int>> packets;
    std::vector<std::pair<EngineState, HRESULT>> states;
};

struct FormatCase {
    bool isFloat;
    int bits;
    int channels;
    bool extensible;
};

// Frames whose every channel holds the level, encoded as the format stores it.
Packet packetOf(const std::vector<int16_t>& levels, const FormatCase& c) {
    Packet packet;
    packet.frames = static_cast<UINT32>(levels.size());
    for (int16_t v : levels)
        for (int ch = 0; ch < c.channels; ++ch) {
            uint8_t bytes[4];
            const float f = v / 32768.0f;
            const uint32_t word = (uint32_t(uint16_t(v)) << 16) | 0x7F5Au;
            std::memcpy(bytes, c.isFloat ? static_cast<const void*>(&f) : &word, 4);
            const int size = c.bits / 8;
            packet.bytes.insert(packet.bytes.end(), bytes + (c.isFloat ? 0 : 4 - size), bytes + 4);
        }
    return packet;
}

class Engine : public ::testing::Test {
protected:
    void startWith(const FormatCase& format, bool loopback = false) {
        script.mixFormat = mixFormat(format.isFloat, format.bits, format.channels, format.extensible);
        zembrit::EngineConfig config;
        config.loopback = loopback;
        config.points = 10;  // 80 frames a span
        ASSERT_TRUE(engine.start(config));
    }
    void TearDown() override {
        const ULONGLONG taken = GetTickCount64();
        EXPECT_TRUE(engine.stop());
        EXPECT_LT(GetTickCount64() - taken, kHangMs);
        EXPECT_EQ(script.watcher.load(), nullptr) << "still registered for notifications";
        EXPECT_EQ(script.liveObjects.load(), 0) << "a COM object was not released";
    }

    AudioScript script;
    FakeFactory factory{script};
    RecordingSink sink;
    zembrit::WasapiEngine engine{factory, sink};
};

class EngineFormat : public Engine, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(EngineFormat, KnownSineComesOutAsMonoSpansAcrossPackets) {
    const FormatCase c = GetParam();
    startWith(c, c.isFloat);
    ASSERT_TRUE(waitUntil([&] { return script.event.load() != nullptr; }));
    const std::vector<int16_t> levels = sineLevels(160);
    script.push(packetOf({levels.begin(), levels.begin() + 60}, c));
    script.push(packetOf({levels.begin() + 60, levels.end()}, c));
    ASSERT_TRUE(waitUntil([&] { return sink.spanCount() == 2; }));
    EXPECT_EQ(sink.spans[0], std::vector<int16_t>(levels.begin(), levels.begin() + 80));
    EXPECT_EQ(sink.spans[1], std::vector<int16_t>(levels.begin() + 80, levels.end()));
    // The meter reads each packet as delivered, every channel apart.
    EXPECT_EQ(sink.packets,
              (std::vector<std::tuple<bool, uint32_t, int>>{{true, 60, c.channels}, {true, 100, c.channels}}));
    EXPECT_EQ(script.shareMode, AUDCLNT_SHAREMODE_SHARED);
    EXPECT_TRUE(script.initializeFlags & AUDCLNT_STREAMFLAGS_EVENTCALLBACK);
    EXPECT_EQ((script.initializeFlags & AUDCLNT_STREAMFLAGS_LOOPBACK) != 0, c.isFloat);
    EXPECT_TRUE(sink.states.empty());
}

INSTANTIATE_TEST_SUITE_P(Matrix, EngineFormat,
                         ::testing::Values(FormatCase{true, 32, 2, true}, FormatCase{true, 32, 1, false},
                                           FormatCase{false, 16, 1, false}, FormatCase{false, 16, 2, true},
                                           FormatCase{false, 24, 6, true}, FormatCase{false, 32, 8, true}),
                         [](const auto& info) {
                             const FormatCase& c = info.param;
                             return std::string(c.isFloat ? "float" : "int") + std::to_string(c.bits) + "x" +
                                    std::to_string(c.channels) + (c.extensible ? "ext" : "");
                         });

TEST_F(Engine, SilentPacketsGiveZerosWhateverTheyHold) {
    const FormatCase c{true, 32, 2, true};
    startWith(c);
    ASSERT_TRUE(waitUntil([&] { return script.event.load() != nullptr; }));
    Packet silent = packetOf(sineLevels(80), c);
    silent.flags = AUDCLNT_BUFFERFLAGS_SILENT;
    script.push(silent);
    ASSERT_TRUE(waitUntil([&] { return sink.spanCount() == 1; }));
    EXPECT_EQ(sink.spans[0], std::vector<int16_t>(80, 0));
    EXPECT_EQ(sink.packets, (std::vector<std::tuple<bool, uint32_t, int>>{{false, 80, 2}}));
}

TEST_F(Engine, InvalidatedDeviceReopensWithBackOffAndSaysSoOnceEachWay) {
    const FormatCase c{true, 32, 2, true};
    startWith(c);
    ASSERT_TRUE(waitUntil([&] { return script.event.load() != nullptr; }));
    {
        std::lock_guard<std::mutex> guard(script.lock);
        script.failDefault = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        script.failDefaultTimes = 1;  // the first reopen finds no device
    }
    Packet invalidated;
    invalidated.failure = AUDCLNT_E_DEVICE_INVALIDATED;
    script.push(invalidated);
    ASSERT_TRUE(waitUntil([&] { return sink.stateCount() == 2; }));
    EXPECT_EQ(sink.states[0], std::make_pair(EngineState::retrying, HRESULT(AUDCLNT_E_DEVICE_INVALIDATED)));
    EXPECT_EQ(sink.states[1].first, EngineState::running);
    ASSERT_EQ(script.opens(), 3u);
    EXPECT_GE(script.openTicks[1] - script.openTicks[0], 450u);
    EXPECT_GE(script.openTicks[2] - script.openTicks[1], 950u) << "the delay did not double";
    EXPECT_LT(script.openTicks[2] - script.openTicks[1], kHangMs);
    script.push(packetOf(sineLevels(80), c));
    EXPECT_TRUE(waitUntil([&] { return sink.spanCount() == 1; })) << "the reopened stream delivers nothing";
}

// Opens at about 0, 0.5 and 1.5 s (a busy machine only later), then waits
// 2 s more, which a stop does not wait out.
TEST_F(Engine, MissingDeviceRetriesSlowlyWithoutSpinningAndAStopEndsTheWait) {
    script.failDefault = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    script.failDefaultTimes = -1;
    const ULONGLONG began = GetTickCount64();
    startWith({true, 32, 2, true});
    ASSERT_TRUE(waitUntil([&] { return script.opens() >= 3; }));
    EXPECT_GE(GetTickCount64() - began, 1400u) << "retried too soon";
    ASSERT_EQ(sink.stateCount(), 1u);
    EXPECT_EQ(sink.states[0], std::make_pair(EngineState::retrying, HRESULT_FROM_WIN32(ERROR_NOT_FOUND)));
    const ULONGLONG stopping = GetTickCount64();
    EXPECT_TRUE(engine.stop());
    EXPECT_LT(GetTickCount64() - stopping, 1500u) << "the stop waited for the retry";
}

TEST_F(Engine, LoopbackWithoutACaptureServiceRetriesAsWineAnswers) {
    script.failGetService = AUDCLNT_E_WRONG_ENDPOINT_TYPE;
    startWith({true, 32, 2, true}, true);
    ASSERT_TRUE(waitUntil([&] { return script.opens() >= 2; }));
    EXPECT_EQ(sink.states,
              (std::vector<std::pair<EngineState, HRESULT>>{{EngineState::retrying, AUDCLNT_E_WRONG_ENDPOINT_TYPE}}));
}

TEST_F(Engine, DefaultChangeForItsFlowAndRoleFromAnotherThreadReopens) {
    const FormatCase c{false, 16, 2, false};
    startWith(c);
    ASSERT_TRUE(waitUntil([&] { return script.watcher.load() && script.event.load(); }));
    std::thread([&] {
        script.watcher.load()->OnDefaultDeviceChanged(eRender, eConsole, L"other");
        script.watcher.load()->OnDefaultDeviceChanged(eCapture, eCommunications, L"other");
    }).join();
    Sleep(200);
    EXPECT_EQ(script.opens(), 1u) << "reopened for a change of another flow or role";
    std::thread([&] { script.watcher.load()->OnDefaultDeviceChanged(eCapture, eConsole, L"new"); }).join();
    ASSERT_TRUE(waitUntil([&] { return script.opens() == 2; }));
    script.push(packetOf(sineLevels(80), c));
    EXPECT_TRUE(waitUntil([&] { return sink.spanCount() == 1; }));
    EXPECT_TRUE(sink.states.empty());
}

TEST_F(Engine, WithNothingArrivingItLooksAFewTimesASecondAndQuickensWithTheFirstPacket) {
    const FormatCase c{true, 32, 2, true};
    startWith(c);
    ASSERT_TRUE(waitUntil([&] { return script.event.load() != nullptr; }));
    Sleep(1500);  // the wait lengthens from 30 ms to its longest within half a second, or a few wakes later
    // Counted against the time it took: a busy machine only wakes it later.
    const int before = script.looks;
    const ULONGLONG restBegan = GetTickCount64();
    Sleep(2000);
    const int resting = script.looks - before;
    const auto restMs = static_cast<int>(GetTickCount64() - restBegan);
    EXPECT_GE(resting, restMs / 1000) << "the engine looks less than once a second";
    EXPECT_LE(resting, restMs / static_cast<int>(zembrit::PacketPacing::kRestingMs) + 2)
        << "the engine wakes more than 4 times a second with nothing arriving";
    // The next three looks after a packet take less than two resting ones.
    script.push(packetOf(sineLevels(80), c));
    ASSERT_TRUE(waitUntil([&] { return sink.spanCount() == 1; }));
    const int afterPacket = script.looks;
    const ULONGLONG quickBegan = GetTickCount64();
    ASSERT_TRUE(waitUntil([&] { return script.looks - afterPacket >= 3; }, kEventuallyMs, 1));
    EXPECT_LT(static_cast<int>(GetTickCount64() - quickBegan), 2 * restMs / std::max(resting, 1))
        << "the wait did not shorten again";
}

TEST_F(Engine, AStopThatOutwaitsItsBoundLeavesTheRunToItsThreadWhichEndsItWhenTheSystemAnswers) {
    startWith({true, 32, 2, true});
    ASSERT_TRUE(waitUntil([&] { return script.event.load() != nullptr; }));
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    script.stopGate = gate;
    const HANDLE runsEvent = script.event.load();
    const ULONGLONG taken = GetTickCount64();
    EXPECT_FALSE(engine.stop(200));
    EXPECT_LT(GetTickCount64() - taken, kHangMs);
    EXPECT_FALSE(engine.running());
    EXPECT_GT(script.liveObjects.load(), 0);
    SetEvent(gate);
    EXPECT_TRUE(waitUntil([&] { return script.liveObjects.load() == 0 && script.watcher.load() == nullptr; }))
        << "the thread did not finish its run once the stop answered";
    DWORD flags = 0;
    EXPECT_TRUE(waitUntil([&] { return !GetHandleInformation(runsEvent, &flags); })) << "the run was not freed";
    script.stopGate = nullptr;
    CloseHandle(gate);
}

}  // namespace
}  // namespace zembrit_test

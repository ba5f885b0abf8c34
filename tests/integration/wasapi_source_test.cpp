// The WASAPI sources against Wine's real audio stack, on the bench's ALSA
// file devices: Wine's WASAPI opens them in its float stereo mix format, so
// the input tests name the device that holds the tone in that format.
// Wine 8 has no loopback: on the render endpoint Initialize succeeds and
// GetService(IAudioCaptureClient) answers 0x88890003, so the output
// source's success path is tested on the fakes and its failure path here.
#include "tests/integration/support/shell_fixture.h"
#include "tests/integration/support/shell_record.h"

#include <objbase.h>
#include <mmdeviceapi.h>

#include <atomic>
#include <string>
#include <utility>

#include "host/import_patch.h"
#include "tests/integration/support/leak_probe.h"
#include "tests/integration/support/paint_probe.h"
#include "tests/integration/support/waiting.h"

namespace zembrit_test {
namespace {

using standin::shellRecord;

constexpr char kFailingLabel[] = "ZembritPlugin -> sound source unavailable, retrying";
constexpr char kFloatToneDevice[] = "Zembrit.plugin.wave.device: In: zembrit_float\n";

// Every open of a stream frees its mix format once: a count of opens.
std::atomic<int> formatFrees{0};
decltype(&CoTaskMemFree) realFree;
void WINAPI countedFree(void* memory) {
    ++formatFrees;
    realFree(memory);
}

class WasapiSource : public ShellFixture {
protected:
    void startWith(const char* source, const char* device = "") {
        writeConfig(std::string("Zembrit.plugin.wave.source: ") + source + "\n" + device);
        ASSERT_TRUE(load());
        ASSERT_TRUE(countCaptureRepaints(plugin.module));
        formatFrees = 0;
        realFree = reinterpret_cast<decltype(&CoTaskMemFree)>(
            standin::patchImport(plugin.module, "ole32.dll", "CoTaskMemFree", reinterpret_cast<void*>(countedFree)));
        ASSERT_NE(realFree, nullptr);
        ASSERT_EQ(start(), 0);
    }
    static void setSource(const char* word) {
        standin::broadcast((std::string("@ZembritInternal SetSource ") + word).c_str());
    }
};

TEST_F(WasapiSource, InputDrawsTheBenchToneWithoutABoxOrALabel) {
    startWith("input", kFloatToneDevice);
    ASSERT_TRUE(pumpUntil([] { return captureRepaints >= 10; })) << "no repaint from the capture thread";
    EXPECT_TRUE(pumpUntil([this] { return traceRows(scopeWindow()) >= 4; })) << "the trace is flat";
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
}

TEST_F(WasapiSource, OutputFailsCleanlyInTheLabelRetriesSlowlyAndEndsPromptly) {
    startWith("output");
    ASSERT_TRUE(pumpUntil([] { return !shellRecord.toolbarLabels.empty(); }));
    const int opensAtFailure = formatFrees;
    pump(2500);  // retries about 0.5 and 1.5 s after the failure, later on a busy machine
    EXPECT_LE(formatFrees - opensAtFailure, 3) << "retried too often";
    EXPECT_TRUE(pumpUntil([&] { return formatFrees > opensAtFailure; })) << "never retried";
    EXPECT_EQ(shellRecord.toolbarLabels, std::vector<std::string>{kFailingLabel});
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    EXPECT_EQ(captureRepaints, 0);
    EXPECT_TRUE(windowAnswers(scopeWindow()));
    EXPECT_EQ(traceRows(scopeWindow()), 1);
    EXPECT_LT(millisecondsTaken([this] { end(); }), kHangMs);
}

TEST_F(WasapiSource, DeviceMenuListsTheInputsAndItsItemMovesCaptureThere) {
    startWith("input");
    ASSERT_TRUE(pumpUntil([] { return formatFrees > 0; })) << "capture never opened";
    SendMessageA(scopeWindow(), WM_RBUTTONUP, 0, 0);
    const std::string& menu = shellRecord.menuDump;
    EXPECT_NE(menu.find("(x) System Default -> @ZembritInternal SetDevice\n"), std::string::npos) << menu;
    EXPECT_NE(menu.find("( ) In: zembrit_float -> @ZembritInternal SetDevice In: zembrit_float\n"), std::string::npos);
    const int opens = formatFrees;
    standin::broadcast("@ZembritInternal SetDevice In: zembrit_float");
    EXPECT_EQ(configValue("Zembrit.plugin.wave.device:"), "In: zembrit_float");
    EXPECT_TRUE(pumpUntil([&] { return formatFrees > opens; })) << "capture did not move";
    EXPECT_TRUE(pumpUntil([this] { return traceRows(scopeWindow()) >= 4; })) << "the named device's tone is not drawn";
}

// The endpoints are listed for the menu itself, not left to a capture.
TEST_F(WasapiSource, DeviceMenuListsTheInputsBeforeAnyCapture) {
    startWith("input", kQuiet);
    SendMessageA(scopeWindow(), WM_RBUTTONUP, 0, 0);
    const std::string& menu = shellRecord.menuDump;
    EXPECT_NE(menu.find("( ) In: zembrit_float -> @ZembritInternal SetDevice In: zembrit_float\n"), std::string::npos)
        << menu;
}

TEST_F(WasapiSource, StartEndCyclesWithInputRunningLeakNothing) {
    startWith("input", kFloatToneDevice);
    ResourceCounts afterFirst;
    for (int cycle = 1; cycle <= 200; ++cycle) {
        if (cycle > 1) {
            ASSERT_EQ(start(), 0) << "cycle " << cycle;
        }
        const int repaints = captureRepaints;
        ASSERT_TRUE(pumpUntil([&] { return captureRepaints > repaints; })) << "no capture in cycle " << cycle;
        end();
        ASSERT_EQ(scopeWindow(), nullptr) << "cycle " << cycle;
        ASSERT_TRUE(shellRecord.messageBoxes.empty()) << "cycle " << cycle;
        forgetShellRecord();
        if (cycle == 1) afterFirst = measureResources();
    }
    const ResourceCounts afterAll = settledResources(afterFirst);
    expectNoGrowth(afterFirst, afterAll);
}

TEST_F(WasapiSource, SwitchingSourcesWhileCapturingLeaksNothing) {
    startWith("input", kFloatToneDevice);
    const char* words[] = {"output", "wavein", "input"};
    for (const char* word : words) setSource(word);  // the audio stack's own first-use costs
    pump(300);
    const ResourceCounts before = measureResources();
    for (int i = 0; i < 200; ++i) {
        setSource(words[i % 3]);
        pump(5);
    }
    setSource("input");
    EXPECT_EQ(configValue("Zembrit.plugin.wave.source:"), "input");
    const ResourceCounts after = settledResources(before);
    expectNoGrowth(before, after);
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    setSource("nonsense");
    EXPECT_EQ(configValue("Zembrit.plugin.wave.source:"), "input");
}

// Wine keeps the default input in the registry, by endpoint id, and tells
// notification clients when that value changes. The value is shared by the
// whole bench prefix (wave-in's mapper follows it too), so these tests run
// alone and put it back.
class DefaultInputFollowing : public WasapiSource {
protected:
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kDriverKey, L"DefaultInput");
        WasapiSource::TearDown();
    }
    static void setDefaultInput(const std::wstring& id) {
        const auto bytes = static_cast<DWORD>((id.size() + 1) * sizeof(wchar_t));
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDriverKey, L"DefaultInput", REG_SZ, id.c_str(), bytes),
                  ERROR_SUCCESS);
    }
    // Asked on a thread of its own, as the plugin does, so the shell
    // thread's COM is left alone.
    static std::wstring captureEndpointId(const wchar_t* friendlyName) {
        EndpointQuery query{friendlyName, {}};
        HANDLE thread = CreateThread(nullptr, 0, findEndpoint, &query, 0, nullptr);
        if (!thread) return {};
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        return query.id;
    }

private:
    static constexpr wchar_t kDriverKey[] = L"Software\\Wine\\Drivers\\winealsa.drv";
    struct EndpointQuery {
        const wchar_t* name;
        std::wstring id;
    };
    static std::wstring friendlyName(IMMDevice& endpoint) {
        constexpr PROPERTYKEY kFriendlyName = {
            {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
        IPropertyStore* store = nullptr;
        if (FAILED(endpoint.OpenPropertyStore(STGM_READ, &store))) return {};
        PROPVARIANT value;
        PropVariantInit(&value);
        std::wstring name;
        if (SUCCEEDED(store->GetValue(kFriendlyName, &value)) && value.vt == VT_LPWSTR) name = value.pwszVal;
        PropVariantClear(&value);
        store->Release();
        return name;
    }
    static DWORD WINAPI findEndpoint(void* parameter) {
        auto& query = *static_cast<EndpointQuery*>(parameter);
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
        IMMDeviceEnumerator* enumerator = nullptr;
        IMMDeviceCollection* endpoints = nullptr;
        UINT count = 0;
        if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                       reinterpret_cast<void**>(&enumerator))) &&
            SUCCEEDED(enumerator->EnumAudioEndpoints(eCapture, DEVICE_STATE_ACTIVE, &endpoints)) &&
            SUCCEEDED(endpoints->GetCount(&count)))
            for (UINT i = 0; i < count && query.id.empty(); ++i) {
                IMMDevice* endpoint = nullptr;
                if (FAILED(endpoints->Item(i, &endpoint))) continue;
                wchar_t* id = nullptr;
                if (friendlyName(*endpoint) == query.name && SUCCEEDED(endpoint->GetId(&id))) query.id = id;
                CoTaskMemFree(id);
                endpoint->Release();
            }
        if (endpoints) endpoints->Release();
        if (enumerator) enumerator->Release();
        CoUninitialize();
        return 0;
    }
};

TEST_F(DefaultInputFollowing, ANewDefaultInputTakesOverCaptureWithoutABox) {
    startWith("input");
    ASSERT_TRUE(pumpUntil([] { return captureRepaints >= 5; })) << "no capture from the first default";
    const std::wstring toneInput = captureEndpointId(L"In: zembrit_float");
    ASSERT_FALSE(toneInput.empty());
    pump(300);  // a change right after the plugin registered may be missed
    const int opens = formatFrees;
    setDefaultInput(toneInput);
    EXPECT_TRUE(pumpUntil([&] { return formatFrees > opens; })) << "capture did not reopen";
    captureRepaints = 0;
    EXPECT_TRUE(pumpUntil([] { return captureRepaints > 0; })) << "capture did not go on";
    EXPECT_TRUE(shellRecord.messageBoxes.empty());
    EXPECT_TRUE(shellRecord.toolbarLabels.empty());
}

}  // namespace
}  // namespace zembrit_test

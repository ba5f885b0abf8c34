#pragma once
#include <cstdint>

#include "capture/capture_source.h"
#include "settings/relaxed.h"

namespace zembrit {

constexpr int kUpdateUrlCapacity = 260;     // 259 characters and the terminator
constexpr int kColorKeyCapacity = 100;      // 99 characters with the colon
constexpr int kTabPositionCapacity = 3;     // two letters
constexpr int kConfigPathCapacity = 260;    // 259 characters

// Every configuration key, with its defaults. The fields the capture thread
// reads while the user-interface thread may change them are Relaxed.
struct ScopeSettings {
    int32_t x = 10;
    int32_t y = 10;
    bool inSlit = false;
    bool motionBlur = false;
    uint8_t motionBlurAlpha = 120;
    bool transparencyEnabled = false;
    bool transbackEnabled = false;
    int32_t transparencyAlpha = 60;
    bool alwaysOnTop = true;
    bool snapWindow = true;
    bool toggleWithPlugins = true;
    char updateUrl[kUpdateUrlCapacity] = "";
    Relaxed<int32_t> width{100};
    Relaxed<int32_t> height{25};
    bool startWaveMonitorOnStartUp = true;
    Relaxed<int32_t> bufferPoints{32};
    Relaxed<int32_t> frameIntervalMs{40};
    int32_t sampleKHz = 16;
    int32_t sampleBits = 16;
    CaptureSource source = CaptureSource::wavein;
    char deviceName[kDeviceNameCapacity] = "";  // empty: the system default endpoint
    int32_t scopeWidth = 1;
    char scopeColorKey[kColorKeyCapacity] = "toolbar.textColor:";
    char tabPosition[kTabPositionCapacity] = "br";
    // A one-letter code; 0 stands for the empty code.
    Relaxed<char> scopeType{'h'};
    bool showBorder = true;
};

// The trace is horizontal only for the exact, case-sensitive code "h".
inline bool isHorizontal(char scopeType) { return scopeType == 'h'; }

}  // namespace zembrit

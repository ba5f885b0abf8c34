#pragma once
// What the toolbar label says of the sound source. A source that fails says
// so; once it said so, the label is set right again as soon as capture runs
// (whatever source it is then) or stops, so it never outlives the failure.
namespace zembrit {

class SourceLabel {
public:
    static constexpr char kFailing[] = "ZembritPlugin -> sound source unavailable, retrying";
    static constexpr char kCapturing[] = "ZembritPlugin -> sound source capturing again";
    static constexpr char kStopped[] = "ZembritPlugin -> sound source stopped";
    static constexpr char kNotAnswering[] = "ZembritPlugin -> sound source not answering";

    // Each returns the text to show, or nullptr for none.
    const char* failing() {
        failingShown_ = true;
        return kFailing;
    }
    const char* capturing() { return settle(kCapturing); }
    const char* stopped() { return settle(kStopped); }
    // A source that did not end within the wait is said to be so, once.
    const char* notAnswering() {
        failingShown_ = false;
        return kNotAnswering;
    }

private:
    const char* settle(const char* text) {
        if (!failingShown_) return nullptr;
        failingShown_ = false;
        return text;
    }

    bool failingShown_ = false;
};

}  // namespace zembrit

#include "capture/signal/trace_picture.h"

#include <algorithm>

namespace zembrit {
namespace {

int32_t pairsOf(const XyFigure& figure) { return std::clamp<int32_t>(figure.count, 0, kMaxXyPairs); }

int32_t scaled(int32_t value, uint32_t part, uint32_t whole) {
    return static_cast<int32_t>(int64_t{value} * part / whole);
}

// Every value is compared and copied: none is skipped once one differs.
template <class Row, class Copy>
bool rowChanged(const Row& row, Copy& copy) {
    bool changed = false;
    for (size_t i = 0; i < copy.size(); ++i) {
        const int32_t value = row[i];
        changed |= value != copy[i];
        copy[i] = value;
    }
    return changed;
}

bool figureChanged(const XyFigure& figure, HeldPicture& last) {
    const int32_t count = pairsOf(figure);
    bool changed = count != last.count || figure.gain.load() != last.gain;
    last.count = count;
    last.gain = figure.gain;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t pair = figure.pairs[i];
        changed |= pair != last.pairs[i];
        last.pairs[i] = pair;
    }
    return changed;
}

}  // namespace

void copyInto(const TracePicture& picture, HeldPicture& held) {
    for (int i = 0; i < kTraceCapacity; ++i) {
        held.left[i] = picture.left[i];
        held.right[i] = picture.right[i];
    }
    held.count = pairsOf(picture.figure);
    held.gain = picture.figure.gain;
    for (int32_t i = 0; i < held.count; ++i) held.pairs[i] = picture.figure.pairs[i];
}

void copyInto(const HeldPicture& held, TracePicture& picture) {
    for (int i = 0; i < kTraceCapacity; ++i) {
        picture.left[i] = held.left[i];
        picture.right[i] = held.right[i];
    }
    for (int32_t i = 0; i < held.count; ++i) picture.figure.pairs[i] = held.pairs[i];
    picture.figure.gain = held.gain;
    picture.figure.count = held.count;
}

void glideTowardRest(const HeldPicture& from, uint32_t leftMs, uint32_t wholeMs, TracePicture& picture) {
    for (int i = 0; i < kTraceCapacity; ++i) {
        picture.left[i] = scaled(from.left[i], leftMs, wholeMs);
        picture.right[i] = scaled(from.right[i], leftMs, wholeMs);
    }
    for (int32_t i = 0; i < from.count; ++i) {
        const uint32_t pair = from.pairs[i];
        picture.figure.pairs[i] =
            packLevels(scaled(leftLevel(pair), leftMs, wholeMs), scaled(rightLevel(pair), leftMs, wholeMs));
    }
}

bool changedSince(const TracePicture& picture, HeldPicture& last) {
    const bool left = rowChanged(picture.left, last.left);
    const bool right = rowChanged(picture.right, last.right);
    return figureChanged(picture.figure, last) | left | right;
}

void clear(TracePicture& picture) {
    for (auto& point : picture.left) point = 0;
    for (auto& point : picture.right) point = 0;
    picture.figure.count = 0;
}

}  // namespace zembrit

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

// Calls visit(index, height) for each of the picture's heights, in the order
// HeldPicture::heights keeps them.
template <class Picture, class Visit>
void forEachHeight(Picture& picture, Visit visit) {
    int index = 0;
    for (auto* bars : {&picture.spectrum.left, &picture.spectrum.right}) {
        for (auto& bar : bars->bars) visit(index++, bar);
        for (auto& peak : bars->peaks) visit(index++, peak);
    }
    for (auto& level : picture.levels.channel)
        for (auto* height : {&level.peak, &level.rms, &level.hold, &level.clipped}) visit(index++, *height);
}

bool heightsChanged(const TracePicture& picture, HeldPicture& last) {
    bool changed = picture.spectrum.count != last.bandCount || picture.levels.channels != last.levelChannels;
    last.bandCount = picture.spectrum.count;
    last.levelChannels = picture.levels.channels;
    forEachHeight(picture, [&](int i, const Relaxed<int32_t>& height) {
        const int32_t value = height;
        changed |= value != last.heights[static_cast<size_t>(i)];
        last.heights[static_cast<size_t>(i)] = value;
    });
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
    held.bandCount = picture.spectrum.count;
    held.levelChannels = picture.levels.channels;
    forEachHeight(picture,
                  [&](int i, const Relaxed<int32_t>& height) { held.heights[static_cast<size_t>(i)] = height; });
}

void copyInto(const HeldPicture& held, TracePicture& picture) {
    for (int i = 0; i < kTraceCapacity; ++i) {
        picture.left[i] = held.left[i];
        picture.right[i] = held.right[i];
    }
    for (int32_t i = 0; i < held.count; ++i) picture.figure.pairs[i] = held.pairs[i];
    picture.figure.gain = held.gain;
    picture.figure.count = held.count;
    picture.spectrum.count = held.bandCount;
    picture.levels.channels = held.levelChannels;
    forEachHeight(picture, [&](int i, Relaxed<int32_t>& height) { height = held.heights[static_cast<size_t>(i)]; });
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
    forEachHeight(picture, [&](int i, Relaxed<int32_t>& height) {
        height = scaled(from.heights[static_cast<size_t>(i)], leftMs, wholeMs);
    });
}

bool changedSince(const TracePicture& picture, HeldPicture& last) {
    const bool left = rowChanged(picture.left, last.left);
    const bool right = rowChanged(picture.right, last.right);
    const bool heights = heightsChanged(picture, last);
    return figureChanged(picture.figure, last) | left | right | heights;
}

void clear(TracePicture& picture) {
    for (auto& point : picture.left) point = 0;
    for (auto& point : picture.right) point = 0;
    picture.figure.count = 0;
    picture.spectrum.count = 0;
    picture.levels.channels = 0;
    forEachHeight(picture, [](int, Relaxed<int32_t>& height) { height = 0; });
}

}  // namespace zembrit

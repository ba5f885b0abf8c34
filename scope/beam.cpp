#include "scope/beam.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>

#include "settings/settings_rules.h"

namespace zembrit {
namespace {

constexpr float kSpotBelowSigmas = 0.5f;  // shorter segments are drawn as spots
constexpr float kReachInSigmas = 3.0f;    // beyond it the spot adds under 1%
constexpr float kNarrowestSigma = 0.6f;   // narrower, the spot would fall between pixels
constexpr float kWidestSigma = kWidestLine * 0.5f;
// The most cells one path's light may visit: room for any figure of short
// strokes at the widest line, and a ceiling for one of long strokes (loud
// noise in X-Y across a full-screen window).
constexpr double kMostVisits = 1 << 22;
constexpr float kFaintest = 1.0f / 4096;  // an intensity far below one colour step
constexpr float kGlowWithoutBlur = 0.35f;
constexpr float kLongestGlow = 0.95f;

// erf(t) for t in [-kErfRange, kErfRange], and exp(-q) for q in [0, kGaussRange]:
// looked up with linear interpolation, they are faster than computed.
constexpr float kErfRange = 3.0f;
constexpr float kGaussRange = kReachInSigmas * kReachInSigmas / 2;
constexpr int kTableSteps = 1024;

struct Table {
    std::array<float, kTableSteps + 2> values;  // one past the last step for the interpolation
    float low, stepsPerUnit;

    float at(float argument) const {
        const float position = std::clamp((argument - low) * stepsPerUnit, 0.0f, float{kTableSteps});
        const int index = static_cast<int>(position);
        const float part = position - static_cast<float>(index);
        return values[index] + (values[index + 1] - values[index]) * part;
    }
};

template <class Function>
Table tabulate(float low, float high, Function function) {
    Table table{{}, low, kTableSteps / (high - low)};
    for (int i = 0; i <= kTableSteps + 1; ++i)
        table.values[i] = function(low + (high - low) * static_cast<float>(i) / kTableSteps);
    return table;
}

const Table& erfTable() {
    static const Table table = tabulate(-kErfRange, kErfRange, [](float t) { return std::erf(t); });
    return table;
}

const Table& gaussTable() {
    static const Table table = tabulate(0.0f, kGaussRange, [](float q) { return std::exp(-q); });
    return table;
}

void addLight(float* cell, const __m128& tint, float value) {
    _mm_storeu_ps(cell, _mm_add_ps(_mm_loadu_ps(cell), _mm_mul_ps(tint, _mm_set1_ps(value))));
}

struct Range {
    int32_t first, last;  // inclusive; empty when last < first
};

// Whole pixels from a to b, cut to [first, last]; the cut comes first, so
// no coordinate too large for 32 bits is ever converted.
Range pixelsWithin(float a, float b, Range bounds) {
    const float low = std::max(std::min(a, b), static_cast<float>(bounds.first));
    const float high = std::min(std::max(a, b), static_cast<float>(bounds.last));
    if (!(low <= high)) return {bounds.first, bounds.first - 1};
    return {static_cast<int32_t>(std::floor(low)), static_cast<int32_t>(std::ceil(high))};
}

// The pixels of row `y` within `reach` of the line through `from` along
// (ux, uy), inside `bounds`.
Range rowReach(float y, PathPoint from, float ux, float uy, float reach, Range bounds) {
    if (std::fabs(uy) < 1e-6f) return bounds;
    const float across = (y - from.y) * ux;
    return pixelsWithin(from.x + (across - reach) / uy, from.x + (across + reach) / uy, bounds);
}

// The pixels from a to b along one axis and `reach` beyond either end,
// within 0 to size - 1.
Range pixelsReached(float a, float b, float reach, int32_t size) {
    return pixelsWithin(std::min(a, b) - reach, std::max(a, b) + reach, {0, size - 1});
}

// The light one path adds, and the cells it goes to.
struct Light {
    float* cells;
    int32_t width, height;
    float sigma, exposure;
    __m128 tint;  // blue, green, red and 1 for the intensity

    float* cellAt(int32_t x, int32_t y) const { return cells + (static_cast<size_t>(y) * width + x) * 4; }
};

// A segment shorter than the beam's radius lights a round spot at its
// middle, as wide as the exact light to within 4% along the segment and for
// a third of the lookups.
void exposeSpot(const Light& light, PathPoint centre) {
    const float sigma = light.sigma;
    const float reach = kReachInSigmas * sigma, gaussScale = 1.0f / (2.0f * sigma * sigma);
    const float peak = light.exposure / (std::sqrt(2.0f * std::numbers::pi_v<float>) * sigma);
    const Range columns = pixelsReached(centre.x, centre.x, reach, light.width);
    const Range rows = pixelsReached(centre.y, centre.y, reach, light.height);
    if (columns.last < columns.first) return;
    const Table& gauss = gaussTable();
    for (int32_t y = rows.first; y <= rows.last; ++y) {
        const float dy = static_cast<float>(y) - centre.y;
        float* cell = light.cellAt(columns.first, y);
        for (int32_t x = columns.first; x <= columns.last; ++x, cell += 4) {
            const float dx = static_cast<float>(x) - centre.x, q = (dx * dx + dy * dy) * gaussScale;
            if (q < kGaussRange) addLight(cell, light.tint, gauss.at(q) * peak);
        }
    }
}

void exposeSegment(const Light& light, PathPoint from, PathPoint to) {
    const float sigma = light.sigma, length = std::hypot(to.x - from.x, to.y - from.y);
    if (std::isinf(length)) return;  // its light spreads over no end of length
    if (!(length >= kSpotBelowSigmas * sigma)) return exposeSpot(light, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    const float ux = (to.x - from.x) / length, uy = (to.y - from.y) / length;
    const float reach = kReachInSigmas * sigma, erfScale = 1.0f / (std::sqrt(2.0f) * sigma);
    const float gaussScale = 1.0f / (2.0f * sigma * sigma), scale = light.exposure / (2.0f * length);
    const Range columns = pixelsReached(from.x, to.x, reach, light.width),
                rows = pixelsReached(from.y, to.y, reach, light.height);
    const Table &erf = erfTable(), &gauss = gaussTable();
    for (int32_t y = rows.first; y <= rows.last; ++y) {
        const Range row = rowReach(static_cast<float>(y), from, ux, uy, reach, columns);
        if (row.last < row.first) continue;
        float* cell = light.cellAt(row.first, y);
        for (int32_t x = row.first; x <= row.last; ++x, cell += 4) {
            const float rx = static_cast<float>(x) - from.x, ry = static_cast<float>(y) - from.y;
            const float across = ry * ux - rx * uy, q = across * across * gaussScale;
            if (q >= kGaussRange) continue;
            const float position = rx * ux + ry * uy;
            // Well inside the segment both ends' terms are 1.
            const bool inside = position > reach && length - position > reach;
            const float ends = inside ? 2.0f : erf.at(position * erfScale) + erf.at((length - position) * erfScale);
            addLight(cell, light.tint, ends * gauss.at(q) * scale);
        }
    }
}

// About how many cells exposeSegment (or exposeSpot, for a short one) visits.
double visitsOf(PathPoint from, PathPoint to, float sigma, int32_t width, int32_t height) {
    const float reach = kReachInSigmas * sigma, length = std::hypot(to.x - from.x, to.y - from.y);
    const bool spot = !(length >= kSpotBelowSigmas * sigma);
    if (spot) from = to = PathPoint{(from.x + to.x) / 2, (from.y + to.y) / 2};
    const Range columns = pixelsReached(from.x, to.x, reach, width), rows = pixelsReached(from.y, to.y, reach, height);
    if (columns.last < columns.first || rows.last < rows.first) return 0.0;
    const double across = columns.last - columns.first + 1.0;
    const double rise = spot ? 0.0 : std::fabs(to.y - from.y) / length;
    const double perRow = rise < 1e-6 ? across : std::min(across, 2.0 * reach / rise + 2.0);
    return (rows.last - rows.first + 1.0) * perRow;
}

double pathVisits(const PathPoint* points, int count, float sigma, int32_t width, int32_t height) {
    double visits = 0.0;
    for (int i = 1; i < count; ++i) visits += visitsOf(points[i - 1], points[i], sigma, width, height);
    return visits;
}

// One pixel of the result: the light tone-mapped (towards white above an
// intensity of 1) and laid over the background by its coverage.
__m128i compositePixel(__m128 cell, __m128i background, bool seeThrough) {
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 intensity = _mm_shuffle_ps(cell, cell, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128 coverage = _mm_min_ps(intensity, one);
    const __m128 inverse = _mm_div_ps(one, _mm_max_ps(intensity, one));
    const __m128 color = _mm_mul_ps(cell, inverse);  // the mean colour once past 1
    const __m128 whiteness = _mm_sub_ps(one, inverse);
    const __m128 light = _mm_add_ps(color, _mm_mul_ps(_mm_sub_ps(one, color), whiteness));
    const __m128 under = _mm_cvtepi32_ps(background);
    const __m128 scale = _mm_set1_ps(255.0f);
    // An opaque pixel over a see-through background shows the light at its
    // full strength: a darkened edge would outline the trace.
    const __m128 mixed = seeThrough
                             ? _mm_div_ps(_mm_mul_ps(light, scale), coverage)
                             : _mm_add_ps(_mm_mul_ps(light, scale), _mm_mul_ps(under, _mm_sub_ps(one, coverage)));
    // The top byte is the background's.
    const __m128 topByte = _mm_castsi128_ps(_mm_set_epi32(-1, 0, 0, 0));
    return _mm_cvtps_epi32(_mm_or_ps(_mm_andnot_ps(topByte, mixed), _mm_and_ps(topByte, under)));
}

}  // namespace

float beamSigma(int32_t penWidth) {
    return std::clamp(static_cast<float>(penWidth) * 0.5f, kNarrowestSigma, kWidestSigma);
}

float beamPersistence(bool motionBlur, uint8_t motionBlurAlpha) {
    if (!motionBlur) return kGlowWithoutBlur;
    return std::min(kLongestGlow, 1.0f - static_cast<float>(motionBlurAlpha) / 255.0f);
}

float beamExposure(const PathPoint* points, int count, float persistence) {
    float length = 0.0f;
    for (int i = 1; i < count; ++i) length += std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y);
    const float usual = count > 1 ? std::max(1.0f, length / static_cast<float>(count - 1)) : 1.0f;
    return usual * (1.0f - persistence);
}

bool BeamPicture::resize(int32_t width, int32_t height) {
    release();
    if (width <= 0 || height <= 0) return false;
    try {
        cells_.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0.0f);
    } catch (const std::bad_alloc&) {
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

void BeamPicture::release() {
    std::vector<float>().swap(cells_);
    width_ = height_ = 0;
}

void BeamPicture::fade(float keep) {
    const __m128 factor = _mm_set1_ps(keep), faintest = _mm_set1_ps(kFaintest);
    for (size_t i = 0; i < cells_.size(); i += 4) {
        const __m128 faded = _mm_mul_ps(_mm_loadu_ps(&cells_[i]), factor);
        _mm_storeu_ps(&cells_[i], _mm_and_ps(faded, _mm_cmpge_ps(faded, faintest)));
    }
}

// The radius is bounded first, so no value asked for makes a segment cost
// more; a path that would still visit too many cells is drawn whole at a
// narrower radius, and one too costly even at the narrowest only as far as
// the cost allows.
void BeamPicture::expose(const PathPoint* points, int count, float sigma, float exposure, BeamColor color) {
    if (!built() || exposure <= 0.0f) return;
    sigma = sigma >= kNarrowestSigma ? std::min(sigma, kWidestSigma) : kNarrowestSigma;
    const double visits = pathVisits(points, count, sigma, width_, height_);
    if (visits > kMostVisits) sigma = std::max(kNarrowestSigma, static_cast<float>(sigma * kMostVisits / visits));
    const Light light{cells_.data(), width_,   height_,
                      sigma,         exposure, _mm_set_ps(1.0f, color.red, color.green, color.blue)};
    if (count == 1) exposeSpot(light, points[0]);
    double spent = 0.0;
    for (int i = 1; i < count; ++i) {
        spent += visitsOf(points[i - 1], points[i], sigma, width_, height_);
        if (spent > kMostVisits) return;
        exposeSegment(light, points[i - 1], points[i]);
    }
}

float BeamPicture::intensityAt(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0.0f;
    return cells_[(static_cast<size_t>(y) * width_ + x) * 4 + 3];
}

void BeamPicture::composite(uint32_t* pixels, int32_t stride, bool seeThrough) const {
    const __m128i zero = _mm_setzero_si128();
    for (int32_t y = 0; y < height_; ++y) {
        const float* cell = &cells_[static_cast<size_t>(y) * width_ * 4];
        uint32_t* pixel = pixels + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width_; ++x, cell += 4, ++pixel) {
            if (cell[3] <= 0.0f || (seeThrough && cell[3] < 0.5f)) continue;
            const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(*pixel));
            const __m128i under = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
            const __m128i mixed = compositePixel(_mm_loadu_ps(cell), under, seeThrough);
            *pixel = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(mixed, zero), zero)));
        }
    }
}

}  // namespace zembrit

#include "capture/signal/band_layout.h"

#include <algorithm>
#include <cmath>

namespace zembrit {
namespace {

constexpr double kLowestHz = 20.0;
constexpr double kHighestHz = 20000.0;
// Band edges are computed in floating point; an edge within this of a bin
// counts as on it, so a bin never falls between two bands by rounding.
constexpr double kOnBin = 1e-9;

}  // namespace

void layBands(const BandTransform& transform, std::span<BandBins> bands) {
    if (bands.empty()) return;
    const double binHz = static_cast<double>(transform.framesPerSecond) / transform.size;
    const uint32_t topBin = transform.size / 2 - 1;  // below the Nyquist bin, which is packed apart
    const double high = std::min(kHighestHz / binHz, static_cast<double>(topBin));
    const double low = std::min(std::max(kLowestHz / binHz, 1.0), high / 2);  // in bins
    const double ratio = std::pow(high / low, 1.0 / static_cast<double>(bands.size()));
    double lower = low;
    for (size_t i = 0; i < bands.size(); ++i) {
        const bool top = i + 1 == bands.size();
        const double upper = top ? high : low * std::pow(ratio, static_cast<double>(i + 1));
        // A band holds the bins from its lower edge up to, not including,
        // its upper edge; the top band holds its upper edge too.
        const auto first = static_cast<uint32_t>(std::ceil(lower - kOnBin));
        const double end = top ? std::floor(upper + kOnBin) + 1 : std::ceil(upper - kOnBin);
        const auto last = static_cast<uint32_t>(std::min(end, static_cast<double>(topBin) + 1)) - 1;
        const double centre = std::min(std::sqrt(lower * upper), static_cast<double>(topBin) - 1);
        bands[i] = {first, last, static_cast<float>(centre)};
        lower = upper;
    }
}

}  // namespace zembrit

#include "capture/signal/band_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace zembrit {
namespace {

// From one bin (or 20 Hz) to 20 kHz (or below the Nyquist bin), every bin
// in exactly one band, in order; a band holding none lies between the bins
// around it, its centre above its lower neighbour's.
TEST(LayBands, EachBinBelongsToOneBandAndEmptyBandsLieBetweenBins) {
    for (const uint32_t rate : {8000u, 44100u, 192000u}) {
        std::array<BandBins, 256> bands{};
        layBands({4096, rate}, bands);
        const double binHz = rate / 4096.0;
        EXPECT_EQ(bands.front().first, static_cast<uint32_t>(std::ceil(std::max(20.0 / binHz, 1.0)))) << rate;
        EXPECT_EQ(bands.back().last, std::min(2047u, static_cast<uint32_t>(20000.0 / binHz))) << rate;
        uint32_t nextBin = bands.front().first;
        for (size_t i = 0; i < bands.size(); ++i) {
            const BandBins& band = bands[i];
            SCOPED_TRACE(testing::Message() << rate << " Hz, band " << i);
            EXPECT_GT(band.centre, i > 0 ? bands[i - 1].centre : 0.0f);
            if (band.first <= band.last) {
                EXPECT_EQ(band.first, nextBin);
                nextBin = band.last + 1;
            } else {
                EXPECT_TRUE(band.centre > float(nextBin - 1) && band.centre < float(nextBin));
            }
        }
    }
}

}  // namespace
}  // namespace zembrit

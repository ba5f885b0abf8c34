#pragma once
// Where the spectrum's bands lie among a transform's bins: log-spaced from
// 20 Hz (or one bin, the lowest band a transform resolves) to 20 kHz or the
// highest bin below the Nyquist frequency, whichever is lower. Each bin
// belongs to one band at most, so no two bands read the same bin; a band
// holding none lies between two bins and is read between them.
// Portable: the standard library only.
#include <cstdint>
#include <span>

namespace zembrit {

struct BandBins {
    uint32_t first;  // the bins inside: first to last; first > last where it holds none
    uint32_t last;
    float centre;  // the band's geometric centre, in bins
};

struct BandTransform {
    uint32_t size;             // samples per transform; bins 1 to size / 2 - 1 are read
    uint32_t framesPerSecond;  // above 0
};

// Fills one BandBins per element of bands, lowest frequency first.
void layBands(const BandTransform& transform, std::span<BandBins> bands);

}  // namespace zembrit

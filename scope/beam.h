#pragma once
// The trace drawn as an oscilloscope's beam. A gaussian spot of radius sigma
// moves along each segment between successive points at constant speed, so
// a segment of length L leaves, in its own frame (x along, y across),
//   [erf(x / (sqrt2 sigma)) + erf((L - x) / (sqrt2 sigma))] exp(-y^2 / (2 sigma^2)) / (2 L):
// the same light in all, spread over its length, so slow parts glow bright
// and fast ones faint. The light adds up in an intensity picture that fades
// by a constant factor each frame (the phosphor's persistence) and is
// tone-mapped onto the background: an intensity of 1 shows the trace colour,
// more saturates towards white and never past it. Pure arithmetic on memory
// it owns; it allocates only in resize, and uses SSE2 for the fade and the
// composite, flushing to zero what fades below sight so no denormal float
// ever slows a pass.
#include <cstdint>
#include <vector>

#include "scope/geometry.h"

namespace zembrit {

struct BeamColor {
    float red, green, blue;  // 0 to 1
};

// The beam radius for the trace's pen width: about half of it, never below
// 0.6 pixels, where the spot would fall between pixels, nor above half the
// widest line the settings hold (8 pixels).
float beamSigma(int32_t penWidth);

// The share of the light a frame keeps from the one before: with motion
// blur, the lower its alpha the longer the glow; without it, a short glow.
float beamPersistence(bool motionBlur, uint8_t motionBlurAlpha);

// The light per unit of length that makes a trace moving at its usual speed
// (the mean length of its segments) show its colour once the picture has
// settled at this persistence.
float beamExposure(const PathPoint* points, int count, float persistence);

class BeamPicture {
public:
    // Sized and dark; false (and empty) when the memory cannot be had.
    bool resize(int32_t width, int32_t height);
    void release();
    bool built() const { return !cells_.empty(); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Multiplies every cell by keep (0 to 1).
    void fade(float keep);
    // Adds the beam drawn along points[0..count-1] at radius sigma (held
    // within beamSigma's bounds), exposure times the light per unit of
    // length, in color. Its cost has a ceiling whatever it is given: a path
    // that would light too many cells is drawn at a narrower radius, and
    // past the ceiling even at the narrowest, only its start.
    void expose(const PathPoint* points, int count, float sigma, float exposure, BeamColor color);
    // The intensity at a pixel, 0 outside the picture.
    float intensityAt(int32_t x, int32_t y) const;

    // Tone-maps the picture onto 32-bit 0x00RRGGBB pixels, rows of `stride`
    // pixels, over what they show; the top byte is left as it is. seeThrough:
    // pixels under half coverage are left alone, the rest drawn opaque at the
    // light's full strength, so a colour key behind them never shows as a fringe.
    void composite(uint32_t* pixels, int32_t stride, bool seeThrough) const;

private:
    std::vector<float> cells_;  // four a pixel: blue, green, red light and intensity
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace zembrit

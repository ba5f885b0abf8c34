#include "scope/beam.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace zembrit {
namespace {

constexpr uint32_t kGrey = 0x00202020;

uint8_t channel(uint32_t pixel, int shift) { return static_cast<uint8_t>(pixel >> shift); }

// A flat line across the picture, exposed frame after frame until it settles.
BeamPicture settledLine(int32_t width, int32_t height, float persistence, BeamColor color) {
    BeamPicture picture;
    EXPECT_TRUE(picture.resize(width, height));
    std::vector<PathPoint> line;
    for (int x = 2; x < width - 2; x += 5) line.push_back({static_cast<float>(x), static_cast<float>(height / 2)});
    const float exposure = beamExposure(line.data(), static_cast<int>(line.size()), persistence);
    for (int frame = 0; frame < 80; ++frame) {
        picture.fade(persistence);
        picture.expose(line.data(), static_cast<int>(line.size()), 0.6f, exposure, color);
    }
    return picture;
}

float totalLight(const BeamPicture& picture) {
    float sum = 0.0f;
    for (int32_t y = 0; y < picture.height(); ++y)
        for (int32_t x = 0; x < picture.width(); ++x) sum += picture.intensityAt(x, y);
    return sum;
}

TEST(Beam, ASettledLineAtItsUsualSpeedShowsTheTraceColourAndLeavesTheRestAlone) {
    const BeamPicture picture = settledLine(40, 11, beamPersistence(false, 0), {1.0f, 0.5f, 0.0f});
    EXPECT_NEAR(picture.intensityAt(20, 5), 1.0f, 0.05f);
    std::vector<uint32_t> pixels(40 * 11, kGrey | 0xAB000000);
    picture.composite(pixels.data(), 40, false);
    const uint32_t centre = pixels[5 * 40 + 20];
    EXPECT_NEAR(channel(centre, 16), 255, 6);
    EXPECT_NEAR(channel(centre, 8), 128, 6);
    EXPECT_NEAR(channel(centre, 0), 0, 6) << "fully covered: none of the grey";
    EXPECT_EQ(channel(centre, 24), 0xAB) << "the top byte is the background's";
    EXPECT_EQ(pixels[0 * 40 + 20], kGrey | 0xAB000000) << "five pixels off the line";
}

TEST(Beam, TheSameLightSpreadsOverALongerSegment) {
    BeamPicture shortOne, longOne;
    ASSERT_TRUE(shortOne.resize(60, 20));
    ASSERT_TRUE(longOne.resize(60, 20));
    const PathPoint shortSegment[] = {{10, 10}, {20, 10}}, longSegment[] = {{10, 10}, {40, 10}};
    shortOne.expose(shortSegment, 2, 1.0f, 1.0f, {1, 1, 1});
    longOne.expose(longSegment, 2, 1.0f, 1.0f, {1, 1, 1});
    EXPECT_NEAR(totalLight(longOne) / totalLight(shortOne), 1.0f, 0.03f);
    BeamPicture spot;  // a segment too short to draw along is drawn as a spot
    ASSERT_TRUE(spot.resize(60, 20));
    const PathPoint still[] = {{10, 10}, {10.2f, 10}};
    spot.expose(still, 2, 1.0f, 1.0f, {1, 1, 1});
    EXPECT_NEAR(totalLight(spot) / totalLight(shortOne), 1.0f, 0.03f);
    EXPECT_NEAR(shortOne.intensityAt(15, 10) / longOne.intensityAt(25, 10), 3.0f, 0.1f);
}

TEST(Beam, ABeamStandingStillSaturatesTowardsWhiteWithoutOverflowing) {
    BeamPicture picture;
    ASSERT_TRUE(picture.resize(9, 9));
    const PathPoint spot{4, 4};
    uint32_t previous = 0;
    for (int frame = 0; frame < 200; ++frame) {
        picture.expose(&spot, 1, 0.6f, 0.5f, {1.0f, 0.0f, 0.0f});
        std::vector<uint32_t> pixels(81, 0);
        picture.composite(pixels.data(), 9, false);
        const uint32_t pixel = pixels[4 * 9 + 4];
        for (int shift : {0, 8, 16}) ASSERT_GE(channel(pixel, shift), channel(previous, shift)) << frame;
        previous = pixel;
    }
    EXPECT_GT(picture.intensityAt(4, 4), 50.0f);
    for (int shift : {0, 8, 16}) EXPECT_GE(channel(previous, shift), 250) << shift;
}

TEST(Beam, FadedLightEndsAtZeroNotInDenormals) {
    // Halved 130 times, a light of about 1 would be a denormal float.
    BeamPicture picture = settledLine(30, 9, 0.5f, {1, 1, 1});
    for (int frame = 0; frame < 130; ++frame) picture.fade(0.5f);
    for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 30; ++x) {
            ASSERT_NE(std::fpclassify(picture.intensityAt(x, y)), FP_SUBNORMAL) << x << "," << y;
            ASSERT_EQ(picture.intensityAt(x, y), 0.0f) << x << "," << y;
        }
}

TEST(Beam, SeeThroughPixelsAreEitherTheKeyOrOpaque) {
    constexpr uint32_t kKey = 0x00FF00E6;
    const BeamPicture picture = settledLine(40, 11, 0.5f, {0.0f, 1.0f, 0.0f});
    std::vector<uint32_t> pixels(40 * 11, kKey);
    picture.composite(pixels.data(), 40, true);
    int opaque = 0;
    for (int32_t y = 0; y < 11; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const uint32_t pixel = pixels[y * 40 + x];
            if (picture.intensityAt(x, y) < 0.5f) {
                EXPECT_EQ(pixel, kKey) << x << "," << y;
                continue;
            }
            ++opaque;
            EXPECT_EQ(channel(pixel, 16), 0) << "no red of the key in " << x << "," << y;
            EXPECT_GE(channel(pixel, 8), 254) << "the light at full strength in " << x << "," << y;
        }
    EXPECT_GT(opaque, 30);
}

TEST(Beam, PointsFarOffThePictureLightNothing) {
    BeamPicture picture;
    ASSERT_TRUE(picture.resize(20, 10));
    const PathPoint far[] = {{-2e9f, 5}, {-1e9f, 5}, {3e9f, -4e9f}, {2e9f, 3e9f}};
    picture.expose(far, 4, 0.6f, 1.0f, {1, 1, 1});
    EXPECT_EQ(totalLight(picture), 0.0f);
    // Across the picture, but longer than a float holds: spread over no end of length.
    const PathPoint across[] = {{-3e38f, 5}, {3e38f, 5}};
    picture.expose(across, 2, 0.6f, 1.0f, {1, 1, 1});
    EXPECT_EQ(totalLight(picture), 0.0f);
}

// Where a point of one picture goes in its image: mirrored left to right or
// top to bottom in a picture of the same size, or transposed into one of the
// swapped size.
enum class Mirror { leftRight, topBottom, transpose };

PathPoint imageOf(PathPoint p, Mirror mirror, int32_t width, int32_t height) {
    switch (mirror) {
    case Mirror::leftRight: return {static_cast<float>(width - 1) - p.x, p.y};
    case Mirror::topBottom: return {p.x, static_cast<float>(height - 1) - p.y};
    default: return {p.y, p.x};
    }
}

// Lights the path in a picture and its image in the mirrored picture: each
// pixel shows what its image shows, and the light stays inside both.
void expectMirrored(const std::vector<PathPoint>& path, int32_t width, int32_t height, Mirror mirror) {
    const bool swapped = mirror == Mirror::transpose;
    BeamPicture picture, image;
    ASSERT_TRUE(picture.resize(width, height));
    ASSERT_TRUE(image.resize(swapped ? height : width, swapped ? width : height));
    std::vector<PathPoint> imagePath;
    for (PathPoint p : path) imagePath.push_back(imageOf(p, mirror, width, height));
    const int count = static_cast<int>(path.size());
    picture.expose(path.data(), count, 1.0f, 1.0f, {1, 1, 1});
    image.expose(imagePath.data(), count, 1.0f, 1.0f, {1, 1, 1});
    EXPECT_GT(totalLight(picture), 0.2f);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const PathPoint to = imageOf({static_cast<float>(x), static_cast<float>(y)}, mirror, width, height);
            ASSERT_NEAR(picture.intensityAt(x, y),
                        image.intensityAt(static_cast<int32_t>(to.x), static_cast<int32_t>(to.y)), 1e-4f)
                << x << "," << y << " of " << width << "x" << height << ", mirror " << static_cast<int>(mirror);
        }
}

// A spot and a segment on each edge and corner of pictures wider and taller
// than square, each against its mirror images; and a spot on the edge keeps
// what falls inside of the light it has in the middle of the picture.
TEST(Beam, EveryEdgeOfAnOblongPictureLightsAsItsMirrorImages) {
    for (const auto& [width, height] : {std::pair{37, 9}, std::pair{9, 37}}) {
        const float right = static_cast<float>(width - 1), bottom = static_cast<float>(height - 1);
        const std::vector<std::vector<PathPoint>> paths = {
            {{0, 3.3f}},
            {{2.6f, 0}},
            {{right, bottom}},
            {{0.4f, 1.3f}, {0.1f, bottom - 1.2f}},
            {{-1.7f, bottom - 0.3f}, {3.1f, bottom + 0.2f}, {right - 2.2f, bottom}},
            {{right + 0.8f, 1.4f}, {right - 0.6f, -0.9f}},
        };
        for (const std::vector<PathPoint>& path : paths)
            for (Mirror mirror : {Mirror::leftRight, Mirror::topBottom, Mirror::transpose})
                expectMirrored(path, width, height, mirror);

        BeamPicture edge, middle;
        ASSERT_TRUE(edge.resize(width, height));
        ASSERT_TRUE(middle.resize(width, height));
        const PathPoint onEdge{0, bottom}, inside{4, bottom - 4};
        edge.expose(&onEdge, 1, 1.0f, 1.0f, {1, 1, 1});
        middle.expose(&inside, 1, 1.0f, 1.0f, {1, 1, 1});
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width - 4; ++x)
                ASSERT_FLOAT_EQ(edge.intensityAt(x, y), y < 4 ? 0.0f : middle.intensityAt(x + 4, y - 4))
                    << x << "," << y;
    }
}

// However wide a pen the settings ask for, the spot is at most 8 pixels in
// radius: its light reaches no further than 3 radii.
TEST(Beam, TheRadiusIsBoundedWhateverThePenAsks) {
    EXPECT_FLOAT_EQ(beamSigma(INT_MAX), 8.0f);
    EXPECT_FLOAT_EQ(beamSigma(INT_MIN), 0.6f);
    BeamPicture picture;
    ASSERT_TRUE(picture.resize(200, 60));
    const PathPoint spot{100, 30};
    picture.expose(&spot, 1, 1e6f, 1.0f, {1, 1, 1});
    EXPECT_GT(picture.intensityAt(100, 30), 0.0f);
    EXPECT_EQ(picture.intensityAt(125, 30), 0.0f);
    EXPECT_EQ(picture.intensityAt(100, 55), 0.0f);
}

// A path whose light would cost more than a frame may spend is drawn whole
// at a narrower radius; one too costly even at the narrowest is drawn as far
// as the cost allows, from its start.
TEST(Beam, APathTooCostlyIsNarrowedThenCut) {
    BeamPicture zigzag;
    ASSERT_TRUE(zigzag.resize(1100, 1000));
    std::vector<PathPoint> rows;
    for (int i = 0; i < 100; ++i) rows.push_back({50.0f + 10.0f * i, i % 2 ? 999.0f : 0.0f});
    zigzag.expose(rows.data(), 100, 8.0f, 10.0f, {1, 1, 1});
    EXPECT_EQ(zigzag.intensityAt(33, 500), 0.0f) << "22 pixels off the path: within 3 radii of 8";
    EXPECT_GT(zigzag.intensityAt(1035, 500), 0.0f) << "the last segment";

    BeamPicture figure;
    ASSERT_TRUE(figure.resize(1600, 1000));
    std::vector<PathPoint> strokes;
    for (int i = 0; i < 1600; ++i) strokes.push_back({static_cast<float>(i), i % 2 ? 999.0f : 0.0f});
    figure.expose(strokes.data(), 1600, 0.6f, 1.0f, {1, 1, 1});
    EXPECT_GT(figure.intensityAt(10, 500), 0.0f);
    EXPECT_EQ(figure.intensityAt(1590, 500), 0.0f);
}

TEST(Beam, ALowerBlurAlphaGlowsLongerAndEveryGlowEnds) {
    EXPECT_GT(beamPersistence(true, 40), beamPersistence(true, 200));
    EXPECT_LT(beamPersistence(true, 0), 1.0f);
    EXPECT_LT(beamPersistence(false, 0), beamPersistence(true, 40));
    EXPECT_FLOAT_EQ(beamSigma(1), 0.6f);
    EXPECT_FLOAT_EQ(beamSigma(4), 2.0f);
}

}  // namespace
}  // namespace zembrit

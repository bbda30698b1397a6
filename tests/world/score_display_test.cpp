#include <gtest/gtest.h>

#include <bit>
#include <climits>

#include "world/score_display.h"
#include "world/world_tables.h"
#include "world_fixture.h"

namespace {

class ScoreDisplay : public WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        for (int d = 0; d < 10; ++d) digitSegments[d] = kDigitMasks[d];
    }
    // Starts from a batch whose last piece is closed, so the count is exact.
    void Draw(int32_t n, float x, float s) {
        vertexBatch.doubleNext = 0;
        DrawNumber(n, x, 0.0f, 0.0f, 1.0f, s);
    }
    // Centre x of every bar drawn: the mean x of its four corners.
    std::vector<float> BarCentres() const {
        std::vector<float> xs;
        // Vertex 0 is the leading black copy; each bar is 6 vertices starting
        // with its doubled first corner.
        for (int first = 1; first + 5 < vertexBatch.count; first += 6) {
            float sum = 0.0f;
            for (int k = 1; k <= 4; ++k) sum += At(first + k).x;
            xs.push_back(sum / 4.0f);
        }
        return xs;
    }
};

TEST_F(ScoreDisplay, EachDigitDrawsOneSixVertexPiecePerBarOfItsMask) {
    // The bars each digit must show, read as the seven-segment picture.
    const char* shapes[10] = {"top ul ur ll bot lr", "ur lr",       "top mid ur ll bot", "top mid ur bot lr",
                              "ul mid ur lr",        "top ul mid bot lr", "ul mid ll bot lr", "top ur lr",
                              "top ul mid ur ll bot lr", "top ul mid ur lr"};
    const std::pair<const char*, int> names[] = {{"top", 1}, {"ul", 2}, {"mid", 4}, {"ur", 8},
                                                 {"ll", 16}, {"bot", 32}, {"lr", 64}};
    for (int d = 0; d < 10; ++d) {
        int expected = 0;
        std::string shape = std::string(" ") + shapes[d] + " ";
        for (auto& [name, bit] : names)
            if (shape.find(std::string(" ") + name + " ") != std::string::npos) expected |= bit;
        EXPECT_EQ(kDigitMasks[d], expected) << "digit " << d;
        Draw(d == 0 ? 10 : d, 0.0f, 1.0f);
        const int digitBars = std::popcount(static_cast<unsigned>(kDigitMasks[d]));
        const int extra = d == 0 ? 2 : 0;  // the leading one of "10"
        EXPECT_EQ(vertexBatch.count, 1 + 6 * (digitBars + extra)) << "digit " << d;
        EXPECT_EQ(vertexBatch.stripEntryCount, 2);
        EXPECT_EQ(vertexBatch.stripStarts[1], vertexBatch.count);
    }
}

TEST_F(ScoreDisplay, BarCornersFollowTheStripOrderWithBlueColourAndShiftedDepth) {
    vertexBatch.Reset();
    DrawSegment(1, 2.0f, 3.0f, 7.0f, 1.0f, 2.0f);  // top bar: y = 3 + 2 +- 0.1
    ASSERT_EQ(vertexBatch.count, 5);
    const float xs[4] = {1.0f, 3.0f, 1.0f, 3.0f};
    const float ys[4] = {5.1f, 5.1f, 4.9f, 4.9f};
    for (int i = 0; i < 4; ++i) {
        BatchVertex v = At(i);
        EXPECT_FLOAT_EQ(v.x, xs[i]);
        EXPECT_FLOAT_EQ(v.y, ys[i]);
        EXPECT_FLOAT_EQ(v.z, 11.0f);
        EXPECT_EQ(v.colour, 0xFF0000FFu);
        EXPECT_EQ(v.nz, 1.0f);
    }
    EXPECT_EQ(At(4).colour, 0xFF000000u);  // the black closing copy

    vertexBatch.Reset();
    vertexBatch.doubleNext = 0;
    DrawSegment(64, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);  // lower right: x = 0.5 +- 0.1, y 0 .. -1
    EXPECT_FLOAT_EQ(At(0).x, 0.6f);
    EXPECT_FLOAT_EQ(At(1).y, -1.0f);
    EXPECT_FLOAT_EQ(At(2).x, 0.4f);
    vertexBatch.Reset();
    vertexBatch.doubleNext = 0;
    DrawSegment(128, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(At(0).y, 1.0f);
    EXPECT_FLOAT_EQ(At(3).y, -1.0f);
}

TEST_F(ScoreDisplay, UnknownBitsAndCountsBelowOneDrawNothing) {
    vertexBatch.Reset();
    for (int bit : {0, 3, 256, -1}) DrawSegment(bit, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(vertexBatch.count, 0);
    for (int n : {0, -7, INT_MIN}) {
        Draw(n, 0.0f, 1.0f);
        EXPECT_EQ(vertexBatch.count, 1) << n;  // only the strip-opening copy
    }
}

TEST_F(ScoreDisplay, DigitsGrowLeftwardsFromTheGivenX) {
    Draw(10, 5.0f, 2.0f);
    std::vector<float> centres = BarCentres();
    // The zero's six bars centre at 5 - 3 and the one's two bars at 5 - 6.
    ASSERT_EQ(centres.size(), 8u);
    float zeroSum = 0.0f;
    for (int i = 0; i < 6; ++i) zeroSum += centres[i];
    EXPECT_NEAR(zeroSum / 6.0f, 2.0f, 1e-5f);
    EXPECT_NEAR((centres[6] + centres[7]) / 2.0f, 0.0f, 1e-5f);  // both right-hand bars: 5 - 6 + s/2
}

TEST_F(ScoreDisplay, WidthKeepsTheLeadingDigitInPlace) {
    EXPECT_EQ(NumberWidth(0, 1.0f), -1.5f);
    EXPECT_EQ(NumberWidth(-3, 2.0f), -3.0f);
    EXPECT_EQ(NumberWidth(9, 1.0f), 0.0f);
    EXPECT_EQ(NumberWidth(10, 1.0f), 1.5f);
    EXPECT_EQ(NumberWidth(100, 1.0f), 3.0f);
    EXPECT_EQ(NumberWidth(999999999, 1.0f), 12.0f);
    // Whatever the count, the leftmost digit sits 1.5 s left of the unshifted x.
    for (int n : {2, 42, 23456, 999999999}) {  // leading digits with a left-hand bar
        const float w = NumberWidth(n, 1.0f);
        Draw(n, w, 1.0f);
        float minX = 1e9f;
        for (int i = 0; i < vertexBatch.count; ++i) minX = std::min(minX, At(i).x);
        EXPECT_NEAR(minX, -1.5f - 0.5f - 0.1f, 1e-4f) << n;
    }
}

TEST_F(ScoreDisplay, TenDigitCountsShowTheLargestNineDigitNumber) {
    for (int n : {1000000000, INT_MAX}) {
        EXPECT_EQ(NumberWidth(n, 1.0f), 12.0f);
        Draw(n, 0.0f, 1.0f);
        EXPECT_EQ(vertexBatch.count, 1 + 9 * 6 * std::popcount(static_cast<unsigned>(kDigitMasks[9])));
        float minX = 1e9f;
        for (int i = 0; i < vertexBatch.count; ++i) minX = std::min(minX, At(i).x);
        EXPECT_NEAR(minX, -13.5f - 0.5f - 0.1f, 1e-4f);  // the leftmost nine's upper-left bar
    }
}

}  // namespace

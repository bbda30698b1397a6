#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>

#include "world/score_display.h"
#include "world_fixture.h"

namespace {

class ScoreDisplay : public WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        std::copy(kDigitMasks, kDigitMasks + 10, digitSegments);
    }
    // From a closed batch, so every bar is exactly six vertices after the
    // leading black copy; returns the smallest x written.
    float Draw(int32_t n, float x, float s = 1.0f) {
        vertexBatch.doubleNext = 0;
        DrawNumber(n, x, 0.0f, 0.0f, 1.0f, s);
        float minX = 1e9f;
        for (int i = 0; i < vertexBatch.count; ++i) minX = std::min(minX, Vertex(i).x);
        return minX;
    }
};

TEST_F(ScoreDisplay, MasksMatchTheSevenSegmentPictures) {
    // top, upper left, middle, upper right, lower left, bottom, lower right
    const char* lit[10] = {"1101111", "0001001", "1011110", "1011011", "0111001",
                           "1110011", "0110111", "1001001", "1111111", "1111001"};
    for (int d = 0; d < 10; ++d) {
        int mask = 0;
        for (int b = 0; b < 7; ++b) mask |= (lit[d][b] == '1') << b;
        EXPECT_EQ(kDigitMasks[d], mask) << d;
        Draw(d == 0 ? 10 : d, 0.0f);
        EXPECT_EQ(vertexBatch.count, 1 + 6 * (std::popcount(unsigned(mask)) + (d == 0 ? 2 : 0))) << d;
        EXPECT_EQ(vertexBatch.stripStarts[1], vertexBatch.count);
    }
}

TEST_F(ScoreDisplay, NumbersGrowLeftAndTheWidthKeepsTheLeadingDigitInPlace) {
    for (int n : {0, -7, INT_MIN}) {
        Draw(n, 0.0f);
        EXPECT_EQ(vertexBatch.count, 1) << n;  // nothing but the strip-opening copy
        EXPECT_EQ(NumberWidth(n, 2.0f), -3.0f);
    }
    EXPECT_FLOAT_EQ(Draw(10, 5.0f, 2.0f), 5.0f - 6.0f + 0.9f);  // the one at x - 3s, right-hand bars only
    EXPECT_EQ(NumberWidth(9, 1.0f), 0.0f);
    EXPECT_EQ(NumberWidth(10, 1.0f), 1.5f);
    EXPECT_EQ(NumberWidth(100, 1.0f), 3.0f);
    for (int n : {2, 42, 23456, 999999999})  // leading digits with a left-hand bar
        EXPECT_NEAR(Draw(n, NumberWidth(n, 1.0f)), -2.1f, 1e-4f) << n;
    // Ten digits would overflow the place value: they show as nine nines.
    for (int n : {1000000000, INT_MAX}) {
        EXPECT_EQ(NumberWidth(n, 1.0f), 12.0f);
        EXPECT_NEAR(Draw(n, 0.0f), -14.1f, 1e-4f);
        EXPECT_EQ(vertexBatch.count, 1 + 9 * 6 * 5);
    }
}

}  // namespace

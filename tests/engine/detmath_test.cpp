// The game's own trigonometry must give the exact values rounded once, the same on every build:
// pinned results (hard and special arguments) and a comparison with 113-bit quad precision over the
// ranges the game uses.
#include <gtest/gtest.h>
#include <quadmath.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/DetMath.h"
#include "engine/DetMathKernels.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Same bits (so -0 differs from +0).
::testing::AssertionResult Same(double got, double want) {
    if (std::memcmp(&got, &want, sizeof got) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hexfloat << got << " instead of " << want;
}

}  // namespace

TEST(DetMath, PinnedDoubleResults) {
    // pi/2 and pi as doubles are just short of the marks: what is left is the next bits of pi.
    EXPECT_TRUE(Same(detmath::Sin(0x1.921fb54442d18p+1), 0x1.1a62633145c07p-53));
    EXPECT_TRUE(Same(detmath::Cos(0x1.921fb54442d18p+0), 0x1.1a62633145c07p-54));
    EXPECT_TRUE(Same(detmath::Tan(0x1.921fb54442d18p+0), 0x1.d02967c31cdb5p+53));
    EXPECT_TRUE(Same(detmath::Tan(0x1.921fb54442d18p-1), 0x1.fffffffffffffp-1));
    EXPECT_TRUE(Same(detmath::Sin(-0x1.921fb54442d18p+2), 0x1.1a62633145c07p-52));
    // Large arguments need pi to many more bits than a double holds.
    EXPECT_TRUE(Same(detmath::Sin(1e22), -0x1.b453ab76bf397p-1));
    EXPECT_TRUE(Same(detmath::Cos(0x1.fffffffffffffp+1023), -0x1.fffe62ecfab75p-1));
    // The double that comes nearest a quarter-turn mark.
    EXPECT_TRUE(Same(detmath::Cos(0x1.6ac5b262ca1ffp+849), -0x1.14ae72e6ba22fp-61));
    EXPECT_TRUE(Same(detmath::Sin(0x1.6ac5b262ca1ffp+849), 1.0));
    // Tiny arguments, signed zeros.
    EXPECT_TRUE(Same(detmath::Sin(0x1p-30), 0x1p-30));
    EXPECT_TRUE(Same(detmath::Tan(-0x1.8p-1074), -0x1.8p-1074));
    EXPECT_TRUE(Same(detmath::Cos(0x1p-30), 1.0));
    EXPECT_TRUE(Same(detmath::Sin(-0.0), -0.0));
    EXPECT_TRUE(Same(detmath::Atan2(1.0, 1.0), 0x1.921fb54442d18p-1));
    EXPECT_TRUE(Same(detmath::Atan2(-0.0, -1), -0x1.921fb54442d18p+1));
    EXPECT_TRUE(Same(detmath::Atan2(0.0, 0.0), 0.0));
    EXPECT_TRUE(Same(detmath::Atan2(-0.0, -0.0), -0x1.921fb54442d18p+1));
    EXPECT_TRUE(Same(detmath::Atan2(1.0, -0.0), 0x1.921fb54442d18p+0));
    EXPECT_TRUE(Same(detmath::Atan2(kInf, -kInf), 0x1.2d97c7f3321d2p+1));
    EXPECT_TRUE(Same(detmath::Atan2(-3.0, kInf), -0.0));
    EXPECT_TRUE(Same(detmath::Atan2(1e-300, -1e300), 0x1.921fb54442d18p+1));
    EXPECT_TRUE(Same(detmath::Atan2(1e-300, 1e300), 0.0));
    EXPECT_TRUE(Same(detmath::Atan2(0x1p-1000, 0x1p-1074), 0x1.921fb54442d18p+0));
    EXPECT_TRUE(Same(detmath::Atan2(-7.0, 3.0), -0x1.2a78b84fbf5fcp+0));
    for (double bad : {kNaN, kInf, -kInf}) {
        EXPECT_TRUE(std::isnan(detmath::Sin(bad)));
        EXPECT_TRUE(std::isnan(detmath::Cos(bad)));
        EXPECT_TRUE(std::isnan(detmath::Tan(bad)));
    }
    EXPECT_TRUE(std::isnan(detmath::Atan2(kNaN, 1.0)));
    EXPECT_TRUE(std::isnan(detmath::Atan2(kInf, kNaN)));
}

TEST(DetMath, PinnedFloatResults) {
    EXPECT_EQ(detmath::Sin(0x1.921fb6p+1f), -0x1.777a5cp-24f);
    EXPECT_EQ(detmath::Cos(0x1.921fb6p+0f), -0x1.777a5cp-25f);
    EXPECT_EQ(detmath::Sin(0x1p+127f), 0x1.3f2c62p-1f);
    EXPECT_EQ(detmath::Cos(-0x1.fffffep+127f), 0x1.b4bf2cp-1f);
    EXPECT_EQ(detmath::Sin(0x1p-149f), 0x1p-149f);
    EXPECT_EQ(detmath::Atan2(-1.0f, -1.0f), -0x1.2d97c8p+1f);
    EXPECT_EQ(detmath::Atan2(3.0f, 0.0f), 0x1.921fb6p+0f);
    EXPECT_TRUE(std::isnan(detmath::Sin(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(detmath::Atan2(std::numeric_limits<float>::quiet_NaN(), 1.0f)));
}

// A double-double lying exactly halfway between two floats, or a hair to either side of it.
TEST(DetMath, RoundingToFloatLooksPastAHalfwayHead) {
    const double halfway = 1.0 + 0x1p-24;                  // between 1 and the next float up
    EXPECT_EQ(detmath::RoundToFloat({halfway, 0}), 1.0f);  // a true tie goes to even
    EXPECT_EQ(detmath::RoundToFloat({halfway, 0x1p-90}), 1.0f + 0x1p-23f);
    EXPECT_EQ(detmath::RoundToFloat({halfway, -0x1p-90}), 1.0f);
    EXPECT_EQ(detmath::RoundToFloat({-halfway, -0x1p-90}), -1.0f - 0x1p-23f);
    const double halfwayOdd = 1.0 + 3 * 0x1p-24;  // ties to even go up here
    EXPECT_EQ(detmath::RoundToFloat({halfwayOdd, 0}), 1.0f + 0x1p-22f);
    EXPECT_EQ(detmath::RoundToFloat({halfwayOdd, -0x1p-90}), 1.0f + 0x1p-23f);
}

TEST(DetMath, PinnedHardFloatCases) {
    // Exact values within a millionth of an ulp of halfway between two floats.
    EXPECT_EQ(detmath::Sin(0x1.27993p+0f), 0x1.d44f1ep-1f);
    EXPECT_EQ(detmath::Cos(-0x1.8p-11f), 0x1.fffff8p-1f);
    EXPECT_EQ(detmath::Atan2(0x1.5cp+7f, -0x1.46p+7f), 0x1.296a96p+1f);
}

namespace {

// How one function fares over many arguments against the quad-precision reference.
struct Tally {
    const char* name;
    int count = 0;
    int misrounded = 0;  // not the exact value rounded once
    int unsure = 0;      // double results too close to halfway for the reference to judge
    int fromLibm = 0;    // results that differ from the C library's
    double worst = 0;    // largest relative error before rounding
    ~Tally() {
        std::printf(
            "%-6s %6d arguments: %d misrounded, %d too close to call, %d differ from the C library, "
            "worst error before rounding 2^%.1f\n",
            name, count, misrounded, unsure, fromLibm, worst > 0 ? std::log2(worst) : -999.0);
    }
};

void TrackError(Tally* t, DoubleDouble got, __float128 exact) {
    // Below 2^-600 the arc tangent is just the rounded quotient; a double-double cannot hold 106 bits
    // down near the subnormals anyway.
    const double err = static_cast<double>(fabsq(((__float128)got.hi + got.lo - exact) / exact));
    if (err > t->worst && fabsq(exact) > static_cast<__float128>(0x1p-600)) t->worst = err;
}

void CheckDouble(Tally* t, DoubleDouble got, double libm, __float128 exact) {
    ++t->count;
    const double rounded = got.hi;
    if (rounded != libm) ++t->fromLibm;
    if (exact == 0) {
        if (rounded != 0) ++t->misrounded;
        return;
    }
    TrackError(t, got, exact);
    const double want = static_cast<double>(exact);
    if (rounded == want) return;
    // The reference is good to about 2^-112: within 2^-108 of halfway it cannot tell.
    const double other = std::nextafter(want, rounded);
    const __float128 halfway = ((__float128)want + other) / 2;
    if (fabsq((exact - halfway) / exact) < static_cast<__float128>(0x1p-108))
        ++t->unsure;
    else
        ++t->misrounded;
}

void CheckFloat(Tally* t, float got, DoubleDouble raw, float libm, __float128 exact) {
    ++t->count;
    if (exact != 0) TrackError(t, raw, exact);
    if (got != libm) ++t->fromLibm;
    if (got != static_cast<float>(exact)) ++t->misrounded;
}

}  // namespace

// Angles as the game makes them (aims, ring shots, wavering phases that keep growing, shakes),
// coordinate differences on and off the half pixel, and wide double arguments.
TEST(DetMath, AgreesWithQuadPrecisionOverTheGamesRanges) {
    std::mt19937 rng(19);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto wide = [&]() {  // any sign and binary exponent from -60 to 1023
        const double m = uniform(1, 2);
        const int e = std::uniform_int_distribution<int>(-60, 1023)(rng);
        return std::ldexp(rng() & 1 ? -m : m, e);
    };
    Tally sinf{"sinf"}, cosf{"cosf"}, atan2f{"atan2f"}, sin{"sin"}, cos{"cos"}, tan{"tan"}, atan2{"atan2"};

    std::vector<float> angles;
    for (int i = 0; i < 30000; ++i) angles.push_back(static_cast<float>(uniform(-6.3, 6.3)));
    for (int i = 0; i < 6000; ++i) angles.push_back(static_cast<float>(uniform(-3000, 3000)));
    for (int i = 0; i < 2000; ++i) angles.push_back(static_cast<float>(uniform(-0.01, 0.01)));
    for (int k = -400; k <= 400; ++k) angles.push_back(static_cast<float>(k) * 3.14159265f / 4);
    for (float a : angles) {
        CheckFloat(&sinf, detmath::Sin(a), detmath::SinDD(a), std::sin(a), sinq(a));
        CheckFloat(&cosf, detmath::Cos(a), detmath::CosDD(a), std::cos(a), cosq(a));
    }
    for (int i = 0; i < 30000; ++i) {
        const float dy = static_cast<float>(std::uniform_int_distribution<int>(-1400, 1400)(rng)) / 2;
        const float dx = static_cast<float>(std::uniform_int_distribution<int>(-1400, 1400)(rng)) / 2;
        CheckFloat(&atan2f, detmath::Atan2(dy, dx), detmath::Atan2DD(dy, dx), std::atan2(dy, dx), atan2q(dy, dx));
    }
    for (int i = 0; i < 12000; ++i) {
        const double x = i % 4 == 0 ? wide() : uniform(-7, 7);
        CheckDouble(&sin, detmath::SinDD(x), std::sin(x), sinq(x));
        CheckDouble(&cos, detmath::CosDD(x), std::cos(x), cosq(x));
        CheckDouble(&tan, detmath::TanDD(x), std::tan(x), tanq(x));
        const double y = i % 4 == 0 ? wide() : uniform(-1000, 1000);
        CheckDouble(&atan2, detmath::Atan2DD(y, x), std::atan2(y, x), atan2q(y, x));
    }
    for (Tally* t : {&sinf, &cosf, &atan2f, &sin, &cos, &tan, &atan2}) {
        EXPECT_EQ(t->misrounded, 0) << t->name;
        EXPECT_LT(t->worst, 0x1p-100) << t->name;
        EXPECT_LE(t->unsure, 1) << t->name;
    }
}

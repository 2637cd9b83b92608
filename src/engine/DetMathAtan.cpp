// The arc tangent of y/x to about 100 bits: the ratio (made at most 1) is moved next to the nearest
// of nine marks c = i/8, atan t = atan c + atan((t - c)/(1 + t c)), and the small rest summed as a
// series in double-double.
#include <cstdint>
#include <cstring>

#include "engine/DetMathKernels.h"

namespace detmath {
namespace {

const DoubleDouble kPi = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};
const DoubleDouble kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
const DoubleDouble kQuarterPi = {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55};
const DoubleDouble kThreeQuarterPi = {0x1.2d97c7f3321d2p+1, 0x1.a79394c9e8a0ap-54};

// atan(i/8) for i = 0..8.
const DoubleDouble kAtanMarks[] = {
    {0, 0},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};

// |u| <= 1/16, so u^28 is below 2^-112: fourteen terms after the first.
const int kSeriesTerms = 14;

// Below 2^-600 the ratio t is the arc tangent to far more than 106 bits (atan t = t - t^3/3 ...), and
// the result is the quotient rounded once (only in the subnormal range can that be a tie that the
// exact arc tangent, a hair smaller, would break the other way).
const int kTinyExponent = -600;

// atan u = u (1 - u^2/3 + u^4/5 - ...), by Horner's rule from the last term.
DoubleDouble AtanSeries(DoubleDouble u) {
    const DoubleDouble u2 = dd::Mul(u, u);
    DoubleDouble t = dd::Div(DoubleDouble{1, 0}, static_cast<double>(2 * kSeriesTerms + 1));
    for (int k = kSeriesTerms - 1; k >= 0; --k) {
        const DoubleDouble term = dd::Div(DoubleDouble{1, 0}, static_cast<double>(2 * k + 1));
        t = dd::Add(term, dd::Neg(dd::Mul(u2, t)));
    }
    return dd::Mul(u, t);
}

// atan t for 0 <= t <= 1.
DoubleDouble AtanUnit(DoubleDouble t) {
    const int i = static_cast<int>(t.hi * 8 + 0.5);
    const double c = i / 8.0;
    const DoubleDouble u = dd::Div(dd::Add(t, -c), dd::Add(dd::Mul(t, c), 1.0));
    return dd::Add(kAtanMarks[i], AtanSeries(u));
}

// a = m * 2^exponent with 1 <= m < 2, for finite a > 0.
double Significand(double a, int* exponent) {
    int shift = 0;
    if (a < 0x1p-1022) {  // subnormal: scale up exactly first
        a *= 0x1p64;
        shift = -64;
    }
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    *exponent = static_cast<int>(bits >> 52) - 1023 + shift;
    bits = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1023} << 52);
    double m;
    std::memcpy(&m, &bits, sizeof m);
    return m;
}

bool SignBit(double a) {
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    return bits >> 63;
}

// The angle for y, x not NaN, when one of them is zero or infinite.
DoubleDouble Atan2Edge(double y, double x) {
    const bool xInf = x - x != 0;
    const bool yInf = y - y != 0;
    DoubleDouble a;
    if (yInf && xInf) {
        a = x > 0 ? kQuarterPi : kThreeQuarterPi;
    } else if (yInf || x == 0) {
        a = y == 0 ? (SignBit(x) ? kPi : DoubleDouble{0, 0}) : kHalfPi;
    } else {  // y == 0 or x infinite
        a = SignBit(x) ? kPi : DoubleDouble{0, 0};
    }
    return SignBit(y) ? dd::Neg(a) : a;
}

}  // namespace

DoubleDouble Atan2DD(double y, double x) {
    if (x == 0 || y == 0 || x - x != 0 || y - y != 0) return Atan2Edge(y, x);
    const double ax = x < 0 ? -x : x;
    const double ay = y < 0 ? -y : y;
    const bool steep = ay > ax;  // then atan(y/x) = pi/2 - atan(x/y)
    int eNum, eDen;
    const double mNum = Significand(steep ? ax : ay, &eNum);
    const double mDen = Significand(steep ? ay : ax, &eDen);
    // ratio = mNum / mDen * 2^(eNum - eDen) <= 1
    DoubleDouble a;
    if (eNum - eDen < kTinyExponent) {
        a = {steep ? ax / ay : ay / ax, 0};
    } else {
        const double scale = dd::Pow2(eNum - eDen);
        DoubleDouble ratio = dd::Div(DoubleDouble{mNum, 0}, mDen);
        ratio = {ratio.hi * scale, ratio.lo * scale};
        a = AtanUnit(ratio);
    }
    if (steep) a = dd::Add(kHalfPi, dd::Neg(a));
    if (x < 0) a = dd::Add(kPi, dd::Neg(a));
    return y < 0 ? dd::Neg(a) : a;
}

}  // namespace detmath

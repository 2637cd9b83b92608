// Sine, cosine and tangent to about 100 bits: the angle is reduced exactly to a remainder within an
// eighth of a turn of a quarter-turn mark, then short Taylor series are summed in double-double.
#include <cstdint>
#include <cstring>

#include "engine/DetMathKernels.h"

namespace detmath {
namespace {

// pi/2 as a double-double.
const DoubleDouble kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
const double kQuarterPi = 0x1.921fb54442d18p-1;

// The bits of 2/pi after the binary point, 32 at a time: enough to reduce any finite double.
const uint32_t kTwoOverPi[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D,
};
const int kWindowWords = 10;  // words of 2/pi multiplied by the argument
const int kProductWords = kWindowWords + 2;

// Below this the series stop after their second term (the third is below 2^-108 of the first),
// and the sine and tangent round to the argument, the cosine to 1.
const double kTiny = 0x1p-27;

// Terms of the series: the first left out is below 2^-118 of the result for |r| <= pi/4.
const int kSeriesTerms = 14;

struct Reduced {
    int quarterTurns;   // the nearest whole number of quarter turns, modulo 4
    DoubleDouble rest;  // the angle left, |rest| <= pi/4
};

// x (x >= pi/4, finite) times 2/pi, split into its nearest whole number and the signed fraction left
// over, then the fraction turned back into an angle. The argument's 53-bit integer significand m
// (x = m * 2^e) is multiplied exactly by a window of 320 bits of 2/pi that starts just where the
// bits stop mattering modulo 4; the bits of 2/pi left out change the fraction by less than 2^-234,
// while the nearest any double comes to a quarter-turn mark is about 2^-61 of a quarter turn.
Reduced ReduceLarge(double x) {
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int e = static_cast<int>(bits >> 52) - 1075;
    const int first = e > 2 ? (e - 2) / 32 : 0;  // words before it only add multiples of 4

    // product = m * window, little-endian 32-bit words.
    uint32_t product[kProductWords] = {};
    const uint32_t mWords[2] = {static_cast<uint32_t>(m), static_cast<uint32_t>(m >> 32)};
    for (int j = 0; j < 2; ++j) {
        uint64_t carry = 0;
        for (int i = 0; i < kWindowWords; ++i) {
            const uint64_t w = kTwoOverPi[first + kWindowWords - 1 - i];
            const uint64_t cur = w * mWords[j] + product[i + j] + carry;
            product[i + j] = static_cast<uint32_t>(cur);
            carry = cur >> 32;
        }
        product[kWindowWords + j] = static_cast<uint32_t>(carry);
    }
    // x * 2/pi = product * 2^-fracBits, give or take the bits of 2/pi beyond the window.
    const int fracBits = 32 * (first + kWindowWords) - e;
    auto bit = [&](int k) { return (product[k / 32] >> (k % 32)) & 1u; };
    int quarterTurns = static_cast<int>(bit(fracBits) + 2 * bit(fracBits + 1));

    // The fraction's words, cut to fracBits bits; past one half it counts back from the next mark.
    const int fracWords = (fracBits + 31) / 32;
    uint32_t frac[kProductWords] = {};
    for (int i = 0; i < fracWords; ++i) frac[i] = product[i];
    if (fracBits % 32) frac[fracWords - 1] &= (1u << (fracBits % 32)) - 1;
    const bool pastHalf = bit(fracBits - 1);
    if (pastHalf) {
        quarterTurns += 1;
        uint64_t carry = 1;  // 2^fracBits - frac: invert and add one
        for (int i = 0; i < fracWords; ++i) {
            const uint64_t cur = static_cast<uint64_t>(static_cast<uint32_t>(~frac[i])) + carry;
            frac[i] = static_cast<uint32_t>(cur);
            carry = cur >> 32;
        }
        if (fracBits % 32) frac[fracWords - 1] &= (1u << (fracBits % 32)) - 1;
    }

    // The top five non-zero words (at least 129 bits) as a double-double, smallest first.
    int top = fracWords - 1;
    while (top > 0 && frac[top] == 0) --top;
    DoubleDouble f;
    for (int i = top - 4 < 0 ? 0 : top - 4; i <= top; ++i) {
        f = dd::Add(f, static_cast<double>(frac[i]) * dd::Pow2(32 * i - fracBits));
    }
    DoubleDouble rest = dd::Mul(f, kHalfPi);
    if (pastHalf) rest = dd::Neg(rest);
    return {quarterTurns & 3, rest};
}

Reduced Reduce(double ax) {
    if (ax <= kQuarterPi) return {0, {ax, 0}};
    return ReduceLarge(ax);
}

// sin r = r (1 - r^2/(2*3) (1 - r^2/(4*5) (1 - ...)))
DoubleDouble SinSeries(DoubleDouble r) {
    const DoubleDouble r2 = dd::Mul(r, r);
    DoubleDouble t = {1, 0};
    for (int k = kSeriesTerms; k >= 1; --k) {
        t = dd::Add(dd::Neg(dd::Div(dd::Mul(r2, t), static_cast<double>(2 * k * (2 * k + 1)))), 1.0);
    }
    return dd::Mul(r, t);
}

// cos r = 1 - r^2/(1*2) (1 - r^2/(3*4) (1 - ...))
DoubleDouble CosSeries(DoubleDouble r) {
    const DoubleDouble r2 = dd::Mul(r, r);
    DoubleDouble t = {1, 0};
    for (int k = kSeriesTerms; k >= 1; --k) {
        t = dd::Add(dd::Neg(dd::Div(dd::Mul(r2, t), static_cast<double>((2 * k - 1) * 2 * k))), 1.0);
    }
    return t;
}

DoubleDouble WithSign(DoubleDouble v, bool negative) { return negative ? dd::Neg(v) : v; }

}  // namespace

DoubleDouble SinDD(double x) {
    const double ax = x < 0 ? -x : x;
    if (ax < kTiny) return {x, -(x * x * x) / 6};
    const Reduced a = Reduce(ax);
    DoubleDouble v = (a.quarterTurns & 1) ? CosSeries(a.rest) : SinSeries(a.rest);
    return WithSign(v, (a.quarterTurns >= 2) != (x < 0));
}

DoubleDouble CosDD(double x) {
    const double ax = x < 0 ? -x : x;
    if (ax < kTiny) return {1, -(x * x) / 2};
    const Reduced a = Reduce(ax);
    DoubleDouble v = (a.quarterTurns & 1) ? SinSeries(a.rest) : CosSeries(a.rest);
    return WithSign(v, a.quarterTurns == 1 || a.quarterTurns == 2);
}

DoubleDouble TanDD(double x) {
    const double ax = x < 0 ? -x : x;
    if (ax < kTiny) return {x, (x * x * x) / 3};
    const Reduced a = Reduce(ax);
    const DoubleDouble s = SinSeries(a.rest);
    const DoubleDouble c = CosSeries(a.rest);
    // An odd number of quarter turns: tan(r + pi/2) = -cos r / sin r.
    DoubleDouble v = (a.quarterTurns & 1) ? dd::Neg(dd::Div(c, s)) : dd::Div(s, c);
    return WithSign(v, x < 0);
}

}  // namespace detmath

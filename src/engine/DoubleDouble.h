// A number held as the unevaluated sum of two doubles (about 106 significant bits), with the few
// operations the game's own trigonometry needs. Only plain IEEE double additions, subtractions,
// multiplications and divisions are used, so the results are the same bits on every machine that
// rounds doubles to nearest and does not fuse a multiply with an add: every file that includes this
// header is compiled with floating-point contraction off.
#pragma once

#include <cstdint>
#include <cstring>

struct DoubleDouble {
    double hi = 0;  // the value rounded to a double
    double lo = 0;  // what is left over, |lo| <= half an ulp of hi
};

namespace dd {

// a + b exactly, as a rounded sum and its error.
inline DoubleDouble TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// The same when |a| >= |b| (or a is 0).
inline DoubleDouble QuickTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly, without a fused multiply-add: each factor is split into two halves of 26 bits.
// Factors stay far below 2^995, where the split would overflow.
inline DoubleDouble TwoProd(double a, double b) {
    const double kSplitter = 134217729.0;  // 2^27 + 1
    const double ta = kSplitter * a;
    const double ah = ta - (ta - a);
    const double al = a - ah;
    const double tb = kSplitter * b;
    const double bh = tb - (tb - b);
    const double bl = b - bh;
    const double p = a * b;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

inline DoubleDouble Neg(DoubleDouble a) { return {-a.hi, -a.lo}; }

inline DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
    DoubleDouble s = TwoSum(a.hi, b.hi);
    const DoubleDouble t = TwoSum(a.lo, b.lo);
    s = QuickTwoSum(s.hi, s.lo + t.hi);
    return QuickTwoSum(s.hi, s.lo + t.lo);
}

inline DoubleDouble Add(DoubleDouble a, double b) { return Add(a, DoubleDouble{b, 0}); }

inline DoubleDouble Mul(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble p = TwoProd(a.hi, b.hi);
    return QuickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DoubleDouble Mul(DoubleDouble a, double b) {
    const DoubleDouble p = TwoProd(a.hi, b);
    return QuickTwoSum(p.hi, p.lo + a.lo * b);
}

// a / b by long division: three double quotients, each taking off what the last one left.
inline DoubleDouble Div(DoubleDouble a, DoubleDouble b) {
    const double q1 = a.hi / b.hi;
    DoubleDouble r = Add(a, Neg(Mul(b, q1)));
    const double q2 = r.hi / b.hi;
    r = Add(r, Neg(Mul(b, q2)));
    const double q3 = r.hi / b.hi;
    return Add(QuickTwoSum(q1, q2), q3);
}

inline DoubleDouble Div(DoubleDouble a, double b) { return Div(a, DoubleDouble{b, 0}); }

// 2^k exactly, for -1022 <= k <= 1023.
inline double Pow2(int k) {
    const uint64_t bits = static_cast<uint64_t>(k + 1023) << 52;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

}  // namespace dd

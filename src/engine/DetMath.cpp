// The game's trigonometry: NaN and infinities first, then the double-double insides rounded once.
#include "engine/DetMath.h"

#include <cmath>
#include <limits>

#include "engine/DetMathKernels.h"

namespace detmath {
namespace {

bool Finite(double x) { return x - x == 0; }

// hi is already hi + lo rounded to nearest (and keeps the sign of a zero).
double Round(DoubleDouble v) { return v.hi; }

const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

float RoundToFloat(DoubleDouble v) {
    const DoubleDouble n = v;  // |lo| is at most half an ulp of hi
    const float f = static_cast<float>(n.hi);
    const double err = n.hi - static_cast<double>(f);  // exact: both are doubles close together
    if (err == 0 || n.lo == 0) return f;
    // Every point halfway between two floats is a double, so hi + lo can only lie on the other side
    // of such a point than f when hi is that very point; then lo decides.
    const float next =
        std::nextafter(f, err > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity());
    const double halfway = (static_cast<double>(f) + static_cast<double>(next)) / 2;
    if (n.hi == halfway && (n.lo > 0) == (err > 0)) return next;
    return f;
}

double Sin(double x) { return Finite(x) ? Round(SinDD(x)) : kNaN; }
double Cos(double x) { return Finite(x) ? Round(CosDD(x)) : kNaN; }
double Tan(double x) { return Finite(x) ? Round(TanDD(x)) : kNaN; }
double Atan2(double y, double x) { return (x != x || y != y) ? kNaN : Round(Atan2DD(y, x)); }

float Sin(float x) { return Finite(x) ? RoundToFloat(SinDD(x)) : static_cast<float>(kNaN); }
float Cos(float x) { return Finite(x) ? RoundToFloat(CosDD(x)) : static_cast<float>(kNaN); }
float Atan2(float y, float x) { return (x != x || y != y) ? static_cast<float>(kNaN) : RoundToFloat(Atan2DD(y, x)); }

}  // namespace detmath

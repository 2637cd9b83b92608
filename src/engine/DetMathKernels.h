// The unrounded insides of the game's trigonometry (engine/DetMath.h), each about 100 bits
// accurate, and the single rounding to float. The tests compare these with a wider reference.
#pragma once

#include "engine/DoubleDouble.h"

namespace detmath {

// Arguments are finite; the public functions deal with NaN and infinities first.
DoubleDouble SinDD(double x);
DoubleDouble CosDD(double x);
DoubleDouble TanDD(double x);
DoubleDouble Atan2DD(double y, double x);

// x (|lo| at most half an ulp of hi, as the functions above give) rounded once to the nearest float,
// ties to even.
float RoundToFloat(DoubleDouble x);

}  // namespace detmath

// The game's own sine, cosine, tangent and arc tangent. Every build of the game (native and web)
// computes them with the same plain double arithmetic, so the same game plays out the same way
// everywhere, whatever maths library the platform brings.
//
// The results are the exact values rounded once to nearest: the float versions round straight to a
// float, not through a double. Inside, each value is first found to better than 2^-100 (relative), so
// a result can only come out one ulp off when the exact value lies that close to a halfway point
// between two neighbours: for a float result the chance is about 2^-75 per argument, for a double
// about 2^-46. Angle reduction is exact for every finite argument, however large. NaN or infinite
// arguments give NaN; the arc tangent follows the usual rules for infinities and signed zeros.
// These files are compiled without fused multiply-adds (-ffp-contract=off): with them the results
// would change.
#pragma once

namespace detmath {

double Sin(double x);
double Cos(double x);
double Tan(double x);
double Atan2(double y, double x);

float Sin(float x);
float Cos(float x);
float Atan2(float y, float x);

}  // namespace detmath

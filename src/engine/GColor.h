#pragma once

// A colour as four floats. The constructor clamps each component to 0..255, though callers pass
// OpenGL's 0..1 values.
class GColor {
public:
    float r, g, b, a;

    GColor() : r(0), g(0), b(0), a(1) {}
    GColor(float sr, float sg, float sb, float sa) : r(Clamp(sr)), g(Clamp(sg)), b(Clamp(sb)), a(Clamp(sa)) {}

    int GetR() const { return static_cast<int>(r * 255); }
    int GetG() const { return static_cast<int>(g * 255); }
    int GetB() const { return static_cast<int>(b * 255); }
    int GetA() const { return static_cast<int>(a * 255); }

private:
    static float Clamp(float v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
};

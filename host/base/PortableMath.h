// Sine, cosine, arc tangent and exponential that give the same bits on every target this host is built for.
//
// The C libraries of the two builds (glibc on Linux, the mingw-w64 runtime on Windows) round their
// transcendental functions differently in the last bit, so art that the host turns or warps with them would
// differ between the two. These functions use only IEEE double additions, multiplications and divisions in a
// fixed order (the build turns off fused multiply-add contraction), which every SSE2 target rounds alike.
//
// Accuracy: within about one unit in the last place of the exact result for every finite input (the tests
// measure it against the C library), with an exact argument reduction for angles of any size. Special values
// follow the C library: sin and cos of an infinity or NaN give NaN; sin keeps the sign of a zero; atan2
// follows C's rules for zeros and infinities.
#ifndef ZZ_HOST_BASE_PORTABLE_MATH_H
#define ZZ_HOST_BASE_PORTABLE_MATH_H

namespace zz::portable {

double sin(double x);
double cos(double x);
// The sine and cosine of one angle, reducing it once.
void sinCos(double x, double* sine, double* cosine);
// The angle of (x, y) from the positive x axis, -pi to pi.
double atan2(double y, double x);
double exp(double x);

// The float results, rounded once from the double ones.
inline float sinf(float x) {
    return static_cast<float>(sin(x));
}
inline float cosf(float x) {
    return static_cast<float>(cos(x));
}
inline float atan2f(float y, float x) {
    return static_cast<float>(atan2(y, x));
}

} // namespace zz::portable

#endif

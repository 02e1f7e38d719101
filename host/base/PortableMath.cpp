#include "host/base/PortableMath.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

namespace zz::portable {

namespace {

// ---- exact sums and products of doubles
// ----------------------------------------------------------------------

// A value held as the unevaluated sum hi + lo, |lo| at most half an ulp of hi.
struct Pair {
    double hi;
    double lo;
};

// a + b exactly.
Pair twoSum(double a, double b) {
    const double sum = a + b;
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    return {sum, (a - aPart) + (b - bPart)};
}

// a split into two halves of 26 bits each, whose products are exact.
Pair split(double a) {
    const double scaled = 134217729.0 * a; // 2^27 + 1
    const double hi = scaled - (scaled - a);
    return {hi, a - hi};
}

// a * b exactly (for a and b far from overflow).
Pair twoProduct(double a, double b) {
    const double product = a * b;
    const Pair x = split(a);
    const Pair y = split(b);
    return {product, ((x.hi * y.hi - product) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

// The nearest integer to x (ties to even), for |x| < 2^51.
double nearestInteger(double x) {
    constexpr double kShifter = 0x1.8p52;
    return (x + kShifter) - kShifter;
}

// 2^n for a normal power, -1022 <= n <= 1023.
double powerOfTwo(int n) {
    return std::bit_cast<double>(static_cast<uint64_t>(n + 1023) << 52);
}

// ---- constants
// ---------------------------------------------------------------------------------------------------

constexpr double kPio2Hi = 0x1.921fb54442d18p+0; // pi/2 = kPio2Hi + kPio2Lo
constexpr double kPio2Lo = 0x1.1a62633145c07p-54;
constexpr double kPiHi = 0x1.921fb54442d18p+1; // pi = kPiHi + kPiLo
constexpr double kPiLo = 0x1.1a62633145c07p-53;
constexpr double kPio4 = 0x1.921fb54442d18p-1;
constexpr double kThreePio4 = 0x1.2d97c7f3321d2p+1;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;

// pi/2 in three parts for reducing angles below kMediumLimit: the first two have 33 significant bits, so
// that their products with a quadrant count below 2^19 are exact.
constexpr double kPio2Part1 = 0x1.921fb544p+0;
constexpr double kPio2Part2 = 0x1.0b4611a6p-34;
constexpr double kPio2Part3 = 0x1.3198a2e037073p-69;
constexpr double kMediumLimit = 0x1p19;

// The bits of 2/pi after the binary point, 32 to a word, the first word first: enough for the reduction of
// the largest double, whose exponent of 1023 needs about 1,200 bits.
constexpr uint32_t kTwoOverPiBits[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D};
constexpr int kTwoOverPiWords = static_cast<int>(std::size(kTwoOverPiBits));

// Taylor coefficients of sin (x^3 to x^19) and cos (x^4 to x^18). Within pi/4 the first term left out is
// below 2^-70 of the result, so the series need no fitted coefficients.
constexpr double kS1 = -1.0 / 6.0;
constexpr double kS2 = 1.0 / 120.0;
constexpr double kS3 = -1.0 / 5040.0;
constexpr double kS4 = 1.0 / 362880.0;
constexpr double kS5 = -1.0 / 39916800.0;
constexpr double kS6 = 1.0 / 6227020800.0;
constexpr double kS7 = -1.0 / 1307674368000.0;
constexpr double kS8 = 1.0 / 355687428096000.0;
constexpr double kS9 = -1.0 / 121645100408832000.0;
constexpr double kC2 = 1.0 / 24.0;
constexpr double kC3 = -1.0 / 720.0;
constexpr double kC4 = 1.0 / 40320.0;
constexpr double kC5 = -1.0 / 3628800.0;
constexpr double kC6 = 1.0 / 479001600.0;
constexpr double kC7 = -1.0 / 87178291200.0;
constexpr double kC8 = 1.0 / 20922789888000.0;
constexpr double kC9 = -1.0 / 6402373705728000.0;

// ---- angle reduction
// ---------------------------------------------------------------------------------------------

// An angle as quadrant x pi/2 + (hi + lo), |hi + lo| about pi/4 at most.
struct Reduced {
    unsigned quadrant;
    double hi;
    double lo;
};

// 32 bits of 2/pi from bit `first` on (bit 1 is the first after the binary point; bits before it are 0).
uint32_t twoOverPiBits(int first) {
    const auto word = [](int index) -> uint64_t {
        return index >= 0 && index < kTwoOverPiWords ? kTwoOverPiBits[index] : 0;
    };
    const int position = first - 1;
    const int index = position >= 0 ? position / 32 : -((31 - position) / 32);
    const int shift = position - 32 * index;
    const uint64_t both = (word(index) << 32) | word(index + 1);
    return static_cast<uint32_t>(both >> (32 - shift));
}

// 192 bits, least significant word first.
using Bits192 = std::array<uint32_t, 6>;

// The 192 bits of 2/pi from bit `first` on times the 53-bit `mantissa`, modulo 2^192.
Bits192 timesTwoOverPi(uint64_t mantissa, int first) {
    uint32_t factor[6];
    for (int i = 0; i < 6; ++i)
        factor[5 - i] = twoOverPiBits(first + 32 * i);
    const uint64_t mLow = mantissa & 0xFFFFFFFFu;
    const uint64_t mHigh = mantissa >> 32;
    Bits192 product;
    uint64_t carry = 0;
    for (int i = 0; i < 6; ++i) {
        const uint64_t low = mLow * factor[i];
        const uint64_t high = i > 0 ? mHigh * factor[i - 1] : 0;
        const uint64_t word = (low & 0xFFFFFFFFu) + (high & 0xFFFFFFFFu) + (carry & 0xFFFFFFFFu);
        product[i] = static_cast<uint32_t>(word);
        carry = (low >> 32) + (high >> 32) + (carry >> 32) + (word >> 32);
    }
    return product;
}

// The fraction (product x 2^-190) as a pair of doubles, from the 128 bits below its leading one.
Pair fractionOf(const Bits192& product) {
    int top = 5;
    while (top >= 0 && product[top] == 0)
        --top;
    Pair fraction{0.0, 0.0};
    if (top < 0) return fraction;
    const auto limb = [&](int i) -> uint64_t { return i >= 0 ? product[i] : 0; };
    uint64_t upper = (limb(top) << 32) | limb(top - 1);
    uint64_t lower = (limb(top - 2) << 32) | limb(top - 3);
    const int shift = std::countl_zero(upper);
    if (shift > 0) {
        upper = (upper << shift) | (lower >> (64 - shift));
        lower <<= shift;
    }
    const int scale = 32 * (top - 3) - 190 - shift;
    fraction.hi = static_cast<double>(upper >> 11) * powerOfTwo(scale + 75);
    fraction.lo = static_cast<double>(((upper & 0x7FFu) << 42) | (lower >> 22)) * powerOfTwo(scale + 22);
    return fraction;
}

// Payne and Hanek's reduction, exact for any finite x: x = m 2^e with an integer m of 53 bits, and x 2/pi
// modulo 4 needs only the bits of 2/pi from bit e - 1 on, since the earlier ones give multiples of 4. Of
// m times 192 such bits, the top two are the quadrant and the other 190 the fraction of a quadrant, which no
// double comes closer to an integer than by about 2^-70.
Reduced reduceExactly(double x) {
    const uint64_t bits = std::bit_cast<uint64_t>(std::fabs(x));
    const int exponent = static_cast<int>(bits >> 52) - 1075;
    const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    Bits192 product = timesTwoOverPi(mantissa, exponent - 1);

    unsigned quadrant = product[5] >> 30;
    product[5] &= 0x3FFFFFFFu;
    bool negative = false;
    if (product[5] & 0x20000000u) { // half a quadrant or more: the rest of the way to the next, negated
        negative = true;
        ++quadrant;
        uint64_t borrow = 0;
        for (uint32_t& word : product) {
            const uint64_t difference = 0 - static_cast<uint64_t>(word) - borrow;
            word = static_cast<uint32_t>(difference);
            borrow = (difference >> 32) != 0 ? 1 : 0;
        }
        product[5] &= 0x3FFFFFFFu;
    }
    const Pair fraction = fractionOf(product);

    // Times pi/2.
    const Pair head = twoProduct(fraction.hi, kPio2Hi);
    const Pair angle = twoSum(head.hi, head.lo + (fraction.hi * kPio2Lo + fraction.lo * kPio2Hi));
    Reduced reduced{quadrant, angle.hi, angle.lo};
    if (negative) {
        reduced.hi = -reduced.hi;
        reduced.lo = -reduced.lo;
    }
    if (x < 0.0) {
        reduced.quadrant = 0u - reduced.quadrant;
        reduced.hi = -reduced.hi;
        reduced.lo = -reduced.lo;
    }
    reduced.quadrant &= 3u;
    return reduced;
}

// The angle x as a quadrant and a remainder; x finite.
Reduced reduce(double x) {
    const double size = std::fabs(x);
    if (size <= kPio4) return {0, x, 0.0};
    if (size < kMediumLimit) {
        // Cody and Waite: n pi/2 taken away in three parts, the first two exactly.
        const double n = nearestInteger(x * kTwoOverPi);
        const double first = x - n * kPio2Part1;
        const Pair second = twoSum(first, -(n * kPio2Part2));
        const Pair rest = twoSum(second.hi, second.lo - n * kPio2Part3);
        // Near a multiple of pi/2 the third part's rounding would show: the exact reduction takes over.
        if (std::fabs(rest.hi) > 0x1p-25)
            return {static_cast<unsigned>(static_cast<int64_t>(n)) & 3u, rest.hi, rest.lo};
    }
    return reduceExactly(x);
}

// sin(x + y) for |x| up to about pi/4 and y far below x.
double sinKernel(double x, double y) {
    const double z = x * x;
    const double tail = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * (kS6 + z * (kS7 + z * (kS8 + z * kS9))))));
    return x + ((z * x) * (kS1 + z * tail) + y * (1.0 - 0.5 * z));
}

// cos(x + y) for |x| up to about pi/4 and y far below x. 1 - x^2/2 is rounded once, and what that rounding
// lost is added back with the rest.
double cosKernel(double x, double y) {
    const double z = x * x;
    const double tail =
        (z * z) * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * (kC6 + z * (kC7 + z * (kC8 + z * kC9)))))));
    const double half = 0.5 * z;
    const double head = 1.0 - half;
    return head + (((1.0 - head) - half) + (tail - x * y));
}

// ---- arc tangent
// -------------------------------------------------------------------------------------------------

// atan(k/8) for k = 2 to 32, each as the nearest double and what it leaves.
constexpr Pair kAtanOfEighths[] = {
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},  {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},  {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},  {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},  {0x1.b034f38649c88p-1, -0x1.be88d6936f833p-55},
    {0x1.cac7c57846f9ep-1, 0x1.0dae13ad18a6bp-55},  {0x1.e24dd44c855d1p-1, 0x1.f7ac612ab33d8p-55},
    {0x1.f730bd281f69bp-1, 0x1.007887af0cbbdp-56},  {0x1.04e67277a01d7p+0, 0x1.7115496c13eb6p-57},
    {0x1.0d38f2c5ba09fp+0, -0x1.bd0dc231bfd70p-54}, {0x1.14b1dd5f90ce1p+0, -0x1.212d570a63fa2p-56},
    {0x1.1b6e192ebbe44p+0, 0x1.b1b466a88828ep-54},  {0x1.21862f3fade36p+0, 0x1.4887628d68748p-54},
    {0x1.270ef55a53a25p+0, -0x1.a66b1af5f84fbp-54}, {0x1.2c1a241d66dc3p+0, 0x1.82b2d58b6a8e9p-54},
    {0x1.30b6d796a4da8p+0, 0x1.6254cb03bb199p-54},  {0x1.34f1fbb19eb09p+0, 0x1.80d79b4cf61d5p-55},
    {0x1.38d6a6ce13353p+0, -0x1.12c77e8a80f5cp-55}, {0x1.3c6e650b38047p+0, 0x1.6b63b358e746dp-54},
    {0x1.3fc176b7a8560p+0, -0x1.441a3bd3f1083p-59}, {0x1.42d70411f9ec1p+0, 0x1.2b08db7f10896p-55},
    {0x1.45b54837351a0p+0, 0x1.9e4a72eedacc4p-56},  {0x1.4861b4cfbe710p+0, -0x1.567d3d25932d1p-57},
    {0x1.4ae10fc6589a5p+0, -0x1.3b03e8a27f555p-54}, {0x1.4d378c1999a0dp+0, -0x1.c857a639541c8p-57},
    {0x1.4f68dea672617p+0, 0x1.934f9f2b0020ep-54},  {0x1.51784fa1544bap+0, -0x1.236e3c857c019p-54},
    {0x1.5368c951e9cfdp+0, -0x1.96f47948a99f1p-54}};
constexpr int kFirstEighth = 2;
static_assert(std::size(kAtanOfEighths) == 32 - kFirstEighth + 1, "one entry for each k from 2 to 32");

// Below this the series alone is used; from it to kLastEighth + 1/16 the nearest k/8 is taken away first.
constexpr double kSeriesLimit = 7.0 / 32.0;
constexpr double kEighthsLimit = 65.0 / 16.0;

// atan(t + tLow) for |t| <= 7/32 and tLow far below t, by the series t - t^3/3 + ... to t^25/25, whose
// first term left out is below 2^-61 of t. The result is a pair whose sum is closer than half an ulp.
Pair atanSeries(double t, double tLow) {
    const double z = t * t;
    const double sum =
        -1.0 / 3.0 +
        z * (1.0 / 5.0 +
             z * (-1.0 / 7.0 +
                  z * (1.0 / 9.0 + z * (-1.0 / 11.0 +
                                        z * (1.0 / 13.0 +
                                             z * (-1.0 / 15.0 +
                                                  z * (1.0 / 17.0 +
                                                       z * (-1.0 / 19.0 +
                                                            z * (1.0 / 21.0 + z * (-1.0 / 23.0 +
                                                                                   z * (1.0 / 25.0)))))))))));
    // d/dt atan t = 1 / (1 + t^2), about 1 - t^2 here.
    return {t, t * (z * sum) + tLow * (1.0 - z)};
}

// atan(x + xLow) for x >= 0 (infinity included) and xLow far below x, as a pair.
Pair atanOfPositive(double x, double xLow) {
    if (x <= kSeriesLimit) return atanSeries(x, xLow);
    if (x <= kEighthsLimit) {
        // atan(x) = atan(c) + atan((x - c) / (1 + x c)) with c the nearest k/8: |x - c| <= 1/16, and x - c
        // is exact.
        int k = static_cast<int>(x * 8.0 + 0.5);
        if (k > 32) k = 32;
        const double c = static_cast<double>(k) / 8.0;
        const double t = ((x - c) + xLow) / (1.0 + x * c);
        const Pair& base = kAtanOfEighths[k - kFirstEighth];
        const Pair rest = atanSeries(t, 0.0);
        const Pair head = twoSum(base.hi, rest.hi);
        return {head.hi, head.lo + (base.lo + rest.lo)};
    }
    // atan(x) = pi/2 - atan(1/x), where 1/x < 1/4; 1/(x + xLow) taken as u + uLow.
    const double u = 1.0 / x;
    const Pair ux = twoProduct(u, x);
    const double uLow = std::isinf(x) ? 0.0 : (((1.0 - ux.hi) - ux.lo) - u * xLow) * u;
    const Pair a = atanOfPositive(u, uLow);
    const Pair head = twoSum(kPio2Hi, -a.hi);
    return {head.hi, head.lo + (kPio2Lo - a.lo)};
}

} // namespace

void sinCos(double x, double* sine, double* cosine) {
    if (!std::isfinite(x)) {
        *sine = *cosine = x - x; // NaN
        return;
    }
    if (std::fabs(x) < 0x1p-27) { // sin x = x and cos x = 1 to within a quarter of an ulp
        *sine = x;
        *cosine = 1.0;
        return;
    }
    const Reduced r = reduce(x);
    const double s = sinKernel(r.hi, r.lo);
    const double c = cosKernel(r.hi, r.lo);
    switch (r.quadrant) {
    case 0:
        *sine = s;
        *cosine = c;
        break;
    case 1:
        *sine = c;
        *cosine = -s;
        break;
    case 2:
        *sine = -s;
        *cosine = -c;
        break;
    default:
        *sine = -c;
        *cosine = s;
        break;
    }
}

double sin(double x) {
    if (!std::isfinite(x)) return x - x;
    if (std::fabs(x) < 0x1p-27) return x;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
    case 0:
        return sinKernel(r.hi, r.lo);
    case 1:
        return cosKernel(r.hi, r.lo);
    case 2:
        return -sinKernel(r.hi, r.lo);
    default:
        return -cosKernel(r.hi, r.lo);
    }
}

double cos(double x) {
    if (!std::isfinite(x)) return x - x;
    if (std::fabs(x) < 0x1p-27) return 1.0;
    const Reduced r = reduce(x);
    switch (r.quadrant) {
    case 0:
        return cosKernel(r.hi, r.lo);
    case 1:
        return -sinKernel(r.hi, r.lo);
    case 2:
        return -cosKernel(r.hi, r.lo);
    default:
        return sinKernel(r.hi, r.lo);
    }
}

double atan2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return x + y;
    const double across = std::fabs(x);
    const double up = std::fabs(y);
    double angle = 0.0;
    if (up == 0.0) {
        angle = std::signbit(x) ? kPiHi : 0.0;
    } else if (across == 0.0) {
        angle = kPio2Hi;
    } else if (std::isinf(across)) {
        if (std::isinf(up))
            angle = x > 0.0 ? kPio4 : kThreePio4;
        else
            angle = x > 0.0 ? 0.0 : kPiHi;
    } else if (std::isinf(up)) {
        angle = kPio2Hi;
    } else {
        // The quotient as q + qLow, exactly but for its last rounding; it may overflow (atan of infinity is
        // pi/2) or come out subnormal (atan t = t there).
        const double q = up / across;
        double qLow = 0.0;
        if (std::isfinite(q) && q >= 0x1p-1000 && across < 0x1p1000) {
            const Pair qx = twoProduct(q, across);
            qLow = ((up - qx.hi) - qx.lo) / across;
        }
        const Pair a = atanOfPositive(q, qLow);
        if (x > 0.0) {
            angle = a.hi + a.lo;
        } else {
            const Pair head = twoSum(kPiHi, -a.hi);
            angle = head.hi + (head.lo + (kPiLo - a.lo));
        }
    }
    return std::signbit(y) ? -angle : angle;
}

double exp(double x) {
    constexpr double kOverflow = 0x1.62e42fefa39efp+9;   // ln of the largest double
    constexpr double kUnderflow = -0x1.74910d52d3052p+9; // ln of half the smallest subnormal
    constexpr double kInvLn2 = 0x1.71547652b82fep+0;
    constexpr double kLn2Hi = 0x1.62e42feep-1; // 32 significant bits: n kLn2Hi is exact
    constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
    if (std::isnan(x)) return x + x;
    if (x > kOverflow) return std::numeric_limits<double>::infinity();
    if (x < kUnderflow) return 0.0;
    if (std::fabs(x) < 0x1p-54) return 1.0 + x;
    // x = n ln 2 + r, |r| <= ln 2 / 2; e^r by its series to r^14/14!, whose first term left out is below
    // 2^-60.
    const double n = nearestInteger(x * kInvLn2);
    const double rHigh = x - n * kLn2Hi; // exact
    const double r = rHigh - n * kLn2Lo;
    const double rLow = (rHigh - r) - n * kLn2Lo; // what the rounding of r lost
    // e^(r + rLow) = 1 + r + r^2/2 + ... + rLow (1 + r), with 1 + r kept exact until the last addition.
    const double series =
        r * r *
        (1.0 / 2.0 +
         r * (1.0 / 6.0 +
              r * (1.0 / 24.0 +
                   r * (1.0 / 120.0 +
                        r * (1.0 / 720.0 +
                             r * (1.0 / 5040.0 +
                                  r * (1.0 / 40320.0 +
                                       r * (1.0 / 362880.0 +
                                            r * (1.0 / 3628800.0 +
                                                 r * (1.0 / 39916800.0 +
                                                      r * (1.0 / 479001600.0 +
                                                           r * (1.0 / 6227020800.0 +
                                                                r * (1.0 / 87178291200.0)))))))))))));
    const Pair head = twoSum(1.0, r);
    const double y = head.hi + (head.lo + (series + rLow * (1.0 + r)));
    const int power = static_cast<int>(n);
    if (power > 1023) return (y * 2.0) * powerOfTwo(power - 1);
    // Subnormal results are rounded once, by the last product.
    if (power < -1020) return (y * powerOfTwo(power + 60)) * 0x1p-60;
    return y * powerOfTwo(power);
}

} // namespace zz::portable

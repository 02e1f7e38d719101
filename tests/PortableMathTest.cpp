// The host's own sine, cosine, arc tangent and exponential: their distance in ulps from the C library over
// many inputs (where the C library is glibc, within an ulp of the exact result but for the hardest angle
// reduction, checked on its own), their special values, and a digest of their bits that
// scripts/check-targets.sh compares between the two builds.
#include <gtest/gtest.h>

#include <bit>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "host/base/PortableMath.h"

namespace {

namespace portable = zz::portable;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Doubles in the order of their bits, so that neighbours differ by 1.
int64_t ordered(double x) {
    const auto bits = std::bit_cast<int64_t>(x);
    return bits < 0 ? std::numeric_limits<int64_t>::min() - bits : bits;
}

uint64_t ulpsApart(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : UINT64_MAX;
    const auto x = static_cast<uint64_t>(ordered(a));
    const auto y = static_cast<uint64_t>(ordered(b));
    return ordered(a) > ordered(b) ? x - y : y - x;
}

uint64_t ulpsApart(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) ? 0 : UINT64_MAX;
    const auto order = [](float x) -> int64_t {
        const auto bits = std::bit_cast<int32_t>(x);
        return bits < 0 ? std::numeric_limits<int32_t>::min() - static_cast<int64_t>(bits) : bits;
    };
    const int64_t x = order(a), y = order(b);
    return static_cast<uint64_t>(x > y ? x - y : y - x);
}

// A double with random significand bits and a binary exponent from `low` to `high`, either sign.
double randomDouble(std::mt19937_64& random, int low, int high) {
    const uint64_t bits = random();
    const int exponent = low + static_cast<int>((bits >> 53) % static_cast<uint64_t>(high - low + 1));
    const double significand = 1.0 + static_cast<double>(bits & ((uint64_t{1} << 52) - 1)) * 0x1p-52;
    const double x = std::ldexp(significand, exponent);
    return (bits >> 52) & 1 ? -x : x;
}

// Angles of every size, with the awkward ones: multiples of pi/4 and pi/2 and their neighbours, huge values,
// subnormals, the double that comes closest to a multiple of pi/2, and the largest double.
std::vector<double> angles() {
    std::vector<double> list;
    std::mt19937_64 random(18);
    for (int i = 0; i < 20000; ++i)
        list.push_back(randomDouble(random, -30, 4));
    for (int i = 0; i < 20000; ++i)
        list.push_back(randomDouble(random, 4, 30));
    for (int i = 0; i < 20000; ++i)
        list.push_back(randomDouble(random, 30, 1023));
    const double quarterPi = 0x1.921fb54442d18p-1;
    for (int k = -2000; k <= 2000; ++k)
        for (double step : {1.0, 2.0})
            for (double multiple : {k * step * quarterPi, std::ldexp(k * step * quarterPi, 40)}) {
                list.push_back(multiple);
                list.push_back(std::nextafter(multiple, kInf));
                list.push_back(std::nextafter(multiple, -kInf));
            }
    for (double x : {0x1p-1074, -0x1p-1074, 0x1p-1022, 0x1.fffffffffffffp-1023, 0x1p-27, 0x1p-26, 0x1p19,
                     0x1p1023, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()})
        list.push_back(x);
    return list;
}

#if defined(__GLIBC__)
constexpr bool kAccurateCLibrary = true;
#else
constexpr bool kAccurateCLibrary = false;
#endif

TEST(PortableMath, SineAndCosineStayWithinAnUlpOfTheCLibrary) {
    if (!kAccurateCLibrary) GTEST_SKIP() << "this C library is not accurate enough to measure against";
    uint64_t worstSin = 0, worstCos = 0, worstSinf = 0, worstCosf = 0;
    for (double x : angles()) {
        worstSin = std::max(worstSin, ulpsApart(portable::sin(x), std::sin(x)));
        worstCos = std::max(worstCos, ulpsApart(portable::cos(x), std::cos(x)));
        const auto f = static_cast<float>(x);
        worstSinf = std::max(worstSinf, ulpsApart(portable::sinf(f), std::sin(f)));
        worstCosf = std::max(worstCosf, ulpsApart(portable::cosf(f), std::cos(f)));
    }
    std::printf("ulps from the C library: sin %" PRIu64 ", cos %" PRIu64 ", sinf %" PRIu64 ", cosf %" PRIu64
                "\n",
                worstSin, worstCos, worstSinf, worstCosf);
    EXPECT_LE(worstSin, 1u);
    EXPECT_LE(worstCos, 1u);
    EXPECT_LE(worstSinf, 1u);
    EXPECT_LE(worstCosf, 1u);
}

TEST(PortableMath, TheAngleClosestToAMultipleOfHalfPiIsReducedExactly) {
    // 6381956970095103 x 2^797 lies about 2^-61 from a multiple of pi/2; its sine and cosine rounded
    // correctly, from 2000-bit arithmetic. (glibc's cosine is 8 ulps off here.)
    const double x = 6381956970095103.0 * 0x1p797;
    EXPECT_EQ(portable::cos(x), -0x1.14ae72e6ba22fp-61);
    EXPECT_EQ(portable::sin(x), 1.0);
    EXPECT_EQ(portable::cos(-x), -0x1.14ae72e6ba22fp-61);
}

TEST(PortableMath, ArcTangentAndExponentialStayWithinAnUlpOfTheCLibrary) {
    if (!kAccurateCLibrary) GTEST_SKIP() << "this C library is not accurate enough to measure against";
    std::mt19937_64 random(7);
    uint64_t worstAtan2 = 0, worstAtan2f = 0, worstExp = 0;
    for (int i = 0; i < 100000; ++i) {
        // Quotients near 1 and far from it, in every quadrant.
        const double y = randomDouble(random, -40, 40);
        const double x = i % 2 == 0 ? randomDouble(random, -40, 40) : y * randomDouble(random, -3, 3);
        worstAtan2 = std::max(worstAtan2, ulpsApart(portable::atan2(y, x), std::atan2(y, x)));
        const auto fy = static_cast<float>(y), fx = static_cast<float>(x);
        worstAtan2f = std::max(worstAtan2f, ulpsApart(portable::atan2f(fy, fx), std::atan2(fy, fx)));
        const double e = i % 4 == 0 ? randomDouble(random, -60, 9) : 1500.0 * (random() * 0x1p-64) - 750.0;
        worstExp = std::max(worstExp, ulpsApart(portable::exp(e), std::exp(e)));
    }
    std::printf("ulps from the C library: atan2 %" PRIu64 ", atan2f %" PRIu64 ", exp %" PRIu64 "\n",
                worstAtan2, worstAtan2f, worstExp);
    EXPECT_LE(worstAtan2, 1u);
    EXPECT_LE(worstAtan2f, 1u);
    EXPECT_LE(worstExp, 1u);
    // The edges of exp's range: overflow, the last subnormals and underflow to 0.
    for (double e : {709.78, 709.7827128933840, 709.79, -708.4, -744.0, -745.13, -745.14, -1000.0})
        EXPECT_LE(ulpsApart(portable::exp(e), std::exp(e)), 1u) << e;
}

TEST(PortableMath, SpecialValuesAndSymmetries) {
    EXPECT_TRUE(std::isnan(portable::sin(kInf)));
    EXPECT_TRUE(std::isnan(portable::cos(-kInf)));
    EXPECT_TRUE(std::isnan(portable::sin(kNaN)));
    EXPECT_TRUE(std::signbit(portable::sin(-0.0)));
    EXPECT_EQ(portable::sin(0x1p-1074), 0x1p-1074);
    EXPECT_EQ(portable::cos(-0x1p-1074), 1.0);
    EXPECT_EQ(portable::exp(kInf), kInf);
    EXPECT_EQ(portable::exp(-kInf), 0.0);
    EXPECT_TRUE(std::isnan(portable::exp(kNaN)));
    EXPECT_TRUE(std::isnan(portable::atan2(kNaN, 1.0)));

    // C's atan2 for zeros and infinities, whatever the C library of the target does.
    const double pi = 0x1.921fb54442d18p+1;
    struct Case {
        double y, x, angle;
    };
    for (const Case& c :
         {Case{0.0, 0.0, 0.0}, Case{0.0, -0.0, pi}, Case{-0.0, -0.0, -pi}, Case{-0.0, 5.0, -0.0},
          Case{1.0, 0.0, pi / 2}, Case{-1.0, -0.0, -pi / 2}, Case{kInf, kInf, pi / 4},
          Case{kInf, -kInf, 0x1.2d97c7f3321d2p+1}, Case{-3.0, kInf, -0.0}, Case{3.0, -kInf, pi},
          Case{-kInf, 2.0, -pi / 2}, Case{1e-300, -1e300, pi}}) {
        const double angle = portable::atan2(c.y, c.x);
        EXPECT_EQ(std::bit_cast<uint64_t>(angle), std::bit_cast<uint64_t>(c.angle)) << c.y << ", " << c.x;
    }

    for (double x : angles()) {
        double s = 0.0, c = 0.0;
        portable::sinCos(x, &s, &c);
        ASSERT_EQ(std::bit_cast<uint64_t>(s), std::bit_cast<uint64_t>(portable::sin(x))) << x;
        ASSERT_EQ(std::bit_cast<uint64_t>(c), std::bit_cast<uint64_t>(portable::cos(x))) << x;
        ASSERT_EQ(portable::sin(-x), -s) << x;
        ASSERT_EQ(portable::cos(-x), c) << x;
        ASSERT_TRUE(std::fabs(s) <= 1.0 && std::fabs(c) <= 1.0) << x;
    }
}

// A digest of the bits of every result. scripts/check-targets.sh runs this on Linux, then under wine with
// ZZ_MATH_DIGEST set to the Linux digest, which the Windows build must then give too.
TEST(PortableMath, EveryResultHasTheSameBitsOnEveryTarget) {
    uint64_t digest = 14695981039346656037u;
    const auto add = [&digest](double value) {
        const auto bits = std::bit_cast<uint64_t>(value);
        for (int i = 0; i < 64; i += 8)
            digest = (digest ^ ((bits >> i) & 0xFF)) * 1099511628211u;
    };
    const std::vector<double> list = angles();
    for (size_t i = 0; i < list.size(); ++i) {
        add(portable::sin(list[i]));
        add(portable::cos(list[i]));
        add(portable::atan2(list[i], list[(i * 7919) % list.size()]));
        add(portable::exp(std::fmod(list[i], 800.0)));
        add(portable::sinf(static_cast<float>(list[i])));
        add(portable::atan2f(static_cast<float>(list[i]), 1.0f));
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, digest);
    std::printf("portable math digest: %s\n", text);
    const char* expected = std::getenv("ZZ_MATH_DIGEST");
    if (expected == nullptr) GTEST_SKIP() << "no digest of another target to compare with (ZZ_MATH_DIGEST)";
    EXPECT_STREQ(text, expected);
}

} // namespace

// Envelope geometry: where each warp style takes the points of its contents' box, the box-to-shape map of an
// envelope without a warp, the cutting of sides into short lines, and the envelope's bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "host/document/ArtGeometry.h"
#include "host/document/Document.h"
#include "host/document/WarpGeometry.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using test::corner;

constexpr AIReal kNan = std::numeric_limits<AIReal>::quiet_NaN();
constexpr AIReal kInf = std::numeric_limits<AIReal>::infinity();

// The box of the point tables: 200 wide, 100 high, centre (100, 50); a half height is 50 points.
constexpr AIRealRect kBox{0.0f, 100.0f, 200.0f, 0.0f};

// ---- where each style takes a point ----

struct PointCase {
    const char* what;
    Warp warp;
    AIRealPoint from;
    AIRealPoint to;
};

void expectPoints(const std::vector<PointCase>& cases) {
    for (const PointCase& c : cases) {
        SCOPED_TRACE(c.what);
        const AIRealPoint got = warpPoint(c.warp, kBox, c.from);
        EXPECT_NEAR(got.h, c.to.h, 1e-3) << "from (" << c.from.h << ", " << c.from.v << ")";
        EXPECT_NEAR(got.v, c.to.v, 1e-3) << "from (" << c.from.h << ", " << c.from.v << ")";
    }
}

// The four corners of the box.
const AIRealPoint kCorners[] = {{0, 0}, {200, 0}, {0, 100}, {200, 100}};

TEST(WarpStyles, EachStyleMovesTheBoxInItsOwnWay) {
    const double r = 200.0 / std::numbers::pi; // the arc's radius at bend 1: the centre line is half a circle
    expectPoints({
        // arc: the centre line's ends keep their height and draw in; the top edge's middle rises by the
        // radius
        {"arc, top middle", {1, 1, 0, 0, false}, {100, 100}, {100, static_cast<AIReal>(100 + r)}},
        {"arc, left end of the centre line",
         {1, 1, 0, 0, false},
         {0, 50},
         {static_cast<AIReal>(100 - r), 50}},
        {"arc, right end of the centre line",
         {1, 1, 0, 0, false},
         {200, 50},
         {static_cast<AIReal>(100 + r), 50}},
        {"arc bent down, bottom middle", {1, -1, 0, 0, false}, {100, 0}, {100, static_cast<AIReal>(-r)}},
        // arc lower and upper: one edge bows by bend half-heights, the other stays
        {"arc lower, bottom middle", {2, 1, 0, 0, false}, {100, 0}, {100, -50}},
        {"arc lower, top middle", {2, 1, 0, 0, false}, {100, 100}, {100, 100}},
        {"arc lower bent in, bottom middle", {2, -0.5f, 0, 0, false}, {100, 0}, {100, 25}},
        {"arc upper, top middle", {3, 1, 0, 0, false}, {100, 100}, {100, 150}},
        {"arc upper, bottom middle", {3, 1, 0, 0, false}, {100, 0}, {100, 0}},
        // arch: the middle column lifted whole
        {"arch, top middle", {4, 0.5f, 0, 0, false}, {100, 100}, {100, 125}},
        {"arch, bottom middle", {4, 0.5f, 0, 0, false}, {100, 0}, {100, 25}},
        {"arch, left edge", {4, 0.5f, 0, 0, false}, {0, 70}, {0, 70}},
        // bulge: the middle column half as tall again
        {"bulge, top middle", {5, 1, 0, 0, false}, {100, 100}, {100, 125}},
        {"bulge, bottom middle", {5, 1, 0, 0, false}, {100, 0}, {100, -25}},
        {"bulge pinched, top middle", {5, -1, 0, 0, false}, {100, 100}, {100, 75}},
        // shells: the bowed edge's corners draw in to half the width
        {"shell lower, bottom left", {6, 1, 0, 0, false}, {0, 0}, {50, 0}},
        {"shell lower, bottom middle", {6, 1, 0, 0, false}, {100, 0}, {100, -50}},
        {"shell lower, top right", {6, 1, 0, 0, false}, {200, 100}, {200, 100}},
        {"shell upper, top right", {7, 1, 0, 0, false}, {200, 100}, {150, 100}},
        {"shell upper, top middle", {7, 1, 0, 0, false}, {100, 100}, {100, 150}},
        {"shell upper, bottom left", {7, 1, 0, 0, false}, {0, 0}, {0, 0}},
        // flag: the wave grows away from the pole; wave: even
        {"flag, left quarter", {8, 1, 0, 0, false}, {50, 50}, {50, 56.25f}},
        {"flag, right quarter", {8, 1, 0, 0, false}, {150, 50}, {150, 31.25f}},
        {"flag, middle", {8, 1, 0, 0, false}, {100, 50}, {100, 50}},
        {"wave, left quarter", {9, 1, 0, 0, false}, {50, 50}, {50, 75}},
        {"wave, right quarter", {9, 1, 0, 0, false}, {150, 50}, {150, 25}},
        // fish: thickest a third of the way in from the left, by half
        {"fish, top of the body", {10, 1, 0, 0, false}, {200.0f / 3.0f, 100}, {200.0f / 3.0f, 125}},
        {"fish, bottom of the body", {10, 1, 0, 0, false}, {200.0f / 3.0f, 0}, {200.0f / 3.0f, -25}},
        {"fish, right end", {10, 1, 0, 0, false}, {200, 80}, {200, 80}},
        // rise: left stays, right up by bend half-heights, a quarter of that in the middle
        {"rise, right bottom", {11, 1, 0, 0, false}, {200, 0}, {200, 50}},
        {"rise, middle", {11, 1, 0, 0, false}, {100, 50}, {100, 62.5f}},
        {"rise, left top", {11, 1, 0, 0, false}, {0, 100}, {0, 100}},
        // fisheye: halfway to the edge goes a quarter further out; the edge stays
        {"fisheye, halfway right", {12, 1, 0, 0, false}, {150, 50}, {162.5f, 50}},
        {"fisheye shrinking, halfway up", {12, -1, 0, 0, false}, {100, 75}, {100, 68.75f}},
        {"fisheye, right edge", {12, 1, 0, 0, false}, {200, 30}, {200, 30}},
        // inflate and squeeze: the middles of the sides by half a half-size
        {"inflate, right middle", {13, 1, 0, 0, false}, {200, 50}, {250, 50}},
        {"inflate, top middle", {13, 1, 0, 0, false}, {100, 100}, {100, 125}},
        {"squeeze, right middle", {14, 1, 0, 0, false}, {200, 50}, {150, 50}},
        {"squeeze, top middle", {14, 1, 0, 0, false}, {100, 100}, {100, 125}},
        // twist: the edge stays, the centre stays
        {"twist, the centre", {15, 1, 0, 0, false}, {100, 50}, {100, 50}},
        {"twist, right edge", {15, 1, 0, 0, false}, {200, 70}, {200, 70}},
    });
}

TEST(WarpStyles, TheCornersStayWhereTheStyleKeepsThem) {
    for (int32_t style : {2, 3, 4, 5, 8, 9, 10, 12, 13, 14, 15})
        for (const AIRealPoint& c : kCorners) {
            SCOPED_TRACE(testing::Message() << "style " << style << " corner " << c.h << "," << c.v);
            for (AIReal bend : {-1.0f, 0.4f, 1.0f}) {
                const AIRealPoint got = warpPoint(Warp{style, bend, 0, 0, false}, kBox, c);
                EXPECT_NEAR(got.h, c.h, 1e-3);
                EXPECT_NEAR(got.v, c.v, 1e-3);
            }
        }
}

TEST(WarpStyles, TwistTurnsTheMiddleCounterClockwiseAndLessTowardsTheEdge) {
    // A point just right of the centre turns almost a quarter turn: it ends up just above the centre.
    const AIRealPoint nearCentre = warpPoint(Warp{15, 1, 0, 0, false}, kBox, AIRealPoint{101, 50});
    EXPECT_NEAR(nearCentre.h, 100.0f, 0.05f);
    EXPECT_NEAR(nearCentre.v, 51.0f, 0.01f);
    // Halfway out it turns a sixteenth of a turn ((1 - 1/2)^2 quarter turns), clockwise for a negative bend.
    const AIRealPoint halfway = warpPoint(Warp{15, -1, 0, 0, false}, kBox, AIRealPoint{150, 50});
    EXPECT_NEAR(halfway.h, 100.0f + 50.0f * std::cos(std::numbers::pi / 8), 1e-3);
    EXPECT_NEAR(halfway.v, 50.0f - 50.0f * std::sin(std::numbers::pi / 8), 1e-3);
}

TEST(WarpStyles, TheRotateFlagMakesTheStyleActAlongTheVerticalAxis) {
    expectPoints({
        {"arc upper turned, right middle", {3, 1, 0, 0, true}, {200, 50}, {300, 50}},
        {"arc upper turned, top middle", {3, 1, 0, 0, true}, {100, 100}, {100, 100}},
        {"arc upper turned, left middle", {3, 1, 0, 0, true}, {0, 50}, {0, 50}},
        {"bulge turned, right middle", {5, 1, 0, 0, true}, {200, 50}, {250, 50}},
        {"bulge turned, left middle", {5, 1, 0, 0, true}, {0, 50}, {-50, 50}},
        {"bulge turned, top middle", {5, 1, 0, 0, true}, {100, 100}, {100, 100}},
        {"rise turned, top left", {11, 1, 0, 0, true}, {0, 100}, {100, 100}},
        {"rise turned, bottom left", {11, 1, 0, 0, true}, {0, 0}, {0, 0}},
    });
}

TEST(WarpStyles, DistortionsTiltTheResultAsAPerspective) {
    expectPoints({
        {"horizontal, right top", {4, 0, 1, 0, false}, {200, 100}, {200, 125}},
        {"horizontal, right bottom", {4, 0, 1, 0, false}, {200, 0}, {200, -25}},
        {"horizontal, left top", {4, 0, 1, 0, false}, {0, 100}, {0, 75}},
        {"horizontal, the middle column", {4, 0, 1, 0, false}, {100, 100}, {100, 100}},
        {"vertical, top right", {4, 0, 0, 1, false}, {200, 100}, {250, 100}},
        {"vertical, bottom right", {4, 0, 0, 1, false}, {200, 0}, {150, 0}},
        {"vertical negative, top left", {4, 0, 0, -0.5f, false}, {0, 100}, {25, 100}},
        // Distortions are not turned by the rotate flag.
        {"horizontal with rotate", {4, 0, 1, 0, true}, {200, 100}, {200, 125}},
        // After the bend: arc upper raises the top middle, which the middle column's factor 1 keeps.
        {"bend then horizontal", {3, 1, 1, 0, false}, {100, 100}, {100, 150}},
    });
}

TEST(WarpStyles, NoBendNoDistortionAndUnknownStylesLeaveEveryPoint) {
    const AIRealPoint points[] = {{0, 0}, {37.25f, 81.5f}, {200, 100}, {-500, 1e6f}};
    for (int32_t style = 0; style <= 16; ++style)
        for (const AIRealPoint& p : points) {
            SCOPED_TRACE(testing::Message() << "style " << style);
            const AIRealPoint still = warpPoint(Warp{style, 0, 0, 0, style % 2 == 0}, kBox, p);
            EXPECT_EQ(still.h, p.h);
            EXPECT_EQ(still.v, p.v);
        }
    // Out of range styles do nothing whatever the bend.
    for (int32_t style : {0, 16, -3}) {
        const AIRealPoint p = warpPoint(Warp{style, 1, 1, 1, false}, kBox, AIRealPoint{100, 100});
        EXPECT_EQ(p.h, 100.0f);
        EXPECT_EQ(p.v, 100.0f);
    }
}

TEST(WarpStyles, BendsAreClampedAndABoxWithoutWidthOrHeightMapsToItself) {
    expectPoints({
        {"bend 5 is bend 1", {3, 5, 0, 0, false}, {100, 100}, {100, 150}},
        {"bend -inf is bend -1", {3, -kInf, 0, 0, false}, {100, 100}, {100, 50}},
        {"a NaN bend is none", {3, kNan, 0, 0, false}, {100, 100}, {100, 100}},
        {"a NaN distortion is none", {3, 1, kNan, 0, false}, {200, 100}, {200, 100}},
    });
    for (const AIRealRect& flat :
         {AIRealRect{5, 100, 5, 0}, AIRealRect{0, 7, 200, 7}, AIRealRect{3, 3, 3, 3}})
        for (int32_t style = kFirstWarpStyle; style <= kLastWarpStyle; ++style) {
            const AIRealPoint p = warpPoint(Warp{style, 1, 1, 1, true}, flat, AIRealPoint{5, 7});
            EXPECT_EQ(p.h, 5.0f);
            EXPECT_EQ(p.v, 7.0f);
        }
}

TEST(WarpStyles, NothingNotFiniteComesOutForExtremeInput) {
    const AIReal big = std::numeric_limits<AIReal>::max();
    const AIRealRect boxes[] = {kBox,
                                {-big, big, big, -big},
                                {0, 1e-30f, 1e-30f, 0},
                                {1e30f, 1e30f + 1e24f, 1e30f + 1e24f, 1e30f},
                                {0, 1, 1e6f, 0}};
    const AIReal values[] = {-1, -0.3f, 0, 1, kNan, kInf, -kInf, 1e30f};
    const AIRealPoint points[] = {{0, 0}, {big, -big}, {kNan, 5}, {5, kInf}, {-1e20f, 3}, {0.5f, 0.5f}};
    for (int32_t style = kFirstWarpStyle; style <= kLastWarpStyle; ++style)
        for (const AIRealRect& box : boxes)
            for (AIReal value : values)
                for (const AIRealPoint& p : points)
                    for (bool rotate : {false, true}) {
                        const AIRealPoint got = warpPoint(Warp{style, value, -value, value, rotate}, box, p);
                        ASSERT_TRUE(std::isfinite(got.h) && std::isfinite(got.v))
                            << "style " << style << " value " << value << " point " << p.h << "," << p.v
                            << " box " << box.left << ".." << box.right;
                    }
}

// ---- envelopes in a document ----

ArtId addPath(Document& document, const std::vector<AIPathSegment>& segments, bool closed = false) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &id), DocStatus::ok);
    EXPECT_EQ(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()),
              DocStatus::ok);
    EXPECT_EQ(document.setClosed(id, closed), DocStatus::ok);
    return id;
}

// The 200 x 100 box as a closed path.
std::vector<AIPathSegment> boxPath() {
    return {corner(0, 0), corner(200, 0), corner(200, 100), corner(0, 100)};
}

// Wraps `art` in an envelope whose shape is a copy of it, as the tool does; with `warp` when given.
ArtId envelopeOf(Document& document, ArtId art, std::optional<Warp> warp = std::nullopt,
                 int32_t fidelity = 50) {
    ArtId shape = 0, envelope = 0;
    EXPECT_EQ(document.duplicateArt(art, kPlaceAboveAll, art, &shape), DocStatus::ok);
    EXPECT_EQ(document.makeEnvelope(&art, 1, shape, AIEnvelopeOptions{0, fidelity}, &envelope),
              DocStatus::ok);
    if (warp) {
        EXPECT_EQ(document.setWarp(envelope, *warp), DocStatus::ok);
    }
    return envelope;
}

AIRealRect boundsOf(const Document& document, ArtId art) {
    AIRealRect box{};
    EXPECT_EQ(document.bounds(art, &box), DocStatus::ok);
    return box;
}

void expectRect(const AIRealRect& got, const AIRealRect& want, float within = 1e-3f) {
    EXPECT_NEAR(got.left, want.left, within);
    EXPECT_NEAR(got.top, want.top, within);
    EXPECT_NEAR(got.right, want.right, within);
    EXPECT_NEAR(got.bottom, want.bottom, within);
}

bool sameSegments(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (auto [p, q] : {std::pair{a[i].p, b[i].p}, {a[i].in, b[i].in}, {a[i].out, b[i].out}})
            if (p.h != q.h || p.v != q.v) return false;
    return true;
}

// A curved open path: the handles reach outside the anchors' box.
std::vector<AIPathSegment> curvedPath() {
    AIPathSegment a = corner(0, 0), b = corner(120, 40), c = corner(200, 100);
    a.out = AIRealPoint{30, 90};
    b.in = AIRealPoint{80, -20};
    b.out = AIRealPoint{160, 100};
    c.in = AIRealPoint{210, 60};
    return {a, b, c};
}

TEST(Envelopes, WithoutAWarpOrWithAnEmptyWarpTheContentsAreDrawnExactlyAsTheyAre) {
    for (const std::optional<Warp>& warp :
         {std::optional<Warp>{}, std::optional<Warp>{Warp{7, 0, 0, 0, true}}}) {
        Document document;
        const ArtId art = addPath(document, curvedPath());
        const AIRealRect before = boundsOf(document, art);
        const ArtId envelope = envelopeOf(document, art, warp);
        const std::vector<WarpedPath> paths = warpedOutline(*document.find(envelope));
        ASSERT_EQ(paths.size(), 1u);
        EXPECT_EQ(paths[0].source, document.find(art));
        EXPECT_TRUE(sameSegments(paths[0].outline.segments, curvedPath()));
        EXPECT_FALSE(paths[0].outline.closed);
        expectRect(boundsOf(document, envelope), before, 0.0f);
    }
}

TEST(Envelopes, WithoutAWarpTheContentsFillTheBoxOfTheShape) {
    Document document;
    const ArtId art = addPath(document, {corner(0, 0), corner(10, 10)});
    const ArtId shape = addPath(document, {corner(100, 100), corner(120, 140), corner(110, 120)});
    ArtId envelope = 0;
    ASSERT_EQ(document.makeEnvelope(&art, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    const std::vector<WarpedPath> paths = warpedOutline(*document.find(envelope));
    ASSERT_EQ(paths.size(), 1u);
    ASSERT_EQ(paths[0].outline.segments.size(), 2u);
    EXPECT_EQ(paths[0].outline.segments[0].p.h, 100.0f);
    EXPECT_EQ(paths[0].outline.segments[0].p.v, 100.0f);
    EXPECT_EQ(paths[0].outline.segments[1].p.h, 120.0f);
    EXPECT_EQ(paths[0].outline.segments[1].p.v, 140.0f);
    expectRect(boundsOf(document, envelope), AIRealRect{100, 140, 120, 100});
    // Once warped, the shape no longer counts: the warp works on the contents' own box.
    ASSERT_EQ(document.setWarp(envelope, Warp{3, 1, 0, 0, false}), DocStatus::ok);
    const AIRealRect warped = boundsOf(document, envelope);
    EXPECT_NEAR(warped.left, 0.0f, 1e-3);
    EXPECT_NEAR(warped.right, 10.0f, 1e-3);
    EXPECT_LT(warped.bottom, 0.01f);
}

TEST(Envelopes, TheirBoundsFollowTheWarpAndCarryIntoTheirGroups) {
    struct Case {
        const char* what;
        Warp warp;
        AIRealRect bounds;
    };
    const Case cases[] = {
        {"arc upper", {3, 1, 0, 0, false}, {0, 150, 200, 0}},
        {"arc lower", {2, 1, 0, 0, false}, {0, 100, 200, -50}},
        {"bulge", {5, 1, 0, 0, false}, {0, 125, 200, -25}},
        {"inflate", {13, 1, 0, 0, false}, {-50, 125, 250, -25}},
        {"rise", {11, -1, 0, 0, false}, {0, 100, 200, -50}},
        {"bulge turned", {5, 1, 0, 0, true}, {-50, 100, 250, 0}},
        {"horizontal distortion", {9, 0, 1, 0, false}, {0, 125, 200, -25}},
        {"fisheye", {12, 1, 0, 0, false}, {0, 100, 200, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document document;
        ArtId group = 0, art = 0;
        ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
        ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &art), DocStatus::ok);
        const std::vector<AIPathSegment> box = boxPath();
        ASSERT_EQ(document.setSegments(art, 0, 4, box.data()), DocStatus::ok);
        ASSERT_EQ(document.setClosed(art, true), DocStatus::ok);
        const ArtId envelope = envelopeOf(document, art, c.warp);
        // The flattened outline may fall inside the true curve by the tolerance, never outside it.
        expectRect(boundsOf(document, envelope), c.bounds, 0.5f);
        expectRect(boundsOf(document, group), c.bounds, 0.5f);
    }
}

// The shortest distance from `p` to the polyline of `points`.
double distanceToPolyline(const AIRealPoint& p, const std::vector<AIPathSegment>& points) {
    double best = std::numeric_limits<double>::infinity();
    for (size_t i = 1; i < points.size(); ++i) {
        const double ax = points[i - 1].p.h, ay = points[i - 1].p.v;
        const double dx = points[i].p.h - ax, dy = points[i].p.v - ay;
        const double length2 = dx * dx + dy * dy;
        double u = length2 > 0 ? ((p.h - ax) * dx + (p.v - ay) * dy) / length2 : 0.0;
        u = std::clamp(u, 0.0, 1.0);
        best = std::min(best, std::hypot(p.h - (ax + u * dx), p.v - (ay + u * dy)));
    }
    return best;
}

AIRealPoint bezier(const AIPathSegment& from, const AIPathSegment& to, double u) {
    const double v = 1 - u;
    auto mix = [&](double a, double b, double c, double d) {
        return static_cast<AIReal>(v * v * v * a + 3 * v * v * u * b + 3 * v * u * u * c + u * u * u * d);
    };
    return {mix(from.p.h, from.out.h, to.in.h, to.p.h), mix(from.p.v, from.out.v, to.in.v, to.p.v)};
}

TEST(Envelopes, WarpedSidesAreCutIntoLinesThatFollowTheCurveWithinTheFidelity) {
    struct Case {
        int32_t fidelity;
        double tolerance;
    };
    size_t coarser = 0;
    for (const Case& c : {Case{0, 5.0}, Case{50, 0.5}, Case{100, 0.05}}) {
        SCOPED_TRACE(c.fidelity);
        Document document;
        const ArtId art = addPath(document, curvedPath());
        const Warp warp{1, 0.8f, 0.3f, -0.2f, false};
        const ArtId envelope = envelopeOf(document, art, warp, c.fidelity);
        const std::vector<WarpedPath> paths = warpedOutline(*document.find(envelope));
        ASSERT_EQ(paths.size(), 1u);
        const std::vector<AIPathSegment>& lines = paths[0].outline.segments;
        // Only straight lines come out.
        for (const AIPathSegment& s : lines) {
            EXPECT_EQ(s.in.h, s.p.h);
            EXPECT_EQ(s.out.v, s.p.v);
        }
        EXPECT_GT(lines.size(), coarser); // a finer fidelity gives more lines
        coarser = lines.size();
        // Every point of the true warped curve lies near the lines.
        const AIRealRect box = artBounds(*document.find(art));
        const std::vector<AIPathSegment> curve = curvedPath();
        double worst = 0;
        for (size_t side = 1; side < curve.size(); ++side)
            for (int i = 0; i <= 200; ++i) {
                const AIRealPoint truePoint =
                    warpPoint(warp, box, bezier(curve[side - 1], curve[side], i / 200.0));
                worst = std::max(worst, distanceToPolyline(truePoint, lines));
            }
        EXPECT_LE(worst, c.tolerance * 1.5);
        // The ends are the warped anchors.
        const AIRealPoint start = warpPoint(warp, box, curve.front().p);
        EXPECT_NEAR(lines.front().p.h, start.h, 1e-3);
        EXPECT_NEAR(lines.back().p.v, warpPoint(warp, box, curve.back().p).v, 1e-3);
    }
}

TEST(Envelopes, StraightSidesBendTooAndClosedPathsDoNotRepeatTheirStart) {
    Document document;
    const ArtId art = addPath(document, boxPath(), true);
    const ArtId envelope = envelopeOf(document, art, Warp{3, 1, 0, 0, false});
    const std::vector<WarpedPath> paths = warpedOutline(*document.find(envelope));
    ASSERT_EQ(paths.size(), 1u);
    const PathOutline& outline = paths[0].outline;
    EXPECT_TRUE(outline.closed);
    ASSERT_GT(outline.segments.size(), 20u); // the top edge is a curve now
    EXPECT_EQ(outline.segments.front().p.h, 0.0f);
    EXPECT_EQ(outline.segments.front().p.v, 0.0f);
    const AIRealPoint last = outline.segments.back().p;
    EXPECT_FALSE(last.h == 0.0f && last.v == 0.0f);
    EXPECT_NEAR(last.h, 0.0f, 1e-3); // the last point is on the left side, which stays straight
    // The top edge's points lie on the parabola 100 + 50 (1 - s^2).
    size_t onTop = 0;
    for (const AIPathSegment& s : outline.segments)
        if (s.p.v > 100.0f) {
            const double sx = (s.p.h - 100.0) / 100.0;
            EXPECT_NEAR(s.p.v, 100.0 + 50.0 * (1 - sx * sx), 1e-3);
            ++onTop;
        }
    EXPECT_GT(onTop, 10u);
}

TEST(Envelopes, EveryPathInsideIsListedWithItsSourceBottomToTop) {
    Document document;
    ArtId group = 0, compound = 0, a = 0, b = 0, loose = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &loose), DocStatus::ok);
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceInsideOnTop, group, &compound), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &a), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &b), DocStatus::ok);
    const std::vector<AIPathSegment> box = boxPath();
    for (ArtId path : {loose, a, b})
        ASSERT_EQ(document.setSegments(path, 0, 4, box.data()), DocStatus::ok);
    const ArtId inner = envelopeOf(document, group, Warp{5, 1, 0, 0, false});
    // An envelope holding an envelope maps the inner one's drawing again.
    const ArtId outer = envelopeOf(document, inner, Warp{5, 1, 0, 0, false});
    const std::vector<WarpedPath> paths = warpedOutline(*document.find(outer));
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0].source->id(), loose);
    EXPECT_EQ(paths[1].source->id(), a);
    EXPECT_EQ(paths[2].source->id(), b);
    EXPECT_EQ(paths[1].source->parent()->id(), compound);
    // Twice bulged: the inner box is 150 high, its middle grows by half again.
    expectRect(boundsOf(document, outer), AIRealRect{0, 150 * 1.25f - 25, 200, -(150 * 0.25f) - 25}, 0.5f);
    EXPECT_TRUE(warpedOutline(*document.find(a)).empty()); // not an envelope
}

TEST(Envelopes, NonFiniteAnchorsAreLeftOutAndHugePathsStayBounded) {
    Document document;
    const ArtId art = addPath(document, {corner(0, 0), corner(kNan, 5), corner(200, 100), corner(50, kInf)});
    const ArtId envelope = envelopeOf(document, art, Warp{15, 1, 1, 1, true});
    const std::vector<WarpedPath> paths = warpedOutline(*document.find(envelope));
    ASSERT_EQ(paths.size(), 1u);
    ASSERT_FALSE(paths[0].outline.segments.empty());
    for (const AIPathSegment& s : paths[0].outline.segments)
        ASSERT_TRUE(std::isfinite(s.p.h) && std::isfinite(s.p.v));
    const AIRealRect box = boundsOf(document, envelope);
    EXPECT_TRUE(std::isfinite(box.left) && std::isfinite(box.top));

    std::vector<AIPathSegment> many;
    for (int i = 0; i < 32767; ++i)
        many.push_back(corner(static_cast<AIReal>(i), static_cast<AIReal>(i % 2) * 1000.0f));
    const ArtId zigzag = addPath(document, many);
    const ArtId big = envelopeOf(document, zigzag, Warp{9, 1, 0, 0, false}, 100);
    const std::vector<WarpedPath> warped = warpedOutline(*document.find(big));
    ASSERT_EQ(warped.size(), 1u);
    // Every side is still cut, into 4 to 8 lines: about 2^18 points at most.
    EXPECT_GE(warped[0].outline.segments.size(), 4u * 32766u + 1u);
    EXPECT_LE(warped[0].outline.segments.size(), 8u * 32766u + 1u);
    // Warped again in an envelope around it, a path of that many lines is cut no further than about 2^18
    // points, and each of its sides keeps at least one line.
    const ArtId around = envelopeOf(document, big, Warp{5, 1, 0, 0, false}, 100);
    const std::vector<WarpedPath> twice = warpedOutline(*document.find(around));
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_GE(twice[0].outline.segments.size(), warped[0].outline.segments.size());
    EXPECT_LE(twice[0].outline.segments.size(), (size_t{1} << 18) + 1u);
}

} // namespace
} // namespace zz

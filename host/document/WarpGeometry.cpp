#include "host/document/WarpGeometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "host/base/PortableMath.h"

namespace zz {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Point {
    double x = 0.0;
    double y = 0.0;
};

bool finite(const AIRealPoint& p) {
    return std::isfinite(p.h) && std::isfinite(p.v);
}

bool finite(const AIPathSegment& s) {
    return finite(s.p) && finite(s.in) && finite(s.out);
}

// A bend or distortion as the styles use it: clamped to -1..1, 0 for NaN.
double unit(AIReal value) {
    return std::isnan(value) ? 0.0 : std::clamp(static_cast<double>(value), -1.0, 1.0);
}

double clampUnit(double value) {
    return std::clamp(value, -1.0, 1.0);
}

// The finite bounds of points, in doubles.
class Box {
  public:
    void add(const AIRealPoint& p) {
        if (!finite(p)) return;
        if (empty_) {
            left_ = right_ = p.h;
            bottom_ = top_ = p.v;
            empty_ = false;
            return;
        }
        left_ = std::min<double>(left_, p.h);
        right_ = std::max<double>(right_, p.h);
        bottom_ = std::min<double>(bottom_, p.v);
        top_ = std::max<double>(top_, p.v);
    }
    void add(const std::vector<AIPathSegment>& segments) {
        for (const AIPathSegment& s : segments) {
            add(s.p);
            add(s.in);
            add(s.out);
        }
    }
    static Box of(const AIRealRect& rect) {
        Box box;
        box.add(AIRealPoint{rect.left, rect.bottom});
        box.add(AIRealPoint{rect.right, rect.top});
        return box;
    }
    // Whether the box has both a width and a height.
    bool solid() const { return !empty_ && right_ > left_ && top_ > bottom_; }
    double centreX() const { return (left_ + right_) * 0.5; }
    double centreY() const { return (bottom_ + top_) * 0.5; }
    double halfWidth() const { return (right_ - left_) * 0.5; }
    double halfHeight() const { return (top_ - bottom_) * 0.5; }

  private:
    bool empty_ = true;
    double left_ = 0.0, bottom_ = 0.0, right_ = 0.0, top_ = 0.0;
};

// What a style's bend reads: the bend b, the half width a and half height c of the box (both above 0), and
// the point p given relative to the box's centre, with where it lies in the box.
struct BendInput {
    double b;
    double a;
    double c;
    Point p;
    double s;      // -1 at the left edge to 1 at the right
    double t;      // -1 at the bottom to 1 at the top
    double across; // 1 in the middle column, 0 at the left and right edges
    double ring;   // 0 at the centre, 1 on the box's outline
};

// The styles' bends; see the header for what each does.
using BendStyle = Point (*)(const BendInput& in);

Point arc(const BendInput& in) {
    const double b = in.b;
    if (b == 0.0) return in.p;
    // Bending down (b < 0) is bending up upside down.
    const double sign = b < 0.0 ? -1.0 : 1.0;
    const double up = sign * in.p.y;
    // The centre line keeps its length on a circle of this radius, which is never less than the half height,
    // so that the inner edge stays on its side of the circle's centre.
    const double radius = std::max(2.0 * in.a / (std::abs(b) * kPi), in.c);
    const double angle = in.p.x / radius;
    const double distance = radius + up;
    return Point{distance * portable::sin(angle),
                 sign * (distance * portable::cos(angle) - radius * portable::cos(in.a / radius))};
}

Point arcLower(const BendInput& in) {
    return Point{in.p.x, in.p.y - in.b * in.c * in.across * (1.0 - in.t) * 0.5};
}

Point arcUpper(const BendInput& in) {
    return Point{in.p.x, in.p.y + in.b * in.c * in.across * (1.0 + in.t) * 0.5};
}

Point arch(const BendInput& in) {
    return Point{in.p.x, in.p.y + in.b * in.c * in.across};
}

Point bulge(const BendInput& in) {
    return Point{in.p.x, in.p.y * (1.0 + 0.5 * in.b * in.across)};
}

Point shellLower(const BendInput& in) {
    return Point{in.p.x * (1.0 - 0.25 * in.b * (1.0 - in.t)),
                 in.p.y - in.b * in.c * in.across * (1.0 - in.t) * 0.5};
}

Point shellUpper(const BendInput& in) {
    return Point{in.p.x * (1.0 - 0.25 * in.b * (1.0 + in.t)),
                 in.p.y + in.b * in.c * in.across * (1.0 + in.t) * 0.5};
}

// A wave whose height grows away from the pole on the left.
Point flag(const BendInput& in) {
    return Point{in.p.x,
                 in.p.y + 0.5 * in.b * in.c * ((1.0 + in.s) * 0.5) * portable::sin(kPi * (1.0 + in.s))};
}

Point wave(const BendInput& in) {
    return Point{in.p.x, in.p.y - 0.5 * in.b * in.c * portable::sin(kPi * in.s)};
}

// (1 + s)(1 - s)^2 peaks at s = -1/3 with 32/27.
Point fish(const BendInput& in) {
    const double s = in.s;
    return Point{in.p.x, in.p.y * (1.0 + 0.5 * in.b * (27.0 / 32.0) * (1.0 + s) * (1.0 - s) * (1.0 - s))};
}

Point rise(const BendInput& in) {
    return Point{in.p.x, in.p.y + in.b * in.c * ((1.0 + in.s) * 0.5) * ((1.0 + in.s) * 0.5)};
}

// The ring r goes to r (1 + b (1 - r) / 2), which keeps rings in order for |b| <= 1.
Point fisheye(const BendInput& in) {
    const double k = 1.0 + 0.5 * in.b * (1.0 - in.ring);
    return Point{in.p.x * k, in.p.y * k};
}

Point inflate(const BendInput& in) {
    return Point{in.p.x * (1.0 + 0.5 * in.b * (1.0 - in.t * in.t)), in.p.y * (1.0 + 0.5 * in.b * in.across)};
}

Point squeeze(const BendInput& in) {
    return Point{in.p.x * (1.0 - 0.5 * in.b * (1.0 - in.t * in.t)), in.p.y * (1.0 + 0.5 * in.b * in.across)};
}

Point twist(const BendInput& in) {
    const double angle = in.b * kPi * 0.5 * (1.0 - in.ring) * (1.0 - in.ring);
    double sine = 0.0;
    double cosine = 0.0;
    portable::sinCos(angle, &sine, &cosine);
    return Point{in.p.x * cosine - in.p.y * sine, in.p.x * sine + in.p.y * cosine};
}

// The bend of every style from kFirstWarpStyle on, in the styles' order.
constexpr BendStyle kBendStyles[] = {arc,  arcLower, arcUpper, arch,    bulge,   shellLower, shellUpper, flag,
                                     wave, fish,     rise,     fisheye, inflate, squeeze,    twist};
static_assert(std::size(kBendStyles) == kLastWarpStyle - kFirstWarpStyle + 1,
              "one bend for every warp style");

// The style's bend of a point p given relative to the centre of a box of half width a and half height c (both
// above 0); a style out of range leaves the point where it is.
Point bend(int32_t style, double b, double a, double c, Point p) {
    if (style < kFirstWarpStyle || style > kLastWarpStyle) return p;
    BendInput in{b, a, c, p, clampUnit(p.x / a), clampUnit(p.y / c), 0.0, 0.0};
    in.across = 1.0 - in.s * in.s;
    in.ring = std::max(std::abs(in.s), std::abs(in.t));
    return kBendStyles[style - kFirstWarpStyle](in);
}

// Where an envelope takes the points of its contents: the identity, a linear map from one box onto another,
// or a warp over a box.
class Mapping {
  public:
    static Mapping identity() { return Mapping{}; }

    static Mapping boxOnto(const Box& from, const Box& to) {
        Mapping m;
        if (!from.solid() || !to.solid()) return m;
        m.kind_ = Kind::linear;
        m.fromX_ = from.centreX();
        m.fromY_ = from.centreY();
        m.toX_ = to.centreX();
        m.toY_ = to.centreY();
        m.scaleX_ = to.halfWidth() / from.halfWidth();
        m.scaleY_ = to.halfHeight() / from.halfHeight();
        return m;
    }

    static Mapping warp(const Warp& warp, const Box& box) {
        Mapping m;
        if (warp.style < kFirstWarpStyle || warp.style > kLastWarpStyle || !box.solid()) return m;
        m.bend_ = unit(warp.bend);
        m.horizontal_ = unit(warp.horizontal);
        m.vertical_ = unit(warp.vertical);
        if (m.bend_ == 0.0 && m.horizontal_ == 0.0 && m.vertical_ == 0.0) return m;
        m.kind_ = Kind::warp;
        m.style_ = warp.style;
        m.rotate_ = warp.rotate;
        m.fromX_ = m.toX_ = box.centreX();
        m.fromY_ = m.toY_ = box.centreY();
        m.halfWidth_ = box.halfWidth();
        m.halfHeight_ = box.halfHeight();
        return m;
    }

    // Whether straight lines stay straight (and curves keep their handles).
    bool linear() const { return kind_ != Kind::warp; }

    // The point mapped; a finite point always maps to a finite one.
    AIRealPoint operator()(const AIRealPoint& p) const { return toReal(map(Point{p.h, p.v}), p); }

    Point map(Point p) const {
        switch (kind_) {
        case Kind::identity:
            return p;
        case Kind::linear:
            return Point{toX_ + (p.x - fromX_) * scaleX_, toY_ + (p.y - fromY_) * scaleY_};
        case Kind::warp:
            break;
        }
        const double a = halfWidth_;
        const double c = halfHeight_;
        Point q{p.x - fromX_, p.y - fromY_};
        if (rotate_) {
            const Point turned = bend(style_, bend_, c, a, Point{q.y, q.x});
            q = Point{turned.y, turned.x};
        } else {
            q = bend(style_, bend_, a, c, q);
        }
        q.y *= 1.0 + 0.5 * horizontal_ * clampUnit(q.x / a);
        q.x *= 1.0 + 0.5 * vertical_ * clampUnit(q.y / c);
        return Point{toX_ + q.x, toY_ + q.y};
    }

    // A mapped point as floats: held within the float range; a point that did not come out finite (which
    // finite input cannot give) stays where it was.
    static AIRealPoint toReal(Point p, const AIRealPoint& fallback) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return fallback;
        constexpr double kMax = std::numeric_limits<AIReal>::max();
        return AIRealPoint{static_cast<AIReal>(std::clamp(p.x, -kMax, kMax)),
                           static_cast<AIReal>(std::clamp(p.y, -kMax, kMax))};
    }

  private:
    enum class Kind { identity, linear, warp };
    Kind kind_ = Kind::identity;
    int32_t style_ = 0;
    bool rotate_ = false;
    double bend_ = 0.0, horizontal_ = 0.0, vertical_ = 0.0;
    double fromX_ = 0.0, fromY_ = 0.0, toX_ = 0.0, toY_ = 0.0;
    double scaleX_ = 1.0, scaleY_ = 1.0;
    double halfWidth_ = 1.0, halfHeight_ = 1.0;
};

// The largest distance in points between a mapped curve and the lines that stand for it, for a fidelity of
// 0 to 100: 5 x 10^(-fidelity / 50).
double tolerance(int32_t fidelity) {
    constexpr double kLn10Over50 = 0x1.79416b2d3a01cp-5;
    const double f = std::clamp(fidelity, 0, 100);
    return 5.0 * portable::exp(-f * kLn10Over50);
}

// Cuts the sides of a path into lines and maps their ends.
class Flattener {
  public:
    Flattener(const Mapping& mapping, double tolerance, size_t sides)
        : mapping_(mapping), tolerance2_(tolerance * tolerance) {
        // A side is cut into at most as many pieces as keep the path within about 2^18 points, and, within
        // that, into at least 4, so that a side whose mapped middle happens to lie on its chord is still
        // followed. (A path of more sides than that keeps one line per side: mapping an envelope's outline
        // again in an envelope around it does not multiply its points without end.)
        constexpr size_t kBudget = size_t{1} << 18;
        int depth = 0;
        while (depth < kMaxDepth && (sides << (depth + 1)) <= kBudget)
            ++depth;
        maxDepth_ = depth;
        minDepth_ = std::min(depth, kMinDepth);
    }

    // Appends the side from `from` to `to` without its first point.
    void side(const AIPathSegment& from, const AIPathSegment& to, std::vector<AIPathSegment>& out) const {
        Point control[4] = {
            {from.p.h, from.p.v}, {from.out.h, from.out.v}, {to.in.h, to.in.v}, {to.p.h, to.p.v}};
        if (from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v) {
            // A straight side: handles at its thirds run it at an even pace, so that even cuts are even.
            control[1] =
                Point{(2.0 * control[0].x + control[3].x) / 3.0, (2.0 * control[0].y + control[3].y) / 3.0};
            control[2] =
                Point{(control[0].x + 2.0 * control[3].x) / 3.0, (control[0].y + 2.0 * control[3].y) / 3.0};
        }
        piece(control, 0.0, mapping_.map(control[0]), 1.0, mapping_.map(control[3]), 0, to.p, out);
    }

    Point mapped(const AIRealPoint& p) const { return mapping_.map(Point{p.h, p.v}); }

  private:
    static constexpr int kMinDepth = 2;
    static constexpr int kMaxDepth = 10;

    static Point at(const Point (&c)[4], double u) {
        const double v = 1.0 - u;
        const double w0 = v * v * v, w1 = 3.0 * v * v * u, w2 = 3.0 * v * u * u, w3 = u * u * u;
        return Point{w0 * c[0].x + w1 * c[1].x + w2 * c[2].x + w3 * c[3].x,
                     w0 * c[0].y + w1 * c[1].y + w2 * c[2].y + w3 * c[3].y};
    }

    // The square of the distance from p to the line from a to b.
    static double distance2(Point p, Point a, Point b) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length2 = dx * dx + dy * dy;
        double u = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
        u = std::clamp(u, 0.0, 1.0);
        const double ex = p.x - (a.x + u * dx), ey = p.y - (a.y + u * dy);
        return ex * ex + ey * ey;
    }

    void piece(const Point (&c)[4], double u0, Point p0, double u1, Point p1, int depth,
               const AIRealPoint& fallback, std::vector<AIPathSegment>& out) const {
        const double um = (u0 + u1) * 0.5;
        const Point pm = mapping_.map(at(c, um));
        if (depth >= maxDepth_ || (depth >= minDepth_ && distance2(pm, p0, p1) <= tolerance2_)) {
            AIPathSegment segment{};
            segment.p = segment.in = segment.out = Mapping::toReal(p1, fallback);
            segment.corner = 1;
            out.push_back(segment);
            return;
        }
        piece(c, u0, p0, um, pm, depth + 1, fallback, out);
        piece(c, um, pm, u1, p1, depth + 1, fallback, out);
    }

    const Mapping& mapping_;
    double tolerance2_;
    int maxDepth_ = 0;
    int minDepth_ = 0;
};

PathOutline mapOutline(const Mapping& mapping, double tolerance, const PathOutline& source) {
    std::vector<AIPathSegment> segments;
    segments.reserve(source.segments.size());
    for (const AIPathSegment& s : source.segments)
        if (finite(s)) segments.push_back(s);
    PathOutline result;
    result.closed = source.closed;
    if (segments.empty()) return result;
    if (mapping.linear()) {
        for (AIPathSegment s : segments) {
            s.p = mapping(s.p);
            s.in = mapping(s.in);
            s.out = mapping(s.out);
            result.segments.push_back(s);
        }
        return result;
    }
    const bool closing = source.closed && segments.size() > 1;
    const size_t sides = segments.size() - 1 + (closing ? 1 : 0);
    const Flattener flattener(mapping, tolerance, sides);
    AIPathSegment first{};
    first.p = first.in = first.out = mapping(segments.front().p);
    first.corner = 1;
    result.segments.push_back(first);
    for (size_t i = 1; i < segments.size(); ++i)
        flattener.side(segments[i - 1], segments[i], result.segments);
    if (closing) {
        flattener.side(segments.back(), segments.front(), result.segments);
        result.segments.pop_back(); // the start again: the close draws it
    }
    return result;
}

// The paths below `node`, bottom to top; an envelope inside gives its own mapped paths.
void collect(const Art& node, std::vector<WarpedPath>& out) {
    for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling()) {
        switch (child->type()) {
        case kPathArt:
            if (!child->data().segments.empty())
                out.push_back(WarpedPath{child, PathOutline{child->data().segments, child->data().closed}});
            break;
        case kEnvelopeArt: {
            std::vector<WarpedPath> inner = warpedOutline(*child);
            for (WarpedPath& path : inner)
                out.push_back(std::move(path));
            break;
        }
        default:
            collect(*child, out);
            break;
        }
    }
}

} // namespace

std::vector<WarpedPath> warpedOutline(const Art& envelope) {
    std::vector<WarpedPath> paths;
    if (envelope.type() != kEnvelopeArt) return paths;
    collect(envelope, paths);
    Box contents;
    for (const WarpedPath& path : paths)
        contents.add(path.outline.segments);
    const ArtData& data = envelope.data();
    Mapping mapping = Mapping::identity();
    if (data.warp) {
        mapping = Mapping::warp(*data.warp, contents);
    } else {
        Box shape;
        for (const PathOutline& outline : data.envelopeShape)
            shape.add(outline.segments);
        mapping = Mapping::boxOnto(contents, shape);
    }
    const double tol = tolerance(data.envelopeOptions.fidelity);
    for (WarpedPath& path : paths)
        path.outline = mapOutline(mapping, tol, path.outline);
    return paths;
}

AIRealPoint warpPoint(const Warp& warp, const AIRealRect& box, AIRealPoint p) {
    if (!std::isfinite(p.h)) p.h = 0.0f;
    if (!std::isfinite(p.v)) p.v = 0.0f;
    return Mapping::warp(warp, Box::of(box))(p);
}

} // namespace zz

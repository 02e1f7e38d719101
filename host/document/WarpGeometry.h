// Warp geometry: what an envelope does to the art it holds.
//
// An envelope maps its contents' box, the bounds of every anchor and handle of the paths it holds, onto a new
// shape:
//
//   - without a warp, linearly onto the bounds of the envelope's shape (the object it took over); when the
//     shape has the contents' bounds, as a copy of the contents has, that is the identity;
//   - with a warp, through one of the fifteen styles below, followed by the two distortions.
//
// In the box's own frame, with s running -1 (left) to 1 (right) and t -1 (bottom) to 1 (top) and b the bend,
// each style does this for b > 0 (b < 0 does the opposite; b = 0 leaves every point where it is):
//
//    1 arc          bends the box around a circle, half a circle at b = 1: the horizontal centre line keeps
//                   its length and the height of its ends, the middle of the top edge rises, vertical lines
//                   turn to point at the circle's centre (the bend is held back so that the inner edge never
//                   passes that centre)
//    2 arc lower    the bottom edge sags into a parabola, its middle b half-heights lower; top edge and
//    corners
//                   stay
//    3 arc upper    the top edge bows up, its middle b half-heights higher; bottom edge and corners stay
//    4 arch         the whole box lifted along a parabola, its middle column b half-heights up; vertical
//    lines
//                   stay vertical, the corners stay
//    5 bulge        the middle column grows taller by half (b = 1), top up and bottom down; corners stay
//    6 shell lower  the bottom edge sags like arc lower and the bottom corners draw in (to half the width at
//                   b = 1); the top edge stays
//    7 shell upper  the same upside down
//    8 flag         one wave across the width whose height grows from the left edge (the pole) to the right;
//                   the left half rises, the right half sinks; corners and the middle column stay
//    9 wave         one even wave across the width: left half up, right half down, half a half-height high
//   10 fish         the body (the left third) swells by up to half its height, the ends stay
//   11 rise         the box rises along a parabola from its left edge, which stays, to its right edge, b
//                   half-heights up
//   12 fisheye      the inside is magnified about the centre (up to one and a half times near it); the
//   outline
//                   of the box stays
//   13 inflate      all four sides bow outwards, their middles by b / 2; corners stay
//   14 squeeze      the left and right sides bow inwards and the top and bottom outwards, by b / 2; corners
//                   stay
//   15 twist        turns the inside about the centre, by b quarter turns counter-clockwise near it and less
//                   towards the outline of the box, which stays
//
// With the rotate flag the style acts along the vertical axis: x and y trade places for the style (so what it
// does to the top edge it does to the right edge), not for the distortions. The distortions then tilt the
// result as a perspective would: a horizontal distortion h scales heights by 1 + h/2 at the right edge and
// 1 - h/2 at the left (linearly between), a vertical distortion v scales widths by 1 + v/2 at the top and
// 1 - v/2 at the bottom. Bend and distortions are clamped to -1..1 (NaN counts as 0).
//
// Mapped outlines are straight lines only: every side of a path, curved or not, is cut into pieces short
// enough that the mapped points lie within a tolerance of the true curve; the envelope's fidelity (0 to 100)
// sets it from 5 points (0) through 0.5 (50) to 0.05 (100). A side gets 4 to 1024 pieces, fewer when the path
// would pass about 2^18 points, and one when it has that many sides already. A linear map (no warp, or a warp
// of bend 0 with no distortion) keeps the segments and their handles as they are, mapped.
//
// Nothing not finite comes out: non-finite anchors or handles are left out, points are held within the range
// of a float, and a box of no width or no height maps to itself.
#ifndef ZZ_HOST_DOCUMENT_WARP_GEOMETRY_H
#define ZZ_HOST_DOCUMENT_WARP_GEOMETRY_H

#include <vector>

#include "host/document/Art.h"

namespace zz {

// One path of an envelope as the envelope draws it.
struct WarpedPath {
    const Art* source = nullptr; // the content path it comes from: its paint, its compound path
    PathOutline outline;
};

// The paths an envelope holds (inside groups, compound paths and envelopes of its own too), bottom to top,
// mapped as the envelope maps them. Empty for art that is not an envelope.
std::vector<WarpedPath> warpedOutline(const Art& envelope);

// Where `warp` takes the point `p` of contents whose box is `box`.
AIRealPoint warpPoint(const Warp& warp, const AIRealRect& box, AIRealPoint p);

} // namespace zz

#endif

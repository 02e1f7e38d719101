// Art geometry: bounds and affine transforms of the anchors and handles art holds.
#ifndef ZZ_HOST_DOCUMENT_ART_GEOMETRY_H
#define ZZ_HOST_DOCUMENT_ART_GEOMETRY_H

#include <vector>

#include "host/document/Art.h"

namespace zz {

// Bounds of every anchor and handle of the art and the art it holds, an envelope's contents as the envelope
// maps them (WarpGeometry.h); all zero when it holds none.
AIRealRect artBounds(const Art& art);

// Whether every number of the matrix is finite.
bool finiteMatrix(const AIRealMatrix& m);

// x' = a x + c y + tx, y' = b x + d y + ty on every anchor and handle.
void transformSegments(std::vector<AIPathSegment>& segments, const AIRealMatrix& m);

} // namespace zz

#endif

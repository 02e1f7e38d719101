#include "host/document/ArtGeometry.h"

#include <algorithm>
#include <cmath>

#include "host/document/WarpGeometry.h"

namespace zz {

AIRealRect artBounds(const Art& art) {
    bool any = false;
    AIRealRect box{0.0f, 0.0f, 0.0f, 0.0f};
    auto add = [&](const AIRealPoint& p) {
        if (!any) {
            box = {p.h, p.v, p.h, p.v};
            any = true;
            return;
        }
        box.left = std::min(box.left, p.h);
        box.right = std::max(box.right, p.h);
        box.bottom = std::min(box.bottom, p.v);
        box.top = std::max(box.top, p.v);
    };
    auto addAll = [&](const std::vector<AIPathSegment>& segments) {
        for (const AIPathSegment& segment : segments) {
            add(segment.p);
            add(segment.in);
            add(segment.out);
        }
    };
    // An envelope counts as it is drawn: its contents mapped, its shape not at all.
    auto walk = [&](const Art& node, auto& self) -> void {
        if (node.type() == kEnvelopeArt) {
            for (const WarpedPath& path : warpedOutline(node))
                addAll(path.outline.segments);
            return;
        }
        addAll(node.data().segments);
        for (const Art* child = node.firstChild(); child != nullptr; child = child->nextSibling())
            self(*child, self);
    };
    walk(art, walk);
    return box;
}

bool finiteMatrix(const AIRealMatrix& m) {
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
           std::isfinite(m.tx) && std::isfinite(m.ty);
}

void transformSegments(std::vector<AIPathSegment>& segments, const AIRealMatrix& m) {
    auto apply = [&m](AIRealPoint& p) {
        const AIReal h = m.a * p.h + m.c * p.v + m.tx;
        const AIReal v = m.b * p.h + m.d * p.v + m.ty;
        p.h = h;
        p.v = v;
    };
    for (AIPathSegment& segment : segments) {
        apply(segment.p);
        apply(segment.in);
        apply(segment.out);
    }
}

} // namespace zz

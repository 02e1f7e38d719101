// Angles and affine matrices in 32-bit floats, as the real math suite offers them.
//
// A matrix maps x' = a x + c y + tx, y' = b x + d y + ty. "Concatenate" always means "first the matrix as it
// is, then the new operation", so a chain set-translate, concat-rotate, concat-translate moves a point by the
// first translation first. Angles are counter-clockwise in document coordinates (y up). The trigonometry is
// the host's own (host/base/PortableMath.h), so that both builds of the host turn art to the same bits.
#ifndef ZZ_HOST_DOCUMENT_REAL_MATH_H
#define ZZ_HOST_DOCUMENT_REAL_MATH_H

#include "ZZTypes.h"
#include "host/base/PortableMath.h"

namespace zz::realmath {

inline constexpr AIReal kPi = 3.14159265358979f;

inline AIReal degreeToRadian(AIReal degrees) {
    return degrees * kPi / 180.0f;
}

inline AIReal pointAngle(const AIRealPoint& a, const AIRealPoint& b) {
    const AIReal dh = b.h - a.h;
    const AIReal dv = b.v - a.v;
    if (dh == 0.0f && dv == 0.0f) return 0.0f;
    return portable::atan2f(dv, dh);
}

inline void setIdentity(AIRealMatrix& m) {
    m = AIRealMatrix{1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
}

inline void setTranslate(AIRealMatrix& m, AIReal tx, AIReal ty) {
    m = AIRealMatrix{1.0f, 0.0f, 0.0f, 1.0f, tx, ty};
}

inline void concatTranslate(AIRealMatrix& m, AIReal tx, AIReal ty) {
    m.tx += tx;
    m.ty += ty;
}

inline void concatRotate(AIRealMatrix& m, AIReal angle) {
    double sine = 0.0;
    double cosine = 0.0;
    portable::sinCos(angle, &sine, &cosine);
    const auto c = static_cast<AIReal>(cosine);
    const auto s = static_cast<AIReal>(sine);
    m = AIRealMatrix{c * m.a - s * m.b, s * m.a + c * m.b,   c * m.c - s * m.d,
                     s * m.c + c * m.d, c * m.tx - s * m.ty, s * m.tx + c * m.ty};
}

inline void concatScale(AIRealMatrix& m, AIReal sh, AIReal sv) {
    m = AIRealMatrix{m.a * sh, m.b * sv, m.c * sh, m.d * sv, m.tx * sh, m.ty * sv};
}

inline AIRealPoint apply(const AIRealMatrix& m, AIRealPoint p) {
    return AIRealPoint{m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

} // namespace zz::realmath

#endif

/* AIRealMath.h - angles and affine matrices, computed in 32-bit floats. These functions cannot fail. */
#ifndef ZZ_AI_REAL_MATH_H
#define ZZ_AI_REAL_MATH_H

#include "ZZTypes.h"

ZZ_EXTERN_C_BEGIN

#define kAIRealMathSuite "AI Real Math Suite"
#define kAIRealMathSuiteVersion 1

typedef struct AIRealMathSuite {
    /* [any message] Returns `degrees` in radians (degrees x pi / 180, in float). */
    AIReal(SPAPI* DegreeToRadian)(AIReal degrees);
    /* [any message] Returns the angle of the direction from *a to *b in radians, -pi to pi (atan2 of dv, dh);
       0 when the points are equal. */
    AIReal(SPAPI* AIRealPointAngle)(const AIRealPoint* a, const AIRealPoint* b);
    /* [any message] Sets *m to the identity. */
    void(SPAPI* AIRealMatrixSetIdentity)(AIRealMatrix* m);
    /* [any message] Sets *m to a translation by (tx, ty). */
    void(SPAPI* AIRealMatrixSetTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
    /* [any message] Concatenates: *m becomes "first *m, then translate by (tx, ty)". */
    void(SPAPI* AIRealMatrixConcatTranslate)(AIRealMatrix* m, AIReal tx, AIReal ty);
    /* [any message] Concatenates: *m becomes "first *m, then rotate by `angle` radians (counter-clockwise)".
     */
    void(SPAPI* AIRealMatrixConcatRotate)(AIRealMatrix* m, AIReal angle);
    /* [any message] Concatenates: *m becomes "first *m, then scale by (sh, sv)". */
    void(SPAPI* AIRealMatrixConcatScale)(AIRealMatrix* m, AIReal sh, AIReal sv);
} AIRealMathSuite;

ZZ_EXTERN_C_END

#endif

// AIRealMathSuite: float angle and matrix arithmetic (host/document/RealMath.h). These calls cannot fail.
#include "AIRealMath.h"
#include "host/suites/SuiteAdapter.h"
#include "host/document/RealMath.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

AIReal degreeToRadian(AIReal degrees) {
    return realmath::degreeToRadian(degrees);
}

AIReal pointAngle(const AIRealPoint* a, const AIRealPoint* b) {
    if (a == nullptr || b == nullptr) return 0.0f;
    return realmath::pointAngle(*a, *b);
}

void setIdentity(AIRealMatrix* m) {
    if (m != nullptr) realmath::setIdentity(*m);
}

void setTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
    if (m != nullptr) realmath::setTranslate(*m, tx, ty);
}

void concatTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
    if (m != nullptr) realmath::concatTranslate(*m, tx, ty);
}

void concatRotate(AIRealMatrix* m, AIReal angle) {
    if (m != nullptr) realmath::concatRotate(*m, angle);
}

void concatScale(AIRealMatrix* m, AIReal sh, AIReal sv) {
    if (m != nullptr) realmath::concatScale(*m, sh, sv);
}

const AIRealMathSuite kSuite = {
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, DegreeToRadian, degreeToRadian),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealPointAngle, pointAngle),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixSetIdentity, setIdentity),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixSetTranslate, setTranslate),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatTranslate, concatTranslate),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatRotate, concatRotate),
    ZZ_OP(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatScale, concatScale),
};

} // namespace

void registerAIRealMathSuite(SuiteRegistry& registry) {
    registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kSuite);
}

} // namespace zz

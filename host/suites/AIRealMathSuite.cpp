// AIRealMathSuite over the host's model.
#include "AIRealMath.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIRealMathSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, DegreeToRadian),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealPointAngle),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixSetIdentity),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixSetTranslate),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatTranslate),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatRotate),
    ZZ_NOT_IMPLEMENTED(AIRealMathSuite, kAIRealMathSuite, AIRealMatrixConcatScale),
};

} // namespace

void registerAIRealMathSuite(SuiteRegistry& registry) { registry.add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kSuite); }

} // namespace zz

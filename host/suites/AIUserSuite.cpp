// AIUserSuite: number <-> length-prefixed text.
#include "AIUser.h"
#include "host/base/NumberText.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr SPAPI numberToText(AIReal value, int16_t decimals, unsigned char* text) {
    if (text == nullptr) return kSPBadParameterError;
    const auto formatted = formatNumber(value, decimals);
    if (!formatted) return kSPBadParameterError;
    toPascal(*formatted, text);
    return kSPNoError;
}

SPErr SPAPI textToNumber(const unsigned char* text, AIReal* value) {
    if (text == nullptr || value == nullptr) return kSPBadParameterError;
    const auto number = parseNumber(fromPascal(text));
    if (!number) return kSPBadParameterError;
    *value = *number;
    return kSPNoError;
}

const AIUserSuite kSuite = {
    ZZ_OP(AIUserSuite, kAIUserSuite, NumberToText, numberToText),
    ZZ_OP(AIUserSuite, kAIUserSuite, TextToNumber, textToNumber),
};

} // namespace

void registerAIUserSuite(SuiteRegistry& registry) {
    registry.add(kAIUserSuite, kAIUserSuiteVersion, &kSuite);
}

} // namespace zz

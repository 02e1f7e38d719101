// AISymbolSuite over the host's document: a symbol handle is the id of its definition's copy of the art.
#include "AISymbol.h"
#include "host/suites/ArtLimits.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr newSymbolPattern(AIPatternHandle* newSymbol, AIArtHandle definitionArt, AIBoolean unlisted) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const Art* definition = document->find(toArtId(definitionArt));
    if (definition == nullptr) return kSPBadHandleError;
    if (newSymbol == nullptr) return kSPBadParameterError;
    if (!chargeCopy(*definition)) return kSPOutOfMemoryError;
    ArtId id = 0;
    const SPErr status = toStatus(document->newSymbol(toArtId(definitionArt), unlisted != 0, &id));
    if (status == kSPNoError) *newSymbol = reinterpret_cast<AIPatternHandle>(static_cast<uintptr_t>(id));
    return status;
}

const AISymbolSuite kSuite = {
    ZZ_OP(AISymbolSuite, kAISymbolSuite, NewSymbolPattern, newSymbolPattern),
};

} // namespace

void registerAISymbolSuite(SuiteRegistry& registry) {
    registry.add(kAISymbolSuite, kAISymbolSuiteVersion, &kSuite);
}

} // namespace zz

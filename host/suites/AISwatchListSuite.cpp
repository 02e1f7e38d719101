// AISwatchListSuite over the host's document: one list, the current document's; a swatch handle is its
// position in that list plus one.
#include "AISwatchList.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

// The document's list, or null for a list this host never handed out.
const std::vector<AIColor>* swatchList(AISwatchListRef list) {
    Document* document = currentDocument();
    if (document == nullptr || list != nullptr) return nullptr;
    return &document->facts().swatches;
}

int32_t countSwatches(AISwatchListRef list) {
    const std::vector<AIColor>* swatches = swatchList(list);
    return swatches != nullptr ? static_cast<int32_t>(swatches->size()) : 0;
}

AISwatchRef getNthSwatch(AISwatchListRef list, int32_t index) {
    const std::vector<AIColor>* swatches = swatchList(list);
    if (swatches == nullptr || index < 0 || static_cast<size_t>(index) >= swatches->size()) return nullptr;
    return reinterpret_cast<AISwatchRef>(static_cast<uintptr_t>(index) + 1);
}

SPErr getSwatchColor(AISwatchRef swatch, AIColor* color) {
    const std::vector<AIColor>* swatches = swatchList(nullptr);
    if (swatches == nullptr) return kNotNowErr;
    const auto position = reinterpret_cast<uintptr_t>(swatch);
    if (position == 0 || position > swatches->size()) return kSPBadHandleError;
    if (color == nullptr) return kSPBadParameterError;
    *color = (*swatches)[position - 1];
    return kSPNoError;
}

const AISwatchListSuite kSuite = {
    ZZ_OP(AISwatchListSuite, kAISwatchListSuite, CountSwatches, countSwatches),
    ZZ_OP(AISwatchListSuite, kAISwatchListSuite, GetNthSwatch, getNthSwatch),
    ZZ_OP(AISwatchListSuite, kAISwatchListSuite, GetSwatchColor, getSwatchColor),
};

} // namespace

void registerAISwatchListSuite(SuiteRegistry& registry) {
    registry.add(kAISwatchListSuite, kAISwatchListSuiteVersion, &kSuite);
}

} // namespace zz

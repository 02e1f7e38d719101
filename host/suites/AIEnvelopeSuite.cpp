// AIEnvelopeSuite over the host's document. A warp is recorded on the envelope; the art itself is kept as
// made.
#include <vector>

#include "AIEnvelope.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr makeEnvelope(AIArtHandle* art, int32_t count, AIArtHandle envelopeObject,
                   const AIEnvelopeOptions* options, AIArtHandle* envelope) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (art == nullptr || count < 1 || envelope == nullptr) return kSPBadParameterError;
    std::vector<ArtId> ids;
    ids.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        ids.push_back(toArtId(art[i]));
    // Without options the host's own defaults: deform the art only, fidelity 50.
    const AIEnvelopeOptions chosen = options != nullptr ? *options : AIEnvelopeOptions{0, 50};
    ArtId id = 0;
    const SPErr status =
        toStatus(document->makeEnvelope(ids.data(), count, toArtId(envelopeObject), chosen, &id));
    if (status == kSPNoError) *envelope = toArtHandle(id);
    return status;
}

SPErr resetWithWarp(AIArtHandle envelope, int32_t warpStyle, AIReal bend, AIReal horizontal, AIReal vertical,
                    AIBoolean rotate) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    return toStatus(
        document->setWarp(toArtId(envelope), Warp{warpStyle, bend, horizontal, vertical, rotate != 0}));
}

const AIEnvelopeSuite kSuite = {
    ZZ_OP(AIEnvelopeSuite, kAIEnvelopeSuite, MakeEnvelope, makeEnvelope),
    ZZ_OP(AIEnvelopeSuite, kAIEnvelopeSuite, ResetWithWarp, resetWithWarp),
};

} // namespace

void registerAIEnvelopeSuite(SuiteRegistry& registry) {
    registry.add(kAIEnvelopeSuite, kAIEnvelopeSuiteVersion, &kSuite);
}

} // namespace zz

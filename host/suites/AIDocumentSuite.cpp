// AIDocumentSuite over the host's document.
#include "AIDocument.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr getDocumentColorModel(int16_t* model) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (model == nullptr) return kSPBadParameterError;
    *model = document->facts().colorModel;
    return kSPNoError;
}

SPErr getDocumentSetup(AIDocumentSetup* setup) {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    if (setup == nullptr) return kSPBadParameterError;
    *setup = AIDocumentSetup{};
    setup->width = document->facts().pageWidth;
    setup->height = document->facts().pageHeight;
    setup->showPlacedImages = 1;
    setup->pageView = 0;
    return kSPNoError;
}

const AIDocumentSuite kSuite = {
    ZZ_OP(AIDocumentSuite, kAIDocumentSuite, GetDocumentColorModel, getDocumentColorModel),
    ZZ_OP(AIDocumentSuite, kAIDocumentSuite, GetDocumentSetup, getDocumentSetup),
};

} // namespace

void registerAIDocumentSuite(SuiteRegistry& registry) {
    registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kSuite);
}

} // namespace zz

// AIDocumentSuite over the host's model.
#include "AIDocument.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIDocumentSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIDocumentSuite, kAIDocumentSuite, GetDocumentColorModel),
    ZZ_NOT_IMPLEMENTED(AIDocumentSuite, kAIDocumentSuite, GetDocumentSetup),
};

} // namespace

void registerAIDocumentSuite(SuiteRegistry& registry) { registry.add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kSuite); }

} // namespace zz

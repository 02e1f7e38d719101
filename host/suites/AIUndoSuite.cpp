// AIUndoSuite over the host's document: the undo context is the current drag (opened at mouse down).
#include "AIUndo.h"
#include "host/suites/ArtLimits.h"
#include "host/suites/SuiteAdapter.h"
#include "host/suites/DocumentAdapters.h"
#include "host/suites/HostSuites.h"

namespace zz {

namespace {

SPErr undoChanges() {
    Document* document = currentDocument();
    if (document == nullptr) return kNotNowErr;
    const SPErr status = toStatus(document->undoChanges());
    if (status == kSPNoError) undoArtContext();
    return status;
}

const AIUndoSuite kSuite = {
    ZZ_OP(AIUndoSuite, kAIUndoSuite, UndoChanges, undoChanges),
};

} // namespace

void registerAIUndoSuite(SuiteRegistry& registry) {
    registry.add(kAIUndoSuite, kAIUndoSuiteVersion, &kSuite);
}

} // namespace zz

// AIUndoSuite over the host's model.
#include "AIUndo.h"
#include "host/core/SuiteAdapter.h"
#include "host/suites/Suites.h"

namespace zz {

namespace {

const AIUndoSuite kSuite = {
    ZZ_NOT_IMPLEMENTED(AIUndoSuite, kAIUndoSuite, UndoChanges),
};

} // namespace

void registerAIUndoSuite(SuiteRegistry& registry) { registry.add(kAIUndoSuite, kAIUndoSuiteVersion, &kSuite); }

} // namespace zz

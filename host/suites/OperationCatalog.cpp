#include "host/suites/OperationCatalog.h"

#include "SPBasic.h"
#include "host/suites/SuiteAdapter.h"

namespace zz {

namespace {

OperationCatalog& mutableCatalog() {
    // Built during static initialisation by the hooks, so it must exist before its first use.
    static OperationCatalog catalog = {{kSPBasicSuite, {{"ReleaseSuite", true}}}};
    return catalog;
}

} // namespace

bool catalogueOperation(std::string_view suite, std::string_view operation, bool implemented) {
    mutableCatalog()[std::string(suite)][std::string(operation)] = implemented;
    return true;
}

const OperationCatalog& operationCatalog() {
    return mutableCatalog();
}

bool isCataloguedOperation(std::string_view suite, std::string_view operation) {
    const auto found = operationCatalog().find(suite);
    return found != operationCatalog().end() && found->second.count(operation) != 0;
}

} // namespace zz

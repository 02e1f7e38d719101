// The names of every operation of every suite table, gathered from the tables' own hooks, so that a fault
// rule or a report can name an operation and be checked against what the host really offers.
#ifndef ZZ_HOST_SUITES_OPERATION_CATALOG_H
#define ZZ_HOST_SUITES_OPERATION_CATALOG_H

#include <map>
#include <string>
#include <string_view>

namespace zz {

// Suite name -> (operation name -> implemented by this host).
using OperationCatalog = std::map<std::string, std::map<std::string, bool, std::less<>>, std::less<>>;

// Every operation that a suite table of this program names.
const OperationCatalog& operationCatalog();

// True when `suite` has an operation called `operation`.
bool isCataloguedOperation(std::string_view suite, std::string_view operation);

} // namespace zz

#endif

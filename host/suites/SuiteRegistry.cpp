#include "host/suites/SuiteRegistry.h"

#include <algorithm>

#include "SPBasic.h"
#include "host/suites/Faults.h"

namespace zz {

void SuiteRegistry::add(std::string name, int32_t version, const void* table) {
    tables_[{std::move(name), version}] = table;
}

SPErr SuiteRegistry::acquire(const char* name, int32_t version, const void** table, FaultInjector& faults) {
    ++acquired_; // every call counts, failed ones too
    if (name == nullptr || table == nullptr) return kSPBadParameterError;
    *table = nullptr;
    if (auto code = faults.strike(name, kAcquireOperation)) return *code;
    auto found = tables_.find({name, version});
    if (found == tables_.end()) return kSPSuiteNotFoundError;
    *table = found->second;
    holds_.emplace_back(name, version);
    return kSPNoError;
}

SPErr SuiteRegistry::release(const char* name, int32_t version, FaultInjector& faults) {
    ++released_; // every call counts, failed ones too
    if (name == nullptr) return kSPBadParameterError;
    if (auto code = faults.strike(kSPBasicSuite, "ReleaseSuite")) return *code;
    auto hold = std::find(holds_.rbegin(), holds_.rend(), std::pair<std::string, int32_t>(name, version));
    if (hold == holds_.rend()) return kSPSuiteNotFoundError;
    holds_.erase(std::next(hold).base());
    return kSPNoError;
}

std::vector<std::string> SuiteRegistry::held() const {
    std::vector<std::string> names;
    for (const auto& hold : holds_)
        names.push_back(hold.first);
    return names;
}

std::vector<std::pair<std::string, int32_t>> SuiteRegistry::offered() const {
    std::vector<std::pair<std::string, int32_t>> list;
    for (const auto& entry : tables_)
        list.push_back(entry.first);
    return list;
}

} // namespace zz

#include "host/suites/Faults.h"

namespace zz {

std::optional<SPErr> FaultInjector::strike(std::string_view suite, std::string_view operation) {
    std::optional<SPErr> result;
    for (FaultRule& rule : rules_) {
        if (rule.suite != suite || rule.operation != operation) continue;
        const int64_t call = rule.seen++;
        const int64_t skip = rule.skip;
        const bool failing = call >= skip && (rule.times == 0 || call < skip + rule.times);
        if (failing && !result) result = rule.code;
    }
    return result;
}

} // namespace zz

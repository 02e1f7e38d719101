#include "host/suites/Faults.h"

#include <algorithm>

namespace zz {

std::optional<SPErr> FaultInjector::strike(std::string_view suite, std::string_view operation) {
    if (recording_) {
        auto counted = std::find_if(calls_.begin(), calls_.end(), [&](const CallCount& count) {
            return count.suite == suite && count.operation == operation;
        });
        if (counted == calls_.end())
            counted = calls_.insert(calls_.end(), CallCount{std::string(suite), std::string(operation), 0});
        ++counted->calls;
    }
    std::optional<SPErr> result;
    for (FaultRule& rule : rules_) {
        if (rule.suite != suite || rule.operation != operation) continue;
        const int64_t call = rule.seen++;
        const int64_t skip = rule.skip;
        const bool failing = call >= skip && (rule.times == 0 || call < skip + rule.times);
        if (failing && !result) result = rule.code;
    }
    if (result) ++struck_;
    return result;
}

} // namespace zz

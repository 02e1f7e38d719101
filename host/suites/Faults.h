// Fault injection at the suite boundary: any operation of any suite, and the acquisition of any suite, can be
// made to fail with a chosen status after a number of calls that pass, once, several times or always.
#ifndef ZZ_HOST_SUITES_FAULTS_H
#define ZZ_HOST_SUITES_FAULTS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZZTypes.h"

namespace zz {

// The operation name that stands for the acquisition of a suite.
inline constexpr std::string_view kAcquireOperation = "acquire";

struct FaultRule {
    std::string suite;     // suite name as the basic suite knows it, e.g. "SP Blocks Suite"
    std::string operation; // operation name as in the suite's header, or kAcquireOperation
    SPErr code = 0;        // the status the failing calls return
    int skip = 0;          // calls that pass before the first failure
    int times = 1;         // failing calls; 0 = every call from then on
    int64_t seen = 0;      // matching calls so far (64 bits: skip + times can pass the 32-bit range)
};

// How often the plug-in called one operation while calls were recorded.
struct CallCount {
    std::string suite;
    std::string operation;
    int64_t calls = 0;
};

class FaultInjector {
  public:
    void add(FaultRule rule) { rules_.push_back(std::move(rule)); }
    void clear() { rules_.clear(); }
    // No rule and no recording: the suites need not consult the injector at all.
    bool empty() const { return rules_.empty() && !recording_; }

    // Records every call from now on (operations in the order of their first call), or stops recording.
    void record(bool on) { recording_ = on; }
    const std::vector<CallCount>& calls() const { return calls_; }
    // How many calls the rules have failed so far.
    int64_t struck() const { return struck_; }

    // Counts one call of `operation` of `suite` and returns the status it must fail with, if a rule says so.
    // The first rule that strikes wins; every matching rule counts the call.
    std::optional<SPErr> strike(std::string_view suite, std::string_view operation);

  private:
    std::vector<FaultRule> rules_;
    std::vector<CallCount> calls_;
    bool recording_ = false;
    int64_t struck_ = 0;
};

} // namespace zz

#endif

// The suites a host offers, by name and version, and the bookkeeping of what the plug-in holds.
#ifndef ZZ_HOST_SUITES_SUITE_REGISTRY_H
#define ZZ_HOST_SUITES_SUITE_REGISTRY_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ZZTypes.h"

namespace zz {

class FaultInjector;

class SuiteRegistry {
  public:
    void add(std::string name, int32_t version, const void* table);

    // The basic suite's AcquireSuite and ReleaseSuite; both count every call, failed ones too. Acquisition
    // consults the fault injector first (operation "acquire" of the suite), release too (operation
    // "ReleaseSuite" of the basic suite); a suite that is not offered in that version gives
    // kSPSuiteNotFoundError.
    SPErr acquire(const char* name, int32_t version, const void** table, FaultInjector& faults);
    SPErr release(const char* name, int32_t version, FaultInjector& faults);

    // Names of the suites held now, in the order they were first acquired, once per outstanding acquisition.
    std::vector<std::string> held() const;
    int acquiredCount() const { return acquired_; }
    int releasedCount() const { return released_; }
    std::vector<std::pair<std::string, int32_t>> offered() const;

  private:
    std::map<std::pair<std::string, int32_t>, const void*> tables_;
    std::vector<std::pair<std::string, int32_t>> holds_; // one entry per outstanding acquisition
    int acquired_ = 0;
    int released_ = 0;
};

} // namespace zz

#endif

// The checks of `zigzag validate`, each named by an id that says everything needed to run it again:
//
//   module/properties, module/resources, module/entry           the module file
//   lifecycle/repeat, lifecycle/reload, lifecycle/out-of-order, lifecycle/unknown-messages
//   scenario/NAME                        a scenario played as it is (start-up, drags, the dialog, shut-down)
//   fault/NAME/SUITE/OPERATION           every call of that operation in scenario NAME failed in turn
//   preset/ENTRY                         a preset chosen in the options dialog, then a drag
//   random/drag/N, random/dialog/N       seeded random drags, seeded random dialog sessions
//   determinism/N                        a seeded random session played twice gives the same report
//
// A check runs in a process of its own (runCheck, through the hidden `--child` option), so that a module that
// crashes fails that check only.
#ifndef ZZ_APPS_VALIDATE_CHECKS_H
#define ZZ_APPS_VALIDATE_CHECKS_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zz {

struct CheckContext {
    std::string module;
    int strictness = 5;
    uint32_t seed = 1;
};

struct CheckResult {
    std::string id;
    bool passed = false;
    std::vector<std::string> failures;
    std::string digest;                              // what the check saw, for comparing runs and targets
    nlohmann::json found = nlohmann::json::object(); // what later checks are planned from
    double seconds = 0.0;
};

// The scenarios every host call is failed in.
const std::vector<std::string>& scenarioNames();

// The checks that need nothing of the module to be planned: its file, its life cycle and the scenarios.
std::vector<std::string> firstChecks(const CheckContext& context);
// The checks planned from the scenarios' results: a fault check per operation each scenario calls (at
// strictness 5 and below, each operation once, in the first scenario that calls it), one per preset, and the
// random and determinism checks.
std::vector<std::string> laterChecks(const CheckContext& context, const std::vector<CheckResult>& first);

// Runs one check in this process. An unknown id is a failed check that says so.
CheckResult runCheck(const CheckContext& context, const std::string& id);

// The longest a module may take to answer one event at this strictness, in milliseconds (0: no limit).
double eventTimeLimitMs(int strictness);

nlohmann::json checkResultToJson(const CheckResult& result);
CheckResult checkResultFromJson(const nlohmann::json& value);

} // namespace zz

#endif

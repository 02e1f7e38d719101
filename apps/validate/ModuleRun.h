// One run of a module in a fresh host for a check: a session script's events played one by one (optionally
// with one host call made to fail), then what the module left behind: blocks, suites, an open undo context,
// art outside the history or empty art, a block written past its ends (every block the module gets has
// guards around it), a tool added twice in one start-up.
#ifndef ZZ_APPS_VALIDATE_MODULE_RUN_H
#define ZZ_APPS_VALIDATE_MODULE_RUN_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/core/ToolSession.h"
#include "host/suites/Faults.h"
#include "apps/script/ScriptDialogs.h"

namespace zz {

struct RunSetup {
    std::optional<FaultRule> fault; // the one host call to fail, if any
    bool recordCalls = false;       // count every host call, per event
    bool report = false;            // keep the session report's text
    DialogDriver* user = nullptr;   // who plays the user in dialogs instead of the script's actions
    bool randomUser = false;        // options or presses chosen at random: empty art is no fault then
    std::function<void(ToolSession&)> started; // told of the session once the module is loaded
    // Told after each event, with the event's index, before the next one is played.
    std::function<void(ToolSession&, std::size_t)> afterEvent;
};

struct RunOutcome {
    bool loaded = false;
    std::vector<std::optional<int64_t>> results;         // per event played
    std::vector<std::vector<CallCount>> callsAfterEvent; // recordCalls: the counts after each event
    std::optional<std::size_t> struckEvent;              // the event during which the fault struck
    std::vector<std::string> problems;                   // what the module left wrong, in words
    std::vector<DialogRecord> dialogs;
    std::vector<std::string> alerts;
    std::vector<std::vector<std::string>>
        shownDuring;    // per event: the dialogs ("dialog NAME") and alerts it showed
    std::string report; // the session report (RunSetup::report)
    double slowestEventMs = 0.0;
    std::string slowestEvent;
};

// Plays `script` (a checked session script; its events run as `zigzag run` plays them) against the module. A
// start-up that fails ends the tool's part: the remaining events up to the last shutdown are not sent. A
// shutdown that fails is sent once more, as a host does before it gives the module up. Then the leaks are
// counted. False with the reason when the script or the module cannot be run at all.
bool runModule(const std::string& modulePath, const nlohmann::json& script, const RunSetup& setup,
               RunOutcome* outcome, std::string* error);

} // namespace zz

#endif

#include "apps/validate/Checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "ADMDialog.h"
#include "host/core/Host.h"
#include "host/core/ToolSession.h"
#include "host/dialogs/DialogModel.h"
#include "host/document/SvgExport.h"
#include "host/resources/ModuleProperties.h"
#include "host/resources/ResourceFormats.h"
#include "apps/script/DialogChoices.h"
#include "apps/script/ToolDialog.h"
#include "apps/validate/InterfaceText.h"
#include "apps/validate/ModuleRun.h"

namespace zz {

namespace {

using nlohmann::json;

// ---- small helpers ----------------------------------------------------------------------------------------

std::vector<std::string> splitId(const std::string& id) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = id.find('/', start);
        parts.push_back(id.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

uint64_t fnv1a(std::string_view text) {
    uint64_t hash = 1469598103934665603ull;
    for (char c : text) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hexDigest(std::string_view text) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(fnv1a(text)));
    return buffer;
}

// A generator of its own for each check: the run's seed and the check's id.
std::mt19937 generatorFor(const CheckContext& context, const std::string& id) {
    std::seed_seq seeds{context.seed, static_cast<uint32_t>(fnv1a(id)),
                        static_cast<uint32_t>(fnv1a(id) >> 32)};
    return std::mt19937(seeds);
}

int uniform(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

json event(const char* name) {
    return json{{"do", name}};
}

json at(const char* name, const char* key, double x, double y) {
    return json{{"do", name}, {key, json::array({x, y})}};
}

// Every scenario runs in an RGB letter page with swatches, so that the dialog's swatch fields have room.
json scriptOf(json events, uint32_t seed = 0) {
    return json{{"seed", seed},
                {"document", json{{"swatches", kDialogDocumentSwatches}}},
                {"events", std::move(events)}};
}

std::string eventName(const json& script, std::size_t index) {
    return "events[" + std::to_string(index) + "] (\"" + script["events"][index]["do"].get<std::string>() +
           "\")";
}

// ---- the scenarios
// ------------------------------------------------------------------------------------------

json scenarioScript(const std::string& name) {
    json events = json::array({event("startup")});
    if (name == "startup") {
        events.push_back(json{{"do", "about"}, {"close", 1}});
    } else if (name == "drag") {
        events.push_back(event("select"));
        events.push_back(at("trackCursor", "at", 90, 90));
        events.push_back(at("mouseDown", "at", 100, 100));
        events.push_back(at("drag", "to", 160, 140));
        events.push_back(at("drag", "to", 220, 180));
        events.push_back(at("mouseUp", "at", 220, 180));
        events.push_back(event("deselect"));
    } else if (name == "drag-keys") {
        // Shift, Alt and Ctrl held, a pen's pressure falling.
        json down = at("mouseDown", "at", 300, 300);
        down["pressure"] = 200;
        events.push_back(down);
        json first = at("drag", "to", 340, 250);
        first["modifiers"] = 0x20;
        first["pressure"] = 120;
        events.push_back(first);
        json second = at("drag", "to", 380, 220);
        second["modifiers"] = 0x40 | 0x200;
        second["pressure"] = 60;
        events.push_back(second);
        events.push_back(at("mouseUp", "at", 380, 220));
    } else if (name == "dialog-ok") {
        events.push_back(json{{"do", "editOptions"}, {"close", kADMDefaultItemID}});
    } else if (name == "dialog-cancel") {
        events.push_back(json{{"do", "editOptions"}, {"close", kADMCancelItemID}});
    }
    events.push_back(event("shutdown"));
    return scriptOf(std::move(events));
}

const std::vector<std::string> kScenarios = {"startup", "drag", "drag-keys", "dialog-ok", "dialog-cancel"};

// What every run of a check must show: no leak, no inconsistency, no dialog that could not be made, and
// answers within the time limit.
void checkOutcome(const CheckContext& context, const RunOutcome& outcome, const std::string& what,
                  std::vector<std::string>* failures) {
    for (const std::string& problem : outcome.problems)
        failures->push_back(what + problem);
    for (const DialogRecord& dialog : outcome.dialogs)
        if (dialog.result == -1)
            failures->push_back(what + "dialog \"" + dialog.name + "\" (resource " +
                                std::to_string(dialog.resource) +
                                ") could not be made from the module's resources");
    const double limit = eventTimeLimitMs(context.strictness);
    if (limit > 0 && outcome.slowestEventMs > limit) {
        char text[160];
        std::snprintf(text, sizeof text, "%s took %.0f ms, more than the %.0f ms an event may take",
                      outcome.slowestEvent.c_str(), outcome.slowestEventMs, limit);
        failures->push_back(what + text);
    }
}

// Every event answered 0; the options may be cancelled by the user.
void checkAllAnswered(const json& script, const RunOutcome& outcome, const std::string& what,
                      std::vector<std::string>* failures) {
    for (std::size_t index = 0; index < outcome.results.size(); ++index)
        if (outcome.results[index] && *outcome.results[index] != kSPNoError &&
            !(*outcome.results[index] == kSPUserCanceledError &&
              script["events"][index]["do"] == "editOptions"))
            failures->push_back(what + eventName(script, index) + " answered " +
                                statusName(static_cast<SPErr>(*outcome.results[index])));
}

bool run(const CheckContext& context, const json& script, const RunSetup& setup, RunOutcome* outcome,
         CheckResult* result) {
    std::string error;
    if (runModule(context.module, script, setup, outcome, &error)) return true;
    result->failures.push_back(error);
    return false;
}

// Runs `script` and judges it as most checks do: every event answered 0, and the outcome sound. False when
// the module could not be run at all (the reason is in `result` then).
bool runAndJudge(const CheckContext& context, const json& script, const RunSetup& setup, RunOutcome* outcome,
                 CheckResult* result) {
    if (!run(context, script, setup, outcome, result)) return false;
    checkAllAnswered(script, *outcome, "", &result->failures);
    checkOutcome(context, *outcome, "", &result->failures);
    return true;
}

// ---- the module file
// ----------------------------------------------------------------------------------------

void checkProperties(const CheckContext& context, CheckResult* result) {
    std::string error;
    const std::optional<ModuleProperties> properties = readModuleProperties(context.module, &error);
    if (!properties) {
        result->failures.push_back(error);
        return;
    }
    if (auto refusal = checkModuleProperties(*properties)) result->failures.push_back(*refusal);
    if (!properties->interfaceVersion)
        result->failures.push_back("the property list has no interface version");
    result->digest = hexDigest(properties->entryPoint + "/" + fourCharText(properties->kind.value_or(0)) +
                               "/" + std::to_string(properties->interfaceVersion.value_or(0)));
}

// Decodes one resource as its type says; a ResourceError says what is wrong with it.
void decodeResource(const ModuleResources& resources, const ResourceEntry& entry) {
    if (!entry.type.isNumber()) {
        if (entry.type.name() == "PIPL" || entry.type.name() == "PiPL") parsePluginPropertyList(entry.data);
        return;
    }
    switch (entry.type.number()) {
    case kDialogResource:
        parseDialogTemplate(entry.data);
        break;
    case kStringResource:
        parseStringBlock(entry.data);
        break;
    case kBitmapResource:
        decodeDib(entry.data, false);
        break;
    case kIconGroupResource:
    case kCursorGroupResource: {
        const bool cursor = entry.type.number() == kCursorGroupResource;
        const std::vector<GroupEntry> images = parseGroup(entry.data, cursor);
        if (images.empty()) throw ResourceError("the group holds no image");
        for (const GroupEntry& image : images)
            if (!resources.find(cursor ? kCursorResource : kIconResource, image.id, entry.language))
                throw ResourceError("the group names image " + std::to_string(image.id) +
                                    ", which the module does not hold");
        if (entry.name.isNumber()) {
            if (cursor)
                loadCursor(resources, entry.name.number(), entry.language);
            else
                loadIcon(resources, entry.name.number(), entry.language);
        }
        break;
    }
    default:
        break;
    }
}

// Each resource decoded as its type says.
void checkResources(const CheckContext& context, CheckResult* result) {
    try {
        const ModuleResources resources = ModuleResources::readModuleFile(context.module);
        std::string listing;
        std::size_t count = 0;
        for (const ResourceEntry& entry : resources.list()) {
            ++count;
            listing += resourceTypeName(entry.type) + " " + entry.name.toString() + " " +
                       std::to_string(entry.data.size()) + "\n";
            try {
                decodeResource(resources, entry);
            } catch (const ResourceError& problem) {
                result->failures.push_back(resourceTypeName(entry.type) + " " + entry.name.toString() + ": " +
                                           problem.what());
            }
        }
        if (count == 0) result->failures.push_back("the module holds no resources");
        if (!resources.find(ResourceId("PIPL"), kPropertyListResource) &&
            !resources.find(ResourceId("PiPL"), kPropertyListResource))
            result->failures.push_back("the module holds no property list (resource " +
                                       std::to_string(kPropertyListResource) + ")");
        result->digest = hexDigest(listing);
    } catch (const ResourceError& problem) {
        result->failures.push_back(problem.what());
    }
}

void checkEntry(const CheckContext& context, CheckResult* result) {
    Host host;
    std::string error;
    if (!host.loadModule(context.module, &error)) {
        result->failures.push_back(error);
        return;
    }
    if (host.module().entryPoint() == nullptr) result->failures.push_back("the module has no entry point");
    host.unloadModule();
}

// ---- the life cycle
// -----------------------------------------------------------------------------------------

json dragEvents(double x, double y) {
    return json::array(
        {at("mouseDown", "at", x, y), at("drag", "to", x + 40, y + 30), at("mouseUp", "at", x + 40, y + 30)});
}

void append(json& events, const json& more) {
    for (const json& item : more)
        events.push_back(item);
}

// The out-of-order check's events: every order of messages the interface allows.
json outOfOrderEvents() {
    // About before start-up and after shut-down, a second start-up, a press released without a move, the
    // cursor and the tool's selection between drags.
    json events = json::array();
    events.push_back(json{{"do", "about"}, {"close", 1}});
    events.push_back(event("startup"));
    events.push_back(event("startup"));
    events.push_back(json{{"do", "about"}, {"close", 1}});
    events.push_back(at("mouseDown", "at", 10, 10));
    events.push_back(at("mouseUp", "at", 10, 10));
    events.push_back(event("deselect"));
    events.push_back(at("trackCursor", "at", 20, 20));
    events.push_back(event("select"));
    events.push_back(event("select"));
    append(events, dragEvents(30, 30));
    events.push_back(event("deselect"));
    events.push_back(event("shutdown"));
    events.push_back(json{{"do", "about"}, {"close", 1}});
    events.push_back(event("startup"));
    append(events, dragEvents(40, 40));
    events.push_back(event("shutdown"));
    return events;
}

// The unknown-messages check's events: callers and selectors the module does not know, among the others.
json unknownMessageEvents() {
    // A caller or selector the module does not know is answered 0, whenever it comes.
    const json unknown =
        json::array({json{{"do", "message"}, {"caller", "AI Tool"}, {"selector", "ZZ Unknown Selector"}},
                     json{{"do", "message"}, {"caller", "ZZ Unknown Caller"}, {"selector", "Startup"}},
                     json{{"do", "message"}, {"caller", "SP Interface"}, {"selector", "ZZ Unknown"}},
                     json{{"do", "message"}, {"caller", "SP Access"}, {"selector", "ZZ Unknown"}},
                     json{{"do", "message"}, {"caller", ""}, {"selector", ""}}});
    json events = json::array();
    append(events, unknown);
    events.push_back(event("startup"));
    append(events, unknown);
    append(events, dragEvents(100, 100));
    append(events, unknown);
    events.push_back(event("shutdown"));
    append(events, unknown);
    return events;
}

// The events of the life-cycle check `which`, or nothing when there is no such check.
std::optional<json> lifecycleEvents(const CheckContext& context, const std::string& which) {
    json events = json::array();
    if (which == "repeat") {
        const int times = 2 + context.strictness;
        for (int i = 0; i < times; ++i) {
            events.push_back(event("startup"));
            if (i % 2 == 1) events.push_back(event("startup")); // started already: nothing changes
            append(events, dragEvents(50.0 + i, 60.0));
            events.push_back(event("shutdown"));
        }
    } else if (which == "reload") {
        events.push_back(event("startup"));
        append(events, dragEvents(100, 100));
        for (int i = 0; i < 1 + context.strictness / 3; ++i) {
            events.push_back(event("unload"));
            events.push_back(event("reload"));
            append(events, dragEvents(150.0 + 10 * i, 100));
        }
        events.push_back(event("shutdown"));
    } else if (which == "out-of-order") {
        events = outOfOrderEvents();
    } else if (which == "unknown-messages") {
        events = unknownMessageEvents();
    } else {
        return std::nullopt;
    }
    return events;
}

void checkLifecycle(const CheckContext& context, const std::string& which, CheckResult* result) {
    const std::optional<json> events = lifecycleEvents(context, which);
    if (!events) {
        result->failures.push_back("no such life-cycle check");
        return;
    }
    const json script = scriptOf(*events);
    RunOutcome outcome;
    RunSetup setup;
    setup.report = true;
    if (!runAndJudge(context, script, setup, &outcome, result)) return;
    result->digest = hexDigest(outcome.report);
}

// The first place where two texts differ, with a little of each from there.
std::string firstDifference(const std::string& a, const std::string& b) {
    const auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
    const std::size_t offset = static_cast<std::size_t>(differs - a.begin());
    const std::size_t from = offset < 20 ? 0 : offset - 20;
    return "at byte " + std::to_string(offset) + ": \"" + a.substr(from, 60) + "\" / \"" +
           b.substr(from, 60) + "\"";
}

// Two fresh start-ups in one load of the module, each after the same seed, draw the same drags on an empty
// page: a module that keeps something from one start-up to the next draws differently the second time.
void checkSameDrawing(const CheckContext& context, CheckResult* result) {
    json events = json::array();
    for (int round = 0; round < 2; ++round) {
        events.push_back(json{{"do", "seed"}, {"seed", context.seed}});
        events.push_back(event("startup"));
        append(events, dragEvents(120, 160));
        append(events, dragEvents(300, 420));
        events.push_back(event("shutdown"));
    }
    const std::size_t firstShutdown = events.size() / 2 - 1, lastEvent = events.size() - 1;
    std::string drawings[2];
    RunSetup setup;
    setup.report = true;
    setup.afterEvent = [&](ToolSession& session, std::size_t index) {
        if (index != firstShutdown && index != lastEvent) return;
        drawings[index == firstShutdown ? 0 : 1] = svgText(session.document());
        if (index == firstShutdown) session.newDocument(session.document().facts());
    };
    RunOutcome outcome;
    if (!runAndJudge(context, scriptOf(events), setup, &outcome, result)) return;
    if (drawings[0] != drawings[1])
        result->failures.push_back("a second fresh start-up drew the same drags differently, " +
                                   firstDifference(drawings[0], drawings[1]));
    result->digest = hexDigest(outcome.report);
}

// A user who, in each opening of the options dialog, first reads back the field typed into in the opening
// before, then types a new value into another shown field and clicks OK; the last opening only reads back and
// cancels. What OK keeps must show when the dialog is opened again.
class KeepingUser : public DialogDriver {
  public:
    KeepingUser(std::mt19937& random, int openings) : random_(random), openings_(openings) {}
    const std::vector<std::string>& failures() const { return failures_; }
    std::string log() const { return log_.str(); }
    void run(DialogModel& model, AdmDialog& dialog) override {
        if (depth_++ == 0) {
            readBack(dialog);
            const bool typed = ++opened_ < openings_ && (showPage(model, dialog), typeInto(model, dialog));
            log_ << "close " << (typed ? "OK" : "Cancel") << "\n";
            endWithItem(model, dialog, typed ? kADMDefaultItemID : kADMCancelItemID);
        } else {
            endWithItem(model, dialog, kADMDefaultItemID);
        }
        --depth_;
    }

  private:
    struct Typed {
        int32_t item = 0;
        double before = 0.0, after = 0.0;
        std::string shown;
    };

    void readBack(const AdmDialog& dialog) {
        if (!pending_) return;
        const Typed typed = *pending_;
        pending_.reset();
        const AdmItem* item = dialog.item(typed.item);
        if (item == nullptr) {
            failures_.push_back("item " + std::to_string(typed.item) +
                                " is gone when the dialog opens again");
            return;
        }
        const double now = item->heldValue();
        if (std::abs(now - typed.after) > 1e-5 * std::max({1.0, std::abs(now), std::abs(typed.after)}))
            failures_.push_back("item " + std::to_string(typed.item) + " was set to " + typed.shown +
                                " and OK clicked, but shows " + shownValue(*item) +
                                " when the dialog opens again: OK did not keep it");
    }

    // What a field shows: its number, or whether a check box is ticked.
    static std::string shownValue(const AdmItem& item) {
        if (item.isCheckBox()) return item.heldValue() != 0.0 ? "ticked" : "cleared";
        return item.shownText();
    }

    // Shows the next page of the tool's options, one page per opening, when the dialog has that button.
    void showPage(DialogModel& model, AdmDialog& dialog) {
        const int32_t button = kFirstPageButton + (opened_ - 1) % kPageCount;
        const AdmItem* item = dialog.item(button);
        if (item == nullptr || !item->visible || !item->enabled || !item->isButton()) return;
        if (!clickItem(model, dialog, button)) log_ << button << " click\n";
    }

    // Types into (or ticks) a shown, enabled field not typed into before; false when there is none left.
    bool typeInto(DialogModel& model, AdmDialog& dialog) {
        std::vector<AdmItem*> fields;
        for (const auto& item : dialog.items)
            if (item->visible && item->enabled && (item->isNumeric() || item->isCheckBox()) &&
                item->id != kADMDefaultItemID && item->id != kADMCancelItemID && !done_.count(item->id))
                fields.push_back(item.get());
        std::shuffle(fields.begin(), fields.end(), random_);
        for (AdmItem* item : fields) {
            done_.insert(item->id);
            const double before = item->heldValue();
            const double value = item->isCheckBox() ? (before != 0.0 ? 0.0 : 1.0) : newValue(*item);
            if (typeValue(model, dialog, item->id, value)) continue; // refused: another field
            if (item->heldValue() == before) continue;               // the dialog kept its value
            pending_ = Typed{item->id, before, item->heldValue(), shownValue(*item)};
            log_ << item->id << " value " << value << " (was " << before << ")\n";
            return true;
        }
        return false;
    }

    // A value within the field's range, not the one it holds, with at most two decimals.
    double newValue(const AdmItem& item) {
        const double now = item.heldValue();
        const double low = item.value.min().value_or(now - 100.0),
                     high = item.value.max().value_or(now + 100.0);
        double value = low + (high - low) * std::uniform_real_distribution<double>(0.0, 1.0)(random_);
        value = std::round(value * 100.0) / 100.0;
        if (item.valueKind == ValueKind::Integer || item.precision == 0) value = std::round(value);
        if (value == now) value = now == high ? low : high;
        return value;
    }

    std::mt19937& random_;
    int openings_;
    int opened_ = 0;
    int depth_ = 0;
    std::optional<Typed> pending_;
    std::set<int32_t> done_;
    std::vector<std::string> failures_;
    std::ostringstream log_;
};

void checkOkKeeps(const CheckContext& context, const std::string& id, CheckResult* result) {
    std::mt19937 random = generatorFor(context, id);
    const int openings = 3 + context.strictness;
    KeepingUser user(random, openings);
    json events = json::array({event("startup")});
    for (int opening = 0; opening < openings; ++opening)
        events.push_back(event("editOptions"));
    append(events, dragEvents(200, 200));
    events.push_back(event("shutdown"));
    RunOutcome outcome;
    RunSetup setup;
    setup.report = true;
    setup.user = &user;
    if (!runAndJudge(context, scriptOf(events), setup, &outcome, result)) return;
    for (const std::string& failure : user.failures())
        result->failures.push_back(failure);
    if (!result->failures.empty()) result->failures.push_back("the user's actions:\n" + user.log());
    result->digest = hexDigest(outcome.report + user.log());
}

// ---- scenarios and their host calls -----------------------------------------------------------------------

void checkScenario(const CheckContext& context, const std::string& name, CheckResult* result) {
    const json script = scenarioScript(name);
    RunOutcome outcome;
    RunSetup setup;
    setup.recordCalls = true;
    setup.report = true;
    if (!runAndJudge(context, script, setup, &outcome, result)) return;
    // Each operation with its number of calls and the events that made them.
    json calls = json::array();
    if (!outcome.callsAfterEvent.empty())
        for (const CallCount& count : outcome.callsAfterEvent.back()) {
            json events = json::array();
            int64_t before = 0;
            for (std::size_t index = 0; index < outcome.callsAfterEvent.size(); ++index) {
                int64_t now = 0;
                for (const CallCount& made : outcome.callsAfterEvent[index])
                    if (made.suite == count.suite && made.operation == count.operation) now = made.calls;
                if (now > before) events.push_back(script["events"][index]["do"]);
                before = now;
            }
            calls.push_back(json::array({count.suite, count.operation, count.calls, events}));
        }
    result->found["calls"] = calls;
    json presets = json::array();
    for (const DialogRecord& dialog : outcome.dialogs)
        if (auto list = dialog.lists.find(kPresetPopup); list != dialog.lists.end() && presets.empty())
            for (const EntryRecord& entry : list->second)
                presets.push_back(entry.id);
    result->found["presets"] = presets;
    result->digest = hexDigest(outcome.report);
}

// Which calls of an operation are failed at this strictness (0-based): the first call it makes in each event,
// the last call from strictness 4, calls spread over all of them from 7, and every call (up to 256) at 10.
// `firsts` are the first calls in each event that calls it.
std::vector<int64_t> failedCalls(const std::vector<int64_t>& firsts, int64_t calls, int strictness) {
    std::set<int64_t> chosen(firsts.begin(), firsts.end());
    if (strictness >= 4) chosen.insert(calls - 1);
    if (strictness >= 7) {
        const int64_t spread = 4 * (strictness - 6);
        for (int64_t i = 1; i < spread; ++i)
            chosen.insert(calls * i / spread);
    }
    if (strictness >= 10)
        for (int64_t i = 0; i < calls && i < 256; ++i)
            chosen.insert(i);
    std::vector<int64_t> list;
    for (int64_t call : chosen)
        if (call >= 0 && call < calls) list.push_back(call);
    return list;
}

// The calls of the operation the clean run made in all; `firsts` gets each calling event's first one.
int64_t callsMade(const RunOutcome& clean, const std::string& suite, const std::string& operation,
                  std::vector<int64_t>* firsts) {
    int64_t calls = 0;
    for (const std::vector<CallCount>& after : clean.callsAfterEvent) {
        int64_t now = 0;
        for (const CallCount& count : after)
            if (count.suite == suite && count.operation == operation) now = count.calls;
        if (now > calls) firsts->push_back(calls);
        calls = now;
    }
    return calls;
}

// The statuses each failed call returns: those the call can fail with, only the first at low strictness.
std::vector<SPErr> failureStatuses(const std::optional<HostCallFacts>& facts, int strictness) {
    std::vector<SPErr> statuses;
    if (facts && facts->returnsStatus && !facts->failures.empty())
        statuses = facts->failures;
    else
        statuses = {kSPHostFailureError}; // a call without a status fails as the host's failure does
    if (strictness <= 2) statuses.resize(1);
    return statuses;
}

// The calls whose failure a module must test and answer: without the suite or the block it asked for it
// cannot go on.
bool mustTestCall(const std::string& operation) {
    return operation == "acquire" || operation == "AllocateBlock";
}

// Checks the answers of a run with a failed call against the clean run: every failure shown, none swallowed.
void checkFaultAnswers(const json& script, const RunOutcome& clean, const RunOutcome& outcome,
                       const std::string& what, SPErr status, const std::string& operation, bool mustAnswer,
                       std::vector<std::string>* failures) {
    // A failure is shown to the user by the module before it is answered (a user's cancel is not); whatever
    // the module shows beyond what the clean run showed is the failure shown.
    for (std::size_t index = 0; index < outcome.results.size(); ++index) {
        const std::optional<int64_t> answer = outcome.results[index];
        if (!answer) continue;
        const bool shown =
            index >= clean.shownDuring.size() || outcome.shownDuring[index] != clean.shownDuring[index];
        // Without the suite it acquires a module may have no way to show anything: it passes the
        // acquisition's status on.
        const bool unshownAllowed = operation == "acquire" && *answer == status;
        // A suite or a block the module asked for and did not get leaves it nothing to go on with: the event
        // must answer that very failure, shown or not.
        if (mustTestCall(operation) && outcome.struckEvent == index && *answer != status)
            failures->push_back(what + eventName(script, index) + " answered " +
                                statusName(static_cast<SPErr>(*answer)) + " where the failed call's " +
                                statusName(status) + " was due: the failure was swallowed");
        if (*answer != kSPNoError && *answer != kSPUserCanceledError && !shown && !unshownAllowed)
            failures->push_back(what + eventName(script, index) + " answered " +
                                statusName(static_cast<SPErr>(*answer)) +
                                " without showing the failure to the user");
        if (mustAnswer && outcome.struckEvent == index && shown && index < clean.results.size() &&
            answer == clean.results[index])
            failures->push_back(what + eventName(script, index) +
                                " showed the failure to the user and answered " +
                                statusName(static_cast<SPErr>(*answer)) +
                                " as if it had succeeded: the failure was swallowed");
    }
}

void checkFaults(const CheckContext& context, const std::string& scenario, const std::string& suite,
                 const std::string& operation, CheckResult* result) {
    if (std::find(kScenarios.begin(), kScenarios.end(), scenario) == kScenarios.end()) {
        result->failures.push_back("no scenario \"" + scenario + "\"");
        return;
    }
    const json script = scenarioScript(scenario);
    RunOutcome clean;
    RunSetup recording;
    recording.recordCalls = true;
    if (!run(context, script, recording, &clean, result)) return;
    std::vector<int64_t> firsts;
    const int64_t calls = callsMade(clean, suite, operation, &firsts);
    if (calls == 0) {
        result->failures.push_back("scenario \"" + scenario + "\" makes no call of " + suite + " / " +
                                   operation);
        return;
    }
    const std::optional<HostCallFacts> facts = hostCallFacts(suite, operation);
    const std::vector<SPErr> statuses = failureStatuses(facts, context.strictness);
    // A status the call returns is the module's to answer; a release the host refuses is the host's.
    const bool mustAnswer = facts && facts->returnsStatus && operation != "ReleaseSuite";
    std::string seen;
    for (const int64_t call : failedCalls(firsts, calls, context.strictness))
        for (const SPErr status : statuses) {
            FaultRule rule;
            rule.suite = suite;
            rule.operation = operation;
            rule.code = status;
            rule.skip = static_cast<int>(call);
            RunSetup setup;
            setup.fault = rule;
            setup.report = true;
            RunOutcome outcome;
            if (!run(context, script, setup, &outcome, result)) return;
            const std::string what = "call " + std::to_string(call + 1) + " of " + std::to_string(calls) +
                                     " failed with " + statusName(status) + ": ";
            checkFaultAnswers(script, clean, outcome, what, status, operation, mustAnswer, &result->failures);
            checkOutcome(context, outcome, what, &result->failures);
            seen += hexDigest(outcome.report);
        }
    result->digest = hexDigest(seen);
}

// ---- presets, random sessions and determinism
// ---------------------------------------------------------------

// The entries of the tool's preset popup, read from a run of the dialog.
std::vector<int32_t> presetEntries(const CheckContext& context) {
    RunOutcome outcome;
    std::vector<int32_t> entries;
    if (!runModule(context.module, scenarioScript("dialog-cancel"), RunSetup{}, &outcome, nullptr))
        return entries;
    for (const DialogRecord& dialog : outcome.dialogs)
        if (auto list = dialog.lists.find(kPresetPopup); list != dialog.lists.end() && entries.empty())
            for (const EntryRecord& entry : list->second)
                entries.push_back(entry.id);
    return entries;
}

json presetScript(int32_t entry) {
    json events = json::array({event("startup"), chooseAndConfirmEvent(kPresetPopup, entry)});
    append(events, json::array({at("mouseDown", "at", 200, 300), at("drag", "to", 260, 340),
                                at("drag", "to", 330, 390), at("mouseUp", "at", 330, 390)}));
    events.push_back(event("shutdown"));
    return scriptOf(std::move(events));
}

void checkPreset(const CheckContext& context, int32_t entry, CheckResult* result) {
    const json script = presetScript(entry);
    RunOutcome outcome;
    RunSetup setup;
    setup.report = true;
    if (!runAndJudge(context, script, setup, &outcome, result)) return;
    for (const DialogRecord& dialog : outcome.dialogs)
        for (const auto& [action, reason] : dialog.refused)
            result->failures.push_back("choosing the preset was refused: " + reason);
    result->digest = hexDigest(outcome.report);
}

// A seeded session of random drags: random places, modifier keys, pressure and pointer, now and then a
// random preset first.
json randomDragScript(const CheckContext& context, const std::string& id,
                      const std::vector<int32_t>& presets) {
    std::mt19937 random = generatorFor(context, id);
    json events = json::array({event("startup")});
    const int drags = 2 + context.strictness / 2;
    static const uint32_t kKeys[] = {0, 0x20, 0x40, 0x200, 0x20 | 0x40, 0x20 | 0x200, 0x40 | 0x200, 0x260};
    static const char* kPointers[] = {"mouse", "pen", "touch"};
    for (int drag = 0; drag < drags; ++drag) {
        if (!presets.empty() && uniform(random, 0, 2) == 0)
            events.push_back(chooseAndConfirmEvent(
                kPresetPopup,
                presets[static_cast<std::size_t>(uniform(random, 0, static_cast<int>(presets.size()) - 1))]));
        double x = uniform(random, -50, 650), y = uniform(random, -50, 850);
        json down = at("mouseDown", "at", x, y);
        down["pointer"] = kPointers[uniform(random, 0, 2)];
        events.push_back(down);
        const int moves = uniform(random, 1, 2 + context.strictness);
        for (int move = 0; move < moves; ++move) {
            x += uniform(random, -120, 120);
            y += uniform(random, -120, 120);
            json step = at("drag", "to", x, y);
            step["modifiers"] = kKeys[uniform(random, 0, 7)];
            step["pressure"] = uniform(random, 0, 255);
            events.push_back(step);
        }
        events.push_back(at("mouseUp", "at", x, y));
        if (uniform(random, 0, 3) == 0) events.push_back(event("undo"));
    }
    events.push_back(event("shutdown"));
    return scriptOf(std::move(events), static_cast<uint32_t>(random()));
}

// A user who does random things to the dialog, only to items that are shown and enabled and only what their
// kind allows, then clicks OK or Cancel. Any dialog inside it ends with its default item.
class RandomUser : public DialogDriver {
  public:
    RandomUser(std::mt19937& random, int steps) : random_(random), steps_(steps) {}
    void setSession(ToolSession* session) { session_ = session; }
    // Nested messages that did not answer 0.
    const std::vector<std::string>& nestedFailures() const { return nestedFailures_; }
    void run(DialogModel& model, AdmDialog& dialog) override {
        if (depth_++ > 0) {
            endWithItem(model, dialog, kADMDefaultItemID);
            --depth_;
            return;
        }
        for (int step = 0; step < steps_ && !dialog.endedWith; ++step) {
            std::vector<AdmItem*> reachable;
            for (const auto& item : dialog.items)
                if (item->visible && item->enabled && item->id != kADMDefaultItemID &&
                    item->id != kADMCancelItemID &&
                    (item->isList() ? !item->list->entries.empty()
                                    : item->isNumeric() || item->isCheckBox() || item->isButton()))
                    reachable.push_back(item.get());
            if (reachable.empty()) break;
            // Now and then a message the interface lets the host nest in an open dialog.
            if (session_ != nullptr && uniform(random_, 0, 4) == 0) {
                static const char* kNested[] = {"about", "trackCursor", "select", "deselect"};
                const char* nested = kNested[uniform(random_, 0, 3)];
                log_ << "nested " << nested << "\n";
                const std::string name = nested;
                const SPErr answer = name == "about"         ? session_->about()
                                     : name == "trackCursor" ? session_->trackCursor(ToolInput{})
                                     : name == "select"      ? session_->select()
                                                             : session_->deselect();
                if (answer != kSPNoError)
                    nestedFailures_.push_back("\"" + name + "\" nested in the dialog answered " +
                                              statusName(answer));
                continue;
            }
            AdmItem& item = *reachable[static_cast<std::size_t>(
                uniform(random_, 0, static_cast<int>(reachable.size()) - 1))];
            if (item.isList()) {
                const auto& entries = item.list->entries;
                const int32_t entry = entries[static_cast<std::size_t>(
                                                  uniform(random_, 0, static_cast<int>(entries.size()) - 1))]
                                          ->id;
                log_ << item.id << " select " << entry << "\n";
                chooseEntry(model, dialog, item.id, entry);
            } else if (item.isNumeric() && !item.isCheckBox()) {
                const double low = item.value.min().value_or(-1000.0),
                             high = item.value.max().value_or(1000.0);
                double value = low + (high - low) * std::uniform_real_distribution<double>(0.0, 1.0)(random_);
                // Now and then a value outside the range, as a user may type.
                if (uniform(random_, 0, 5) == 0) value = uniform(random_, 0, 1) ? high + 10.0 : low - 10.0;
                log_ << item.id << " value " << value << "\n";
                typeValue(model, dialog, item.id, value);
            } else {
                log_ << item.id << " click\n";
                clickItem(model, dialog, item.id);
            }
        }
        if (!dialog.endedWith) {
            const int32_t close = uniform(random_, 0, 1) ? kADMDefaultItemID : kADMCancelItemID;
            log_ << "close " << close << "\n";
            endWithItem(model, dialog, close);
        }
        --depth_;
    }
    std::string log() const { return log_.str(); }

  private:
    std::mt19937& random_;
    int steps_;
    ToolSession* session_ = nullptr;
    std::vector<std::string> nestedFailures_;
    int depth_ = 0;
    std::ostringstream log_;
};

void checkRandomDialog(const CheckContext& context, const std::string& id, CheckResult* result) {
    std::mt19937 random = generatorFor(context, id);
    RandomUser user(random, 4 + 3 * context.strictness);
    json events = json::array({event("startup")});
    for (int session = 0; session < 2; ++session) {
        events.push_back(event("editOptions"));
        append(events, dragEvents(100.0 + 150 * session, 200));
    }
    events.push_back(event("shutdown"));
    const json script = scriptOf(events);
    RunOutcome outcome;
    RunSetup setup;
    setup.report = true;
    setup.user = &user;
    setup.randomUser = true;
    setup.started = [&user](ToolSession& session) { user.setSession(&session); };
    if (!run(context, script, setup, &outcome, result)) return;
    for (const std::string& failure : user.nestedFailures())
        result->failures.push_back(failure);
    checkAllAnswered(script, outcome, "", &result->failures);
    checkOutcome(context, outcome, "", &result->failures);
    if (!result->failures.empty()) result->failures.push_back("the user's actions:\n" + user.log());
    result->digest = hexDigest(outcome.report + user.log());
}

void checkRandomDrag(const CheckContext& context, const std::string& id, CheckResult* result) {
    const json script = randomDragScript(context, id, presetEntries(context));
    RunOutcome outcome;
    RunSetup setup;
    setup.report = true;
    setup.randomUser = true;
    if (!runAndJudge(context, script, setup, &outcome, result)) return;
    if (!result->failures.empty()) result->failures.push_back("the session: " + script.dump());
    result->digest = hexDigest(outcome.report);
}

void checkDeterminism(const CheckContext& context, const std::string& id, CheckResult* result) {
    const json script = randomDragScript(context, id, presetEntries(context));
    RunSetup setup;
    setup.report = true;
    setup.randomUser = true;
    RunOutcome first, second;
    if (!run(context, script, setup, &first, result) || !run(context, script, setup, &second, result)) return;
    if (first.report != second.report) {
        std::istringstream a(first.report), b(second.report);
        std::string lineA, lineB;
        for (int line = 1; std::getline(a, lineA); ++line) {
            std::getline(b, lineB);
            if (lineA != lineB) {
                result->failures.push_back("the same session played twice gives different reports; line " +
                                           std::to_string(line) + ": " + lineA + " / " + lineB);
                break;
            }
        }
        if (result->failures.empty())
            result->failures.push_back("the same session played twice gives reports of different length");
    }
    result->digest = hexDigest(first.report);
}

} // namespace

const std::vector<std::string>& scenarioNames() {
    return kScenarios;
}

double eventTimeLimitMs(int strictness) {
    (void)strictness;
    // Twice what the heaviest real event takes under the sanitizers on a loaded machine, so that a busy
    // machine raises no false alarm while a handler that stalls for seconds is still caught.
    return 2000.0;
}

std::vector<std::string> firstChecks(const CheckContext& context) {
    (void)context;
    std::vector<std::string> ids = {
        "module/properties",          "module/resources",       "module/entry",
        "lifecycle/repeat",           "lifecycle/reload",       "lifecycle/out-of-order",
        "lifecycle/unknown-messages", "lifecycle/same-drawing", "dialog/ok-keeps"};
    for (const std::string& scenario : kScenarios)
        ids.push_back("scenario/" + scenario);
    return ids;
}

std::vector<std::string> laterChecks(const CheckContext& context, const std::vector<CheckResult>& first) {
    std::vector<std::string> ids;
    std::set<std::string> planned;
    std::vector<int32_t> presets;
    for (const CheckResult& result : first) {
        const std::vector<std::string> parts = splitId(result.id);
        if (parts.size() != 2 || parts[0] != "scenario") continue;
        if (result.found.contains("calls"))
            for (const json& call : result.found["calls"]) {
                const std::string suite = call[0].get<std::string>(), operation = call[1].get<std::string>();
                // At strictness 5 and below an operation is failed once for each set of events that call it
                // besides start-up and shut-down, in the first scenario that calls it so.
                std::set<std::string> events;
                for (const json& name : call[3])
                    if (name != "startup" && name != "shutdown") events.insert(name.get<std::string>());
                std::string key = suite + "/" + operation;
                for (const std::string& name : events)
                    key += "/" + name;
                if (context.strictness <= 5 && !planned.insert(key).second) continue;
                ids.push_back("fault/" + parts[1] + "/" + suite + "/" + operation);
            }
        if (presets.empty() && result.found.contains("presets"))
            for (const json& entry : result.found["presets"])
                presets.push_back(entry.get<int32_t>());
    }
    for (int32_t entry : presets)
        ids.push_back("preset/" + std::to_string(entry));
    for (int i = 0; i < 2 * context.strictness; ++i)
        ids.push_back("random/drag/" + std::to_string(i + 1));
    for (int i = 0; i < context.strictness; ++i)
        ids.push_back("random/dialog/" + std::to_string(i + 1));
    for (int i = 0; i < 1 + context.strictness / 3; ++i)
        ids.push_back("determinism/" + std::to_string(i + 1));
    return ids;
}

CheckResult runCheck(const CheckContext& context, const std::string& id) {
    CheckResult result;
    result.id = id;
    const std::vector<std::string> parts = splitId(id);
    const std::string& group = parts[0];
    if (group == "module" && parts.size() == 2 && parts[1] == "properties") {
        checkProperties(context, &result);
    } else if (group == "module" && parts.size() == 2 && parts[1] == "resources") {
        checkResources(context, &result);
    } else if (group == "module" && parts.size() == 2 && parts[1] == "entry") {
        checkEntry(context, &result);
    } else if (group == "lifecycle" && parts.size() == 2 && parts[1] == "same-drawing") {
        checkSameDrawing(context, &result);
    } else if (group == "lifecycle" && parts.size() == 2) {
        checkLifecycle(context, parts[1], &result);
    } else if (group == "dialog" && parts.size() == 2 && parts[1] == "ok-keeps") {
        checkOkKeeps(context, id, &result);
    } else if (group == "scenario" && parts.size() == 2 &&
               std::find(kScenarios.begin(), kScenarios.end(), parts[1]) != kScenarios.end()) {
        checkScenario(context, parts[1], &result);
    } else if (group == "fault" && parts.size() == 4) {
        checkFaults(context, parts[1], parts[2], parts[3], &result);
    } else if (group == "preset" && parts.size() == 2 && !parts[1].empty() &&
               parts[1].find_first_not_of("-0123456789") == std::string::npos) {
        checkPreset(context, std::stoi(parts[1]), &result);
    } else if (group == "random" && parts.size() == 3 && parts[1] == "drag") {
        checkRandomDrag(context, id, &result);
    } else if (group == "random" && parts.size() == 3 && parts[1] == "dialog") {
        checkRandomDialog(context, id, &result);
    } else if (group == "determinism" && parts.size() == 2) {
        checkDeterminism(context, id, &result);
    } else {
        result.failures.push_back("no such check: \"" + id + "\"");
    }
    result.passed = result.failures.empty();
    return result;
}

nlohmann::json checkResultToJson(const CheckResult& result) {
    return json{{"id", result.id},         {"passed", result.passed}, {"failures", result.failures},
                {"digest", result.digest}, {"found", result.found},   {"seconds", result.seconds}};
}

CheckResult checkResultFromJson(const nlohmann::json& value) {
    CheckResult result;
    result.id = value.at("id").get<std::string>();
    result.passed = value.at("passed").get<bool>();
    result.failures = value.at("failures").get<std::vector<std::string>>();
    result.digest = value.value("digest", "");
    result.found = value.value("found", json::object());
    result.seconds = value.value("seconds", 0.0);
    return result;
}

} // namespace zz

#include "apps/validate/ModuleRun.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "host/core/ToolSession.h"
#include "apps/script/Report.h"
#include "apps/script/Session.h"

namespace zz {

namespace {

using nlohmann::json;

// Gives a fresh session the script's document, seed and user.
void prepareSession(ToolSession& session, const json& script, const RunSetup& setup) {
    Host& host = session.host();
    if (setup.user != nullptr) host.setDialogDriver(setup.user);
    const json document = script.value("document", json::object());
    session.newDocument(documentFacts(document));
    host.facts().pressure = document.value("pressure", true);
    if (script.contains("seed")) host.random().seed(static_cast<uint32_t>(script["seed"].get<uint64_t>()));
    Host::clearCursor();
}

// The index of the script's last shutdown event, or the event count when there is none.
std::size_t lastShutdownOf(const json& events) {
    std::size_t lastShutdown = events.size();
    for (std::size_t index = 0; index < events.size(); ++index)
        if (events[index]["do"] == "shutdown") lastShutdown = index;
    return lastShutdown;
}

// Tools added twice with the same name or title in one start-up: `periodStart` is the first tool this
// start-up added. Each clash is named once.
void checkToolsOfStartup(Host& host, std::size_t periodStart, std::vector<std::string>& problems) {
    const auto& tools = host.tools();
    for (std::size_t later = periodStart + 1; later < tools.size(); ++later)
        for (std::size_t earlier = periodStart; earlier < later; ++earlier) {
            const bool sameName = tools[earlier].name == tools[later].name;
            if (!sameName && tools[earlier].title != tools[later].title) continue;
            const std::string problem =
                "the module added the tool " +
                std::string(sameName ? "named \"" + tools[later].name : "titled \"" + tools[later].title) +
                "\" twice in one start-up";
            if (std::find(problems.begin(), problems.end(), problem) == problems.end())
                problems.push_back(problem);
            break;
        }
}

// Plays every event, noting per event its result, time, what it showed and whether the fault struck.
bool playEvents(ToolSession& session, EventPlayer& player, const DialogRecorder& recorder, const json& events,
                std::size_t lastShutdown, const RunSetup& setup, RunOutcome* outcome, std::string* error) {
    Host& host = session.host();
    bool started = true;
    bool shutdownFailed = false;
    std::size_t toolsBefore = host.tools().size(); // the tools of earlier start-ups
    for (std::size_t index = 0; index < events.size(); ++index) {
        const json& event = events[index];
        const std::string name = event["do"].get<std::string>();
        // A module that failed to start gets no tool messages: only its shutdown.
        if (!started && index < lastShutdown) continue;
        if (!started && session.dragging()) session.abandonDrag();
        const int64_t struckBefore = host.faults().struck();
        const std::size_t alertsBefore = host.alerts().size();
        const std::size_t dialogsBefore = recorder.records().size();
        std::optional<int64_t> result;
        SessionError problem;
        const auto begin = std::chrono::steady_clock::now();
        if (!player.play(index, event, &result, &problem)) {
            if (error != nullptr) *error = problem.message;
            return false;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
        if (ms > outcome->slowestEventMs) {
            outcome->slowestEventMs = ms;
            outcome->slowestEvent = "events[" + std::to_string(index) + "] (\"" + name + "\")";
        }
        outcome->results.push_back(result);
        std::vector<std::string> shown;
        for (std::size_t dialog = dialogsBefore; dialog < recorder.records().size(); ++dialog)
            shown.push_back("dialog " + recorder.records()[dialog].name);
        for (std::size_t alert = alertsBefore; alert < host.alerts().size(); ++alert)
            shown.push_back("alert " + host.alerts()[alert]);
        outcome->shownDuring.push_back(std::move(shown));
        if (setup.recordCalls) outcome->callsAfterEvent.push_back(host.faults().calls());
        if (!outcome->struckEvent && host.faults().struck() > struckBefore) outcome->struckEvent = index;
        if (name == "startup" && result && *result != kSPNoError) started = false;
        if (name == "shutdown") shutdownFailed = result && *result != kSPNoError;
        checkToolsOfStartup(host, toolsBefore, outcome->problems);
        if (name == "shutdown" && !shutdownFailed) toolsBefore = host.tools().size();
        if (setup.afterEvent) setup.afterEvent(session, index);
    }
    // A host sends a shutdown that failed once more before it gives the module up.
    if (shutdownFailed) session.shutdown();
    if (session.dragging()) session.abandonDrag();
    return true;
}

// Names the suites and blocks the module still holds after its shutdown.
void checkShutdownLeaks(Host& host, const RunSetup& setup, std::vector<std::string>& problems) {
    // A release the host refused leaves the suite held on the host's side: that one is not the module's.
    const bool releaseFailed =
        setup.fault && setup.fault->operation == "ReleaseSuite" && host.faults().struck() > 0;
    const std::vector<std::string> held = host.suites().held();
    if (!held.empty() &&
        !(releaseFailed && held.size() <= static_cast<std::size_t>(host.faults().struck()))) {
        std::string names;
        for (const std::string& suite : held)
            names += (names.empty() ? "" : ", ") + suite;
        problems.push_back("after shutdown the module still holds " + std::to_string(held.size()) +
                           " suite(s): " + names);
    }
    const std::vector<BlockStore::BlockInfo> blocks = host.blocks().live();
    if (!blocks.empty()) {
        std::string names;
        for (const BlockStore::BlockInfo& block : blocks)
            names += (names.empty() ? "\"" : ", \"") + block.name + "\" (" + std::to_string(block.size) +
                     " bytes)";
        problems.push_back("after shutdown the module still holds " + std::to_string(blocks.size()) +
                           " block(s): " + names);
    }
}

// Names art the module left empty: a path without segments, a group or compound path without members.
void checkEmptyArt(const Art& parent, std::vector<std::string>& problems) {
    for (const Art* art = parent.firstChild(); art != nullptr; art = art->nextSibling()) {
        const int16_t type = art->type();
        if (type == kPathArt && art->data().segments.empty())
            problems.push_back("art " + std::to_string(art->id()) + " is a path without segments");
        else if ((type == kGroupArt || type == kCompoundPathArt) && art->firstChild() == nullptr)
            problems.push_back("art " + std::to_string(art->id()) + " is a " +
                               (type == kGroupArt ? "group" : "compound path") + " without members");
        if (art->isContainer()) checkEmptyArt(*art, problems);
    }
}

// Whether empty art may be what the module was asked for: a press lighter than full pressure may give a
// zigzag of no elements, and so may options chosen at random; a failed call may stop a drawing half made.
bool emptyArtExcused(Host& host, const json& events, const RunSetup& setup) {
    if (setup.randomUser || host.faults().struck() > 0) return true;
    for (const json& event : events)
        if (event.value("pressure", 255) < 255) return true;
    return false;
}

// Notes every block the module wrote past its ends: those found when freed, and the blocks still held.
void checkBlockGuards(Host& host, std::vector<std::string>& problems) {
    host.blocks().checkGuards();
    for (const std::string& damage : host.blocks().guardDamage())
        problems.push_back(damage);
}

// Checks the document's history: no undo context left open, and every change inside an undo step.
void checkHistory(Document& doc, std::vector<std::string>& problems) {
    if (doc.undoContextOpen()) problems.push_back("an undo context is still open");
    // Every change the module made belongs to a step of the history: undoing every step leaves the empty
    // page, and redoing them brings the same art back.
    const std::size_t art = doc.layerArtCount();
    const std::size_t steps = doc.undoSteps();
    for (std::size_t step = 0; step < steps; ++step)
        doc.undo();
    if (doc.layerArtCount() != 0)
        problems.push_back(std::to_string(doc.layerArtCount()) +
                           " art object(s) stay after every step is undone: made outside any undo step");
    for (std::size_t step = 0; step < steps; ++step)
        doc.redo();
    if (doc.layerArtCount() != art)
        problems.push_back("redoing every step gives " + std::to_string(doc.layerArtCount()) +
                           " art object(s) where there were " + std::to_string(art));
}

} // namespace

bool runModule(const std::string& modulePath, const json& script, const RunSetup& setup, RunOutcome* outcome,
               std::string* error) {
    if (auto problem = checkScript(script)) {
        if (error != nullptr) *error = "bad scenario: " + *problem;
        return false;
    }
    *outcome = RunOutcome{};
    ToolSession session;
    Host& host = session.host();
    DialogRecorder recorder;
    host.setDialogObserver(&recorder);
    EventPlayer player(session);
    player.dialogs().setObserver(&recorder);
    prepareSession(session, script, setup);
    host.blocks().setGuarded(true);
    if (!session.load(modulePath, error)) return false;
    outcome->loaded = true;
    if (setup.started) setup.started(session);
    if (setup.fault) host.faults().add(*setup.fault);
    host.faults().record(setup.recordCalls);

    const json events = script.value("events", json::array());
    const std::size_t lastShutdown = lastShutdownOf(events);
    if (!playEvents(session, player, recorder, events, lastShutdown, setup, outcome, error)) return false;

    outcome->dialogs = recorder.records();
    outcome->alerts = host.alerts();
    if (setup.report) {
        std::ostringstream text;
        writeReport(text, ReportSources{session, outcome->results, recorder.records()});
        outcome->report = text.str();
    }
    if (lastShutdown < events.size()) checkShutdownLeaks(host, setup, outcome->problems);
    checkBlockGuards(host, outcome->problems);
    if (!emptyArtExcused(host, events, setup)) checkEmptyArt(session.document().layer(), outcome->problems);
    checkHistory(session.document(), outcome->problems);
    return true;
}

} // namespace zz

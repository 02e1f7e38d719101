// `zigzag validate`: what it reads of the interface, how it runs a module and its child processes, and the
// command driven as a user runs it: the real module passes and its reports say so; modules with a planted
// fault fail with the failing check and a repeat command that fails the same way again.
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "host/suites/BlockStore.h"
#include "host/suites/OperationCatalog.h"
#include "apps/validate/ChildProcess.h"
#include "apps/validate/InterfaceText.h"
#include "apps/validate/ModuleRun.h"

namespace zz::test {
namespace {

using nlohmann::json;

TEST(ValidateInterface, EveryOperationTheHostOffersIsReadFromTheHeadersWithItsStatuses) {
    std::size_t operations = 0;
    // (Other tests enter operations of their own under the basic suite; its real ones are checked below.)
    for (const auto& [suite, table] : operationCatalog())
        for (const auto& [operation, implemented] : table) {
            if (suite == "SP Basic Suite") continue;
            ++operations;
            EXPECT_TRUE(hostCallFacts(suite, operation).has_value()) << suite << " / " << operation;
        }
    EXPECT_GT(operations, 100u);

    const std::optional<HostCallFacts> allocate = hostCallFacts("SP Blocks Suite", "AllocateBlock");
    ASSERT_TRUE(allocate);
    EXPECT_TRUE(allocate->returnsStatus);
    EXPECT_EQ(allocate->failures, (std::vector<SPErr>{kSPOutOfMemoryError, kSPBadParameterError}));
    // A comment that names a status twice lists it once; a call without a status lists none.
    const std::optional<HostCallFacts> segments = hostCallFacts("AI Path Suite", "SetPathSegments");
    ASSERT_TRUE(segments);
    EXPECT_EQ(segments->failures, (std::vector<SPErr>{kSPBadHandleError, kBadArtTypeErr, kSPBadParameterError,
                                                      kTooManySegmentsErr, kSPOutOfMemoryError}));
    const std::optional<HostCallFacts> alert = hostCallFacts("ADM Basic Suite", "MessageAlert");
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->returnsStatus);
    // Acquiring any suite fails as the basic suite's AcquireSuite says.
    const std::optional<HostCallFacts> acquire = hostCallFacts("AI Art Suite", "acquire");
    ASSERT_TRUE(acquire);
    EXPECT_EQ(acquire->failures.front(), kSPSuiteNotFoundError);
    EXPECT_TRUE(hostCallFacts("SP Basic Suite", "ReleaseSuite"));
    EXPECT_FALSE(hostCallFacts("AI Art Suite", "NoSuchOperation"));
    EXPECT_FALSE(hostCallFacts("No Such Suite", "GetArtType"));

    EXPECT_EQ(statusName(kSPBadHandleError), "kSPBadHandleError");
    EXPECT_EQ(statusName(kSPOutOfMemoryError), "kSPOutOfMemoryError");
    EXPECT_EQ(statusName(12345), "12345");
}

json dragScript() {
    return json{{"events", json::array({json{{"do", "startup"}}, json{{"do", "mouseDown"}, {"at", {10, 10}}},
                                        json{{"do", "drag"}, {"to", {80, 60}}}, json{{"do", "mouseUp"}},
                                        json{{"do", "shutdown"}}})}};
}

TEST(ValidateModuleRun, ACleanDragLeavesNothingAndItsCallsAreCountedPerEvent) {
    RunOutcome outcome;
    RunSetup setup;
    setup.recordCalls = true;
    setup.report = true;
    std::string error;
    ASSERT_TRUE(runModule(modulePath(), dragScript(), setup, &outcome, &error)) << error;
    EXPECT_EQ(outcome.results, (std::vector<std::optional<int64_t>>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    ASSERT_EQ(outcome.callsAfterEvent.size(), 5u);
    const auto callsOf = [&](std::size_t event, const std::string& operation) {
        for (const CallCount& count : outcome.callsAfterEvent[event])
            if (count.operation == operation) return count.calls;
        return int64_t{0};
    };
    // The globals block at start-up, its release at shut-down; paths only from the drag on.
    EXPECT_EQ(callsOf(0, "AllocateBlock"), 1);
    EXPECT_EQ(callsOf(4, "FreeBlock"), 1);
    EXPECT_EQ(callsOf(1, "SetPathSegments"), 0);
    EXPECT_GT(callsOf(2, "SetPathSegments"), 0);
    EXPECT_FALSE(outcome.struckEvent);
    EXPECT_NE(outcome.report.find("\"results\""), std::string::npos);

#if !defined(_WIN32)
    // The module that leaks a suite at shut-down is caught by the count of what it holds (the modules with a
    // planted fault are built for Linux only).
    ASSERT_TRUE(runModule(besideExecutable("zz_faulty_leak.aip"), dragScript(), RunSetup{}, &outcome, &error))
        << error;
    ASSERT_EQ(outcome.problems.size(), 1u);
    EXPECT_EQ(outcome.problems[0], "after shutdown the module still holds 1 suite(s): SP Blocks Suite");
#endif
}

TEST(ValidateModuleRun, AFailedCallIsPlacedInItsEventAndAFailedStartUpSkipsToShutDown) {
    // The path's first segments refused in the first drag: the drag fails and shows it, the page keeps no art
    // outside the history.
    RunSetup setup;
    setup.fault = FaultRule{"AI Path Suite", "SetPathSegments", kSPBadHandleError, 0, 1};
    RunOutcome outcome;
    std::string error;
    ASSERT_TRUE(runModule(modulePath(), dragScript(), setup, &outcome, &error)) << error;
    ASSERT_TRUE(outcome.struckEvent);
    EXPECT_EQ(*outcome.struckEvent, 2u);
    EXPECT_EQ(outcome.results[2], std::optional<int64_t>(kSPBadHandleError));
    EXPECT_FALSE(outcome.shownDuring[2].empty());
    EXPECT_TRUE(outcome.shownDuring[1].empty());
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();

    // No globals block: start-up fails, and only the shut-down follows.
    setup.fault = FaultRule{"SP Blocks Suite", "AllocateBlock", kSPOutOfMemoryError, 0, 1};
    ASSERT_TRUE(runModule(modulePath(), dragScript(), setup, &outcome, &error)) << error;
    EXPECT_EQ(outcome.results.size(), 2u);
    EXPECT_EQ(outcome.results[0], std::optional<int64_t>(kSPOutOfMemoryError));
    EXPECT_EQ(outcome.results[1], std::optional<int64_t>(0));
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();

    // A script the runner refuses, and a module it cannot load, are said as such.
    EXPECT_FALSE(runModule(modulePath(), json{{"events", json::array({json{{"do", "fly"}}})}}, RunSetup{},
                           &outcome, &error));
    EXPECT_NE(error.find("bad scenario"), std::string::npos) << error;
    EXPECT_FALSE(
        runModule(besideExecutable("no-such-module.aip"), dragScript(), RunSetup{}, &outcome, &error));
}

TEST(ValidateBlockGuards, AWriteOutsideAGuardedBlockIsNamedWithItsOffsetsOnce) {
    BlockStore store;
    store.setGuarded(true);
    void* before = nullptr;
    void* empty = nullptr;
    void* held = nullptr;
    void* clean = nullptr;
    ASSERT_EQ(store.allocate(8, "before", &before), kSPNoError);
    ASSERT_EQ(store.allocate(0, "empty", &empty), kSPNoError);
    ASSERT_EQ(store.allocate(32, "held", &held), kSPNoError);
    ASSERT_EQ(store.allocate(32, "clean", &clean), kSPNoError);
    static_cast<unsigned char*>(before)[-1] = 0;
    static_cast<unsigned char*>(empty)[0] = 0;
    static_cast<unsigned char*>(held)[32] = 0;
    static_cast<unsigned char*>(held)[35] = 0;
    std::memset(clean, 0, 32); // every byte of its own: no harm
    EXPECT_EQ(store.free(before), kSPNoError);
    EXPECT_EQ(store.free(empty), kSPNoError);
    EXPECT_EQ(store.free(clean), kSPNoError);
    EXPECT_EQ(
        store.guardDamage(),
        (std::vector<std::string>{
            "block \"before\" (8 bytes) was written before its start, at offset -1 (found when the block "
            "was freed)",
            "block \"empty\" (0 bytes) was written past its end, at offset 0 (found when the block was "
            "freed)"}));
    // A block still held is looked at when asked, and its damage noted only the first time.
    EXPECT_EQ(
        store.checkGuards(),
        (std::vector<std::string>{"block \"held\" (32 bytes) was written past its end, at offset 32 to 35 "
                                  "(found while the block was held)"}));
    EXPECT_TRUE(store.checkGuards().empty());
    EXPECT_EQ(store.free(held), kSPNoError);
    EXPECT_EQ(store.guardDamage().size(), 3u);
}

#if !defined(_WIN32)
TEST(ValidateModuleRun, WhatTheModuleLeavesWrongIsNamed) {
    RunOutcome outcome;
    std::string error;
    const auto problemsOf = [&](const char* module, const json& script) {
        EXPECT_TRUE(runModule(besideExecutable(module), script, RunSetup{}, &outcome, &error)) << error;
        return outcome.problems;
    };
    // Four bytes past the globals block, found when shut-down frees it.
    std::vector<std::string> problems = problemsOf("zz_faulty_overrun.aip", dragScript());
    ASSERT_EQ(problems.size(), 1u);
    const std::size_t open = problems[0].find('(');
    const std::string size = problems[0].substr(open + 1, problems[0].find(' ', open) - open - 1);
    EXPECT_EQ(problems[0], "block \"globals\" (" + size + " bytes) was written past its end, at offset " +
                               size + " to " + std::to_string(std::stoi(size) + 3) +
                               " (found when the block was freed)");
    // The tool added twice in one start-up; two start-ups that add it once each are sound.
    json twoStartups = dragScript();
    twoStartups["events"].push_back(json{{"do", "startup"}});
    twoStartups["events"].push_back(json{{"do", "shutdown"}});
    EXPECT_EQ(problemsOf("zz_faulty_tooltwice.aip", dragScript()),
              std::vector<std::string>{
                  "the module added the tool named \" KT7 Zigzag Tool\" twice in one start-up"});
    EXPECT_EQ(problemsOf("KT07_Zigzag.aip", twoStartups), std::vector<std::string>{});
    // A path without segments left by the mouse-up.
    problems = problemsOf("zz_faulty_emptypath.aip", dragScript());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("is a path without segments"), std::string::npos) << problems[0];
}
#endif

#if !defined(_WIN32)

// A shell command's standard output (and errors, with `errors`) and exit status.
std::string commandOutputOf(const std::string& command, int* status, bool errors = false) {
    std::FILE* pipe = popen((command + (errors ? " 2>&1" : "")).c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t read; pipe != nullptr && (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, read);
    const int result = pipe != nullptr ? pclose(pipe) : -1;
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

TEST(ValidateChildProcess, ExitCrashAndHangAreToldApartAndTheOutputKept) {
    ScratchDir dir;
    const std::string log = dir.file("child.log");
    ChildExit exit = runChild("sh", {"-c", "echo said; echo also >&2; exit 3"}, log, 30);
    EXPECT_TRUE(exit.started && exit.exited);
    EXPECT_EQ(exit.status, 3);
    EXPECT_EQ(exit.how, "exited with status 3");
    EXPECT_EQ(readFile(log), "said\nalso\n");

    exit = runChild("sh", {"-c", "kill -SEGV $$"}, log, 30);
    EXPECT_FALSE(exit.exited);
    EXPECT_NE(exit.how.find("crashed (signal 11"), std::string::npos) << exit.how;

    exit = runChild("sleep", {"30"}, log, 0.3);
    EXPECT_TRUE(exit.timedOut);
    EXPECT_FALSE(exit.exited);
    EXPECT_EQ(exit.how, "did not end within 0 s and was stopped");

    exit = runChild(dir.file("no-such-program"), {}, log, 30);
    EXPECT_FALSE(exit.started);
}

TEST(ValidateChildProcess, AQuotedWordReadsBackAsItWasThroughTheShell) {
    for (const std::string word :
         {"plain", "with space", "it's", "fault/drag/SP Blocks Suite/AllocateBlock", ""}) {
        int status = 0;
        const std::string output = commandOutputOf("printf '%s' " + shellQuoted(word), &status);
        EXPECT_EQ(output, word);
    }
    EXPECT_EQ(shellQuoted("random/drag/1"), "random/drag/1");
}

std::string quoted(const std::string& word) {
    return "'" + word + "'";
}

std::map<std::string, std::string> digests(const json& report) {
    std::map<std::string, std::string> byId;
    for (const json& check : report["checks"])
        byId[check["id"].get<std::string>()] = check["digest"].get<std::string>();
    return byId;
}

TEST(ValidateCommand, TheRealModulePassesEveryGroupAndTheSameSeedRepeatsTheRun) {
    ScratchDir dir;
    int status = 0;
    const std::string output =
        zigzagOutput("validate " + quoted(modulePath()) + " --strictness 1 --seed 7 --json " +
                         quoted(dir.file("first.json")) + " --junit " + quoted(dir.file("first.xml")),
                     &status);
    EXPECT_EQ(status, 0) << output;
    const json report = json::parse(readFile(dir.path() / "first.json"));
    EXPECT_TRUE(report["passed"].get<bool>());
    std::set<std::string> groups;
    for (const json& check : report["checks"]) {
        const std::string id = check["id"].get<std::string>();
        groups.insert(id.substr(0, id.find('/')));
        EXPECT_TRUE(check["passed"].get<bool>()) << id << ": " << check["failures"].dump();
    }
    EXPECT_EQ(groups, (std::set<std::string>{"module", "lifecycle", "scenario", "fault", "preset", "random",
                                             "determinism", "dialog"}));
    const std::size_t checks = report["checks"].size();
    EXPECT_GT(checks, 80u);
    EXPECT_NE(
        output.find(std::to_string(checks) + " checks: " + std::to_string(checks) + " passed, 0 failed"),
        std::string::npos)
        << output;
    EXPECT_NE(output.find("Slowest checks:"), std::string::npos);
    const std::string junit = readFile(dir.path() / "first.xml");
    EXPECT_NE(junit.find("<testsuites name=\"zigzag validate\" tests=\"" + std::to_string(checks) +
                         "\" failures=\"0\""),
              std::string::npos);
    EXPECT_NE(junit.find("name=\"fault/drag/AI Path Suite/SetPathSegments\""), std::string::npos);

    // The random checks again, alone, with the same seed and with another one.
    const std::string randomChecks = " --check random/drag/1 --check random/dialog/1 --check determinism/1";
    const auto digestsWithSeed = [&](int seed, const std::string& file) {
        int again = 0;
        const std::string text =
            zigzagOutput("validate " + quoted(modulePath()) + " --strictness 1 --seed " +
                             std::to_string(seed) + randomChecks + " --json " + quoted(file),
                         &again);
        EXPECT_EQ(again, 0) << text;
        return digests(json::parse(readFile(file)));
    };
    const std::map<std::string, std::string> first = digests(report);
    const std::map<std::string, std::string> same = digestsWithSeed(7, dir.file("same.json"));
    const std::map<std::string, std::string> other = digestsWithSeed(8, dir.file("other.json"));
    ASSERT_EQ(same.size(), 3u);
    for (const auto& [id, digest] : same) {
        EXPECT_EQ(digest, first.at(id)) << id;
        EXPECT_NE(digest, other.at(id)) << id;
    }
}

TEST(ValidateCommand, APlantedFaultFailsItsCheckAndTheRepeatCommandFailsItAgain) {
    struct Planted {
        const char* module;
        const char* check; // the failing check's id, or its start
        const char* says;
        const char* only = nullptr; // run only this check
    };
    const Planted planted[] = {
        {"zz_faulty_leak.aip", "scenario/startup",
         "after shutdown the module still holds 1 suite(s): SP Blocks Suite"},
        {"zz_faulty_crash.aip", "fault/drag/SP Blocks Suite/AllocateBlock", "before it gave its result"},
        {"zz_faulty_swallow.aip", "fault/drag/AI Path Suite/SetPathSegments",
         "(\"drag\") showed the failure to the user and answered 0 as if it had succeeded"},
        {"zz_faulty_overrun.aip", "scenario/startup", "block \"globals\" (", "scenario/startup"},
        {"zz_faulty_tooltwice.aip", "scenario/startup",
         "the module added the tool named \" KT7 Zigzag Tool\" twice in one start-up", "scenario/startup"},
        {"zz_faulty_okforgets.aip", "dialog/ok-keeps", "OK did not keep it", "dialog/ok-keeps"},
        {"zz_faulty_allocswallow.aip", "fault/startup/SP Blocks Suite/AllocateBlock",
         "events[0] (\"startup\") answered 0 where the failed call's kSPOutOfMemoryError was due: the "
         "failure "
         "was swallowed",
         "fault/startup/SP Blocks Suite/AllocateBlock"},
        {"zz_faulty_counter.aip", "lifecycle/same-drawing",
         "a second fresh start-up drew the same drags differently, at byte", "lifecycle/same-drawing"},
        {"zz_faulty_slow.aip", "scenario/drag", "events[6] (\"mouseUp\") took 25", "scenario/drag"},
        {"zz_faulty_emptypath.aip", "scenario/drag", "is a path without segments", "scenario/drag"},
    };
    for (const Planted& fault : planted) {
        SCOPED_TRACE(fault.module);
        int status = 0;
        const std::string how = fault.only ? std::string(" --strictness 1 --check ") + quoted(fault.only)
                                           : std::string(" --strictness 1");
        const std::string output =
            zigzagOutput("validate " + quoted(besideExecutable(fault.module)) + how, &status);
        EXPECT_EQ(status, 1) << output;
        const std::size_t failed = output.find(std::string("FAIL ") + fault.check);
        ASSERT_NE(failed, std::string::npos) << output;
        const std::size_t says = output.find(fault.says, failed);
        const std::size_t repeat = output.find("repeat: ", failed);
        ASSERT_NE(says, std::string::npos) << output;
        ASSERT_NE(repeat, std::string::npos) << output;
        EXPECT_LT(says, repeat) << output;
        if (fault.only != nullptr) continue; // the check ran alone already
        const std::string command = output.substr(repeat + 8, output.find('\n', repeat) - repeat - 8);
        int again = 0;
        const std::string repeated = commandOutputOf(command, &again, true);
        EXPECT_EQ(again, 1) << command << "\n" << repeated;
        EXPECT_NE(repeated.find(fault.says), std::string::npos) << command << "\n" << repeated;
        EXPECT_NE(repeated.find("1 checks: 0 passed, 1 failed"), std::string::npos) << repeated;
    }
}

TEST(ValidateCommand, BadArgumentsAreRefusedWithTheirReason) {
    int status = 0;
    std::string output =
        commandOutputOf(quoted(besideExecutable("zigzag")) + " validate --strictness 11", &status, true);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("--strictness"), std::string::npos) << output;
    output =
        commandOutputOf(quoted(besideExecutable("zigzag")) + " validate /no/such/module.aip", &status, true);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("no module file /no/such/module.aip"), std::string::npos) << output;
    output =
        commandOutputOf(quoted(besideExecutable("zigzag")) + " validate --seed 4294967296", &status, true);
    EXPECT_EQ(status, 2) << output;
    output = commandOutputOf(quoted(besideExecutable("zigzag")) + " validate " + quoted(modulePath()) +
                                 " --check no/such/check",
                             &status, true);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("no such check: \"no/such/check\""), std::string::npos) << output;
}

#endif
} // namespace
} // namespace zz::test

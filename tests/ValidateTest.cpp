// `zigzag validate` driven as a user runs it: the real module passes and its reports say so; modules with a
// planted fault fail with the failing check and a repeat command that fails the same way again.
#if !defined(_WIN32)

#include <cstdio>
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace zz::test {
namespace {

using nlohmann::json;

std::string quoted(const std::string& word) {
    return "'" + word + "'";
}

// A shell command's standard output and exit status.
std::string commandOutput(const std::string& command, int* status) {
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t read; pipe != nullptr && (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, read);
    const int result = pipe != nullptr ? pclose(pipe) : -1;
    *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
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
                                             "determinism"}));
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
    };
    const Planted planted[] = {
        {"zz_faulty_leak.aip", "scenario/startup",
         "after shutdown the module still holds 1 suite(s): SP Blocks Suite"},
        {"zz_faulty_crash.aip", "fault/drag/SP Blocks Suite/AllocateBlock", "before it gave its result"},
        {"zz_faulty_swallow.aip", "fault/drag/", "(\"drag\") answered 0: the failure was swallowed"},
    };
    for (const Planted& fault : planted) {
        SCOPED_TRACE(fault.module);
        int status = 0;
        const std::string output =
            zigzagOutput("validate " + quoted(besideExecutable(fault.module)) + " --strictness 1", &status);
        EXPECT_EQ(status, 1) << output;
        const std::size_t failed = output.find(std::string("FAIL ") + fault.check);
        ASSERT_NE(failed, std::string::npos) << output;
        const std::size_t says = output.find(fault.says, failed);
        const std::size_t repeat = output.find("repeat: ", failed);
        ASSERT_NE(says, std::string::npos) << output;
        ASSERT_NE(repeat, std::string::npos) << output;
        EXPECT_LT(says, repeat) << output;
        const std::string command = output.substr(repeat + 8, output.find('\n', repeat) - repeat - 8);
        int again = 0;
        const std::string repeated = commandOutput(command, &again);
        EXPECT_EQ(again, 1) << command << "\n" << repeated;
        EXPECT_NE(repeated.find(fault.says), std::string::npos) << command << "\n" << repeated;
        EXPECT_NE(repeated.find("1 checks: 0 passed, 1 failed"), std::string::npos) << repeated;
    }
}

TEST(ValidateCommand, BadArgumentsAreRefusedWithTheirReason) {
    int status = 0;
    std::string output =
        commandOutput(quoted(besideExecutable("zigzag")) + " validate --strictness 11", &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("--strictness"), std::string::npos) << output;
    output = commandOutput(quoted(besideExecutable("zigzag")) + " validate /no/such/module.aip", &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("no module file /no/such/module.aip"), std::string::npos) << output;
    output = commandOutput(quoted(besideExecutable("zigzag")) + " validate --seed 4294967296", &status);
    EXPECT_EQ(status, 2) << output;
    output = commandOutput(quoted(besideExecutable("zigzag")) + " validate " + quoted(modulePath()) +
                               " --check no/such/check",
                           &status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(output.find("no such check: \"no/such/check\""), std::string::npos) << output;
}

} // namespace
} // namespace zz::test

#endif

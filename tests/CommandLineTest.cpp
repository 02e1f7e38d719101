// What every zigzag command shares on its command line, through the real program: --help, and the naming of
// an unknown option and of a missing value. The README shows each command's help as the command prints it.
#include <gtest/gtest.h>

#include <string>

#include "tests/TestSupport.h"

#if !defined(_WIN32)

namespace zz {
namespace {

struct CommandCase {
    std::string name;
    std::string valued; // an option that takes a value
};

// Every command, serve included: the tests run on the Linux build, which has the workbench.
const CommandCase kCommands[] = {{"run", "--module"},  {"draw", "--to"},  {"presets", "--module"},
                                 {"dialog", "--page"}, {"resources", ""}, {"validate", "--strictness"},
                                 {"serve", "--port"}};

TEST(CommandLine, EveryCommandPrintsItsHelpAsTheReadmeShowsIt) {
    const std::string readme = test::readFile(std::string(ZZ_SOURCE_DIR) + "/README.md");
    ASSERT_FALSE(readme.empty());
    int status = -1;
    const std::string commands = test::zigzagOutput("--help", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(readme.find("```\n" + commands + "```\n"), std::string::npos) << commands;
    for (const CommandCase& command : kCommands) {
        const std::string help = test::zigzagOutput(command.name + " --help", &status);
        EXPECT_EQ(status, 0) << command.name;
        EXPECT_EQ(help.find("\nUsage: zigzag " + command.name + " "), help.find('\n')) << help;
        EXPECT_NE(commands.find("  " + command.name + " "), std::string::npos) << command.name;
        // The README's section shows the help whole, so that the two cannot drift apart.
        EXPECT_NE(readme.find("```\n" + help + "```\n"), std::string::npos) << "README lacks:\n" << help;
        EXPECT_EQ(test::zigzagOutput(command.name + " -h", &status), help);
    }
}

TEST(CommandLine, EveryCommandNamesAnUnknownOptionAndAMissingValueAlike) {
    for (const CommandCase& command : kCommands) {
        const std::string pointer = "Run \"zigzag " + command.name + " --help\" for the options.\n";
        int status = -1;
        EXPECT_EQ(test::zigzagErrors(command.name + " --frobnicate 3", &status),
                  "zigzag " + command.name + ": --frobnicate: unknown option\n" + pointer);
        EXPECT_EQ(status, 2) << command.name;
        if (command.valued.empty()) continue;
        EXPECT_EQ(test::zigzagErrors(command.name + " " + command.valued, &status),
                  "zigzag " + command.name + ": " + command.valued + ": missing value\n" + pointer);
        EXPECT_EQ(status, 2) << command.name;
    }
    int status = -1;
    EXPECT_EQ(test::zigzagErrors("frobnicate", &status).rfind("zigzag: unknown command \"frobnicate\"\n", 0),
              0u);
    EXPECT_EQ(status, 2);
}

} // namespace
} // namespace zz

#endif

// How every zigzag command reads its words: CLI11 (Debian's libcli11-dev) over the same conventions, so that
// the commands answer --help alike and name a mistake alike.
//
//   zigzag draw --help          the command's help on standard output, exit status 0
//   zigzag draw --bogus         "zigzag draw: --bogus: unknown option" on standard error, exit status 2
//   zigzag draw --to            "zigzag draw: --to: missing value", 2
//   zigzag draw -o ''           "zigzag draw: --output: empty value", 2
//   zigzag draw -o x.svg        "zigzag draw: --to: required", 2
//   zigzag draw --to 5 ...      the command's own check of the value: "zigzag draw: --to 5: expected ...", 2
//
// Each mistake is followed by the line `Run "zigzag draw --help" for the options.` An option given twice
// keeps its last value, except where a command records every value in order (GivenOption).
#ifndef ZZ_APPS_COMMANDLINE_COMMAND_LINE_H
#define ZZ_APPS_COMMANDLINE_COMMAND_LINE_H

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A command declares its options with CLI11's own calls, including <CLI/CLI.hpp>.
namespace CLI {
class App;
class Option;
} // namespace CLI

namespace zz {

// Exit statuses every command shares.
enum CommandStatus { kCommandOk = 0, kCommandFailed = 1, kCommandUsage = 2 };

// A bad value of an option, found after the words were read; the message names the option and what it
// expects.
struct OptionError {
    std::string message;
};

// One value of an option recorded in the order given: the option's name as declared and the value.
struct GivenOption {
    std::string option;
    std::string value;
};

class CommandLine {
  public:
    // `command` is the command as typed ("zigzag draw"); `description` opens its help.
    CommandLine(std::string command, std::string description);
    ~CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Where the command declares its options (CLI11's own calls; the help lists them in the order declared).
    CLI::App& app() { return *app_; }
    // Declares option `name` (one value each time it is given) whose every value is appended to `given`, in
    // the order given among all the options that record into `given`.
    CLI::Option* addRecorded(const std::string& name, std::vector<GivenOption>& given,
                             const std::string& description);

    // Reads `args`, the words after the command's name. Nothing when the command is to go on; else the status
    // it ends with: kCommandOk after writing the help on `out`, kCommandUsage after naming the mistake on
    // `err`.
    std::optional<int> read(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    // Names a mistake the command found in a value, as read() names its own; returns kCommandUsage.
    int mistake(const std::string& what, std::ostream& err) const;

  private:
    // The first word no option or positional took, named as a mistake.
    std::optional<std::string> unknownWord() const;

    std::string command_;
    std::unique_ptr<CLI::App> app_;
};

} // namespace zz

#endif

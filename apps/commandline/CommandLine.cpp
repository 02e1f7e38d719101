#include "apps/commandline/CommandLine.h"

#include <CLI/CLI.hpp>

#include "host/base/Utf8.h"

namespace zz {

namespace {

// Where the descriptions start in the help: after the longest option with its value's name.
constexpr std::size_t kHelpColumn = 32;

// A value is a word: an option that takes one never takes the empty text.
const CLI::Validator kNotEmpty([](std::string& value) { return value.empty() ? "empty value" : ""; }, "");

// The option a word names: "--to" of "--to=5,5".
std::string optionOf(const std::string& word) {
    const std::size_t equals = word.rfind("--", 0) == 0 ? word.find('=') : std::string::npos;
    return word.substr(0, equals);
}

} // namespace

CommandLine::CommandLine(std::string command, std::string description)
    : command_(command), app_(std::make_unique<CLI::App>(std::move(description), std::move(command))) {
    app_->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    // Unknown words are left over rather than thrown, so that read() names the first of them.
    app_->allow_extras();
    // A path such as /work/a.json is a word, not an option, on Windows too.
    app_->allow_windows_style_options(false);
    app_->get_formatter()->column_width(kHelpColumn);
}

CommandLine::~CommandLine() = default;

CLI::Option* CommandLine::addRecorded(const std::string& name, std::vector<GivenOption>& given,
                                      const std::string& description) {
    return app_
        ->add_option_function<std::string>(
            name,
            [name, &given](const std::string& value) {
                given.push_back({name, value});
            },
            description)
        ->trigger_on_parse();
}

std::optional<int> CommandLine::read(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err) {
    for (CLI::Option* option : app_->get_options())
        if (option->get_type_size() != 0) option->check(kNotEmpty);
    std::vector<std::string> lastFirst(args.rbegin(), args.rend()); // CLI11 reads the words from the back
    std::optional<std::string> problem;
    try {
        app_->parse(lastFirst);
    } catch (const CLI::CallForHelp&) {
        std::string help = app_->help();
        while (help.size() > 1 && help.ends_with("\n\n"))
            help.pop_back(); // CLI11 ends with a blank line
        out << help;
        return kCommandOk;
    } catch (const CLI::ArgumentMismatch& mismatch) {
        // Every option takes one value: CLI11 says this only when the last word is an option and the words
        // ran out before its value.
        problem = args.empty() ? mismatch.what() : optionOf(args.back()) + ": missing value";
    } catch (const CLI::RequiredError& missing) {
        // An unknown word may be a required option misspelt: it is named first.
        problem = unknownWord();
        for (const CLI::Option* option : app_->get_options())
            if (!problem && option->get_required() && option->count() == 0)
                problem = option->get_name() + ": required";
        if (!problem) problem = missing.what();
    } catch (const CLI::ParseError& other) {
        problem = other.what();
    }
    if (!problem) problem = unknownWord();
    if (problem) return mistake(*problem, err);
    return std::nullopt;
}

std::optional<std::string> CommandLine::unknownWord() const {
    const std::vector<std::string> unread = app_->remaining();
    if (unread.empty()) return std::nullopt;
    const std::string& word = unread.front();
    const bool option = word.size() > 1 && word[0] == '-';
    return option ? safeQuote(optionOf(word)) + ": unknown option"
                  : safeQuote(word) + ": unexpected argument";
}

int CommandLine::mistake(const std::string& what, std::ostream& err) const {
    // A message quotes what was typed: it reaches the terminal bounded and with no control byte.
    err << command_ << ": " << safeQuote(what, 1000) << "\nRun \"" << command_
        << " --help\" for the options.\n";
    return kCommandUsage;
}

} // namespace zz

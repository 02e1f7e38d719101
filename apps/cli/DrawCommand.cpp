#include "apps/cli/DrawCommand.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "host/base/AtomicFile.h"
#include "host/base/Utf8.h"
#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "apps/script/DialogChoices.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"

namespace {

using nlohmann::json;

using zz::OptionError;
using zz::parseInteger;
using zz::parseNumber;
using zz::parsePoint;
using zz::parseRange;

// A settings value as the session's settings patch takes it.
json settingValue(const std::string& text) {
    if (text == "true") return true;
    if (text == "false") return false;
    if (text == "nan" || text == "inf" || text == "-inf") return text;
    if (const auto integer = parseInteger(text); integer && text.find_first_of("xX") == std::string::npos)
        return *integer;
    if (const auto number = parseNumber(text)) return *number;
    return text; // refused by the settings check, which names the field
}

struct DrawOptions {
    json from = json::array({0.0, 0.0});
    std::optional<json> to;
    int64_t events = 10;
    json settings = json::object();
    int64_t modifiers = 0;
    int64_t pressure = 255;
    bool pressureGiven = false;
    int64_t seed = 0;
    json document = json::object();
    std::optional<int64_t> preset;
    std::string output;
};

// The words of the command line as given; an empty one was not given.
struct DrawWords {
    std::string to, from, events, modifiers, pressure, seed, preset, output;
    std::vector<zz::GivenOption> settings; // --set, in the order given
    std::vector<zz::GivenOption> document; // the document options, in the order given
};

void declareOptions(zz::CommandLine& line, DrawWords& words) {
    CLI::App& app = line.app();
    app.add_option("--to", words.to, "where the drag ends")->type_name("X,Y")->required();
    app.add_option("--from", words.from, "where the button goes down (0,0)")->type_name("X,Y");
    app.add_option("--events", words.events,
                   "drag events along the line from --from to --to, 1 to 100000 (10)")
        ->type_name("N");
    line.addRecorded("--set", words.settings,
                     "writes a settings field before the drag; repeatable; integers, numbers,\n"
                     "true/false, nan/inf/-inf")
        ->type_name("FIELD=VALUE");
    app.add_option("--modifiers", words.modifiers, "the modifier word of every drag event (0)")
        ->type_name("M");
    app.add_option("--pressure", words.pressure,
                   "pen pressure 0 to 255 of every event (255); giving it makes SystemHasPressure\n"
                   "answer true")
        ->type_name("P");
    app.add_option("--seed", words.seed, "seed of the host's random sequence, 0 to 4294967295 (0)")
        ->type_name("S");
    zz::addDocumentOptions(line, words.document, true, 0);
    app.add_option("--preset", words.preset,
                   "before the drag, chooses entry N of the options dialog's preset popup and\n"
                   "clicks OK; --set fields are written after it")
        ->type_name("N");
    app.add_option("-o,--output", words.output, "the SVG picture to write")->type_name("OUT.svg")->required();
    app.footer("Integers are decimal or 0x hex; coordinates must stay within the 32-bit float range.");
}

// --set FIELD=VALUE laid over `settings`, checked as the session's settings patch is.
void addSetting(const std::string& text, json& settings) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw OptionError{"--set " + zz::safeQuote(text) + ": expected FIELD=VALUE"};
    json patch = json::object();
    patch[text.substr(0, equals)] = settingValue(text.substr(equals + 1));
    if (const auto problem = zz::checkSettingsPatch(patch))
        throw OptionError{"--set " + zz::safeQuote(text) + ": " + *problem};
    settings.update(patch);
}

DrawOptions drawOptions(const DrawWords& words) {
    DrawOptions options;
    options.to = parsePoint("--to", words.to);
    if (!words.from.empty()) options.from = parsePoint("--from", words.from);
    if (!words.events.empty()) options.events = parseRange("--events", words.events, 1, 100000);
    for (const zz::GivenOption& set : words.settings)
        addSetting(set.value, options.settings);
    if (!words.modifiers.empty())
        options.modifiers = parseRange("--modifiers", words.modifiers, 0, UINT32_MAX);
    if (!words.pressure.empty()) {
        options.pressure = parseRange("--pressure", words.pressure, 0, 255);
        options.pressureGiven = true;
    }
    if (!words.seed.empty()) options.seed = parseRange("--seed", words.seed, 0, UINT32_MAX);
    zz::applyDocumentOptions(words.document, options.document);
    if (!words.preset.empty()) options.preset = parseRange("--preset", words.preset, 0, INT32_MAX);
    options.output = words.output;
    return options;
}

// The session that makes the drag: start-up, settings, press, N drag events on the line, release, export.
json drawScript(const DrawOptions& options) {
    const double fromX = options.from[0].get<double>();
    const double fromY = options.from[1].get<double>();
    const double toX = (*options.to)[0].get<double>();
    const double toY = (*options.to)[1].get<double>();
    json events = json::array();
    events.push_back({{"do", "startup"}});
    // A preset is chosen in the options dialog as a user would, and confirmed with OK; --set then changes
    // single fields on top of it.
    if (options.preset)
        events.push_back(zz::chooseAndConfirmEvent(zz::kPresetPopup, static_cast<int32_t>(*options.preset)));
    if (!options.settings.empty()) events.push_back({{"do", "settings"}, {"set", options.settings}});
    events.push_back({{"do", "mouseDown"}, {"at", options.from}, {"pressure", options.pressure}});
    for (int64_t i = 1; i <= options.events; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(options.events);
        const json point = i == options.events
                               ? *options.to
                               : json::array({fromX + (toX - fromX) * t, fromY + (toY - fromY) * t});
        events.push_back({{"do", "drag"},
                          {"to", point},
                          {"modifiers", options.modifiers},
                          {"pressure", options.pressure}});
    }
    events.push_back({{"do", "mouseUp"}, {"at", *options.to}, {"pressure", options.pressure}});
    events.push_back({{"do", "export"}, {"svg", options.output}});
    events.push_back({{"do", "shutdown"}});
    json document = options.document;
    if (options.pressureGiven) document["pressure"] = true;
    return json{{"seed", options.seed}, {"document", document}, {"events", events}};
}

// Event `index` of the drag's session in the words of the options that asked for it.
std::string eventInUserWords(const json& events, std::size_t index, const DrawOptions& options) {
    if (index >= events.size()) return "the drag";
    const std::string name = events[index]["do"].get<std::string>();
    if (name == "editOptions") return "--preset " + std::to_string(options.preset.value_or(0));
    if (name == "settings") return "--set";
    if (name == "mouseDown") return "the press at --from";
    if (name == "mouseUp") return "the release at --to";
    if (name == "export") return "writing " + zz::safeQuote(options.output);
    if (name == "drag") {
        std::size_t press = 0;
        while (press < index && events[press]["do"] != "mouseDown")
            ++press;
        return "drag step " + std::to_string(index - press) + " of " + std::to_string(options.events) +
               " (--events)";
    }
    return name == "startup" ? "starting the tool" : "closing the tool";
}

// A session's message about "events[N] (\"do\"): what" told of the options instead.
std::string inUserWords(const std::string& message, const json& events, const DrawOptions& options) {
    const std::size_t close = message.find("): ");
    if (message.rfind("events[", 0) != 0 || close == std::string::npos) return message;
    const std::size_t index = std::strtoull(message.c_str() + 7, nullptr, 10);
    return eventInUserWords(events, index, options) + ": " + message.substr(close + 3);
}

} // namespace

int runDrawCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                   std::ostream& err) {
    zz::CommandLine line("zigzag draw",
                         "One drag with the zigzag tool, as a user would make it, written as an "
                         "SVG picture.");
    DrawWords words;
    declareOptions(line, words);
    if (const std::optional<int> status = line.read(args, out, err)) return *status;
    DrawOptions options;
    try {
        options = drawOptions(words);
    } catch (const OptionError& problem) {
        return line.mistake(problem.message, err);
    }
    if (const auto refusal = zz::outputRefusal(options.output, zz::inputFiles(words.document, modulePath)))
        return line.mistake("--output " + *refusal, err);
    const json script = drawScript(options);
    zz::SessionError error;
    // The outcome, not the report: the report would hold every art object a second time.
    const std::optional<zz::SessionOutcome> outcome = zz::playSession(script, modulePath, &error);
    if (!outcome) {
        err << "zigzag draw: " << zz::safeQuote(inUserWords(error.message, script["events"], options), 4000)
            << "\n";
        return 1;
    }
    int status = 0;
    // A preset the dialog did not take: its popup or entry is missing, or the popup cannot be reached.
    if (options.preset)
        for (const std::string& reason : outcome->refusals) {
            err << "zigzag draw: --preset " << *options.preset << ": " << reason << "\n";
            status = 1;
        }
    // Name every event that the plug-in answered with a failure.
    const json& events = script["events"];
    for (size_t i = 0; i < outcome->results.size() && i < events.size(); ++i) {
        if (!outcome->results[i] || *outcome->results[i] == 0) continue;
        err << "zigzag draw: the module failed " << eventInUserWords(events, i, options) << " with status "
            << *outcome->results[i] << "\n";
        status = 1;
    }
    out << "wrote " << zz::safeQuote(options.output) << " (" << outcome->artObjects << " art objects, "
        << outcome->paths << " paths)\n";
    return status;
}

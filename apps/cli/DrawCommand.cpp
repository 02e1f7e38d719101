#include "apps/cli/DrawCommand.h"

#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "apps/script/DialogChoices.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"

namespace {

using nlohmann::json;

const char* const kUsage =
    "usage: zigzag draw --to X,Y [--from X,Y] [--events N] [--set FIELD=VALUE ...] [--modifiers M]\n"
    "                   [--pressure P] [--seed S] [--page W,H] [--color-model gray|rgb|cmyk]\n"
    "                   [--swatches N] [--styles N] [--document JSON|FILE] [--preset N] -o OUT.svg\n"
    "  --document takes the object a session script's \"document\" holds (colorModel, page, swatches,\n"
    "  namedStyles, paint, pressure, iconType), as JSON text starting with '{' or as a file holding it;\n"
    "  its keys and those of --page, --color-model, --swatches and --styles apply in the order given.\n";

using UsageError = zz::OptionError;
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

DrawOptions parseArguments(const std::vector<std::string>& args) {
    DrawOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError{option + ": missing value"};
            return args[++i];
        };
        if (option == "--to") {
            options.to = parsePoint(option, value());
        } else if (option == "--from") {
            options.from = parsePoint(option, value());
        } else if (option == "--events") {
            options.events = parseRange(option, value(), 1, 100000);
        } else if (option == "--set") {
            const std::string& text = value();
            const size_t equals = text.find('=');
            if (equals == std::string::npos || equals == 0)
                throw UsageError{"--set " + text + ": expected FIELD=VALUE"};
            json patch = json::object();
            patch[text.substr(0, equals)] = settingValue(text.substr(equals + 1));
            if (const auto problem = zz::checkSettingsPatch(patch))
                throw UsageError{"--set " + text + ": " + *problem};
            options.settings.update(patch);
        } else if (option == "--modifiers") {
            options.modifiers = parseRange(option, value(), 0, UINT32_MAX);
        } else if (option == "--pressure") {
            options.pressure = parseRange(option, value(), 0, 255);
            options.pressureGiven = true;
        } else if (option == "--seed") {
            options.seed = parseRange(option, value(), 0, UINT32_MAX);
        } else if (zz::isDocumentOption(option)) {
            zz::applyDocumentOption(option, value(), options.document);
        } else if (option == "--preset") {
            options.preset = parseRange(option, value(), 0, INT32_MAX);
        } else if (option == "-o" || option == "--output") {
            options.output = value();
            if (options.output.empty()) throw UsageError{option + ": empty file name"};
        } else {
            throw UsageError{option + ": unknown argument"};
        }
    }
    if (!options.to) throw UsageError{"--to: required"};
    if (options.output.empty()) throw UsageError{"-o: required"};
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

} // namespace

int runDrawCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                   std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    DrawOptions options;
    try {
        options = parseArguments(args);
    } catch (const UsageError& problem) {
        err << "zigzag draw: " << problem.message << "\n" << kUsage;
        return 2;
    }
    const json script = drawScript(options);
    zz::SessionError error;
    // The outcome, not the report: the report would hold every art object a second time.
    const std::optional<zz::SessionOutcome> outcome = zz::playSession(script, modulePath, &error);
    if (!outcome) {
        err << "zigzag draw: " << error.message << "\n";
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
        err << "zigzag draw: the module answered event " << i << " (" << events[i]["do"].get<std::string>()
            << ") with status " << *outcome->results[i] << "\n";
        status = 1;
    }
    out << "wrote " << options.output << " (" << outcome->artObjects << " art objects, " << outcome->paths
        << " paths)\n";
    return status;
}

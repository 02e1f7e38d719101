// The harnesses of what a session script brings: the script itself, the document option, the settings a
// script writes and the options dialog's actions.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>

#include "ADMDialog.h"
#include "apps/cli/CommandOptions.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"
#include "fuzz/FuzzTargets.h"
#include "host/base/Platform.h"
#include "host/document/SvgExport.h"

namespace zz::fuzz {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::string textOf(Bytes input) {
    return std::string(reinterpret_cast<const char*>(input.data()), input.size());
}

std::string modulePath() {
    static const std::string path = besideExecutable("KT07_Zigzag.aip");
    return path;
}

// A file of this process's own for the scripts' exports, so that a fuzzed script writes nowhere else.
const std::filesystem::path& exportPath() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("zz-fuzz-export-" + std::to_string(std::random_device()()) + ".svg");
    return path;
}

// Points every export of a checked script at the harness's own file.
void keepExportsHome(json& script) {
    if (!script.contains("events")) return;
    for (json& event : script["events"])
        if (event["do"] == "export") event["svg"] = exportPath().string();
}

Verdict checkRefusal(const SessionError& error) {
    if (error.kind == SessionError::Kind::None) return "a refused script has no kind of error";
    return checkWording(error.message);
}

// Plays a checked script and checks its report: JSON, with one result per event.
Verdict playAndCheck(json script) {
    keepExportsHome(script);
    std::stringstream out;
    SessionError error;
    const bool played = runSessionTo(out, script, modulePath(), &error);
    std::error_code ignored;
    std::filesystem::remove(exportPath(), ignored);
    if (!played) return checkRefusal(error);
    const ordered_json report = ordered_json::parse(out.str(), nullptr, false);
    if (report.is_discarded()) return "the report is not JSON";
    const std::size_t events = script.contains("events") ? script["events"].size() : 0;
    if (report["results"].size() != events)
        return "the report has " + std::to_string(report["results"].size()) + " results for " +
               std::to_string(events) + " events";
    for (const ordered_json& dialog : report["dialogs"])
        for (const ordered_json& refused : dialog["refused"])
            if (Verdict problem = checkWording(refused.value("reason", std::string())))
                return "a refused dialog action: " + *problem;
    return std::nullopt;
}

float readFloat(const uint8_t* bytes) {
    float value = 0.0f;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

int16_t readInt16(const uint8_t* bytes) {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

// One dialog action from eight bytes: [0] the kind (value, select, click, tick), [1..2] the item, mostly one
// of the dialog's own ids (-8 to 391), [3] how the value is read, [4..7] the value or the entry id.
json dialogAction(const uint8_t* bytes) {
    const int32_t item = (static_cast<uint16_t>(bytes[1] | (bytes[2] << 8)) % 400) - 8;
    json action = {{"item", item}};
    switch (bytes[0] % 4) {
    case 0: {
        // Whole numbers reach the counts and choices; raw floats their fractions and extremes.
        const float raw = readFloat(bytes + 4);
        const bool whole = (bytes[3] & 1) != 0 || !std::isfinite(raw) || std::fabs(raw) > 3.0e38f;
        action["value"] = whole ? static_cast<double>(readInt16(bytes + 4)) : static_cast<double>(raw);
        break;
    }
    case 1:
        action["select"] = readInt16(bytes + 4);
        break;
    case 2:
        action["click"] = true;
        break;
    default:
        action["value"] = (bytes[4] & 1) != 0;
        break;
    }
    return action;
}

} // namespace

namespace {

thread_local std::string_view runningInput;

} // namespace

InputScope::InputScope(Bytes input) {
    runningInput = std::string_view(reinterpret_cast<const char*>(input.data()), input.size());
}

InputScope::~InputScope() {
    runningInput = {};
}

Verdict checkWording(std::string_view message) {
    if (message.empty()) return "a refusal says nothing";
    if (message.find("json.exception") != std::string_view::npos &&
        runningInput.find("json.exception") == std::string_view::npos)
        return "a refusal shows the JSON library's internals: " + std::string(message);
    return std::nullopt;
}

Verdict runScript(Bytes input) {
    const InputScope scope(input);
    SessionError error;
    std::optional<json> script = parseScript(textOf(input), &error);
    if (!script) return checkRefusal(error);
    if (std::optional<std::string> problem = checkScript(*script)) return checkWording(*problem);
    return playAndCheck(std::move(*script));
}

Verdict runDocument(Bytes input) {
    const InputScope scope(input);
    // Always JSON text: the option reads a file when its value does not start with '{'.
    std::string text = textOf(input);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || text[first] != '{') text.insert(0, "{");
    json document = json::object();
    try {
        applyDocumentOptions({{"--document", text}}, document);
    } catch (const OptionError& error) {
        return checkWording(error.message);
    }
    ToolSession session;
    session.newDocument(documentFacts(document));
    std::ostringstream svg;
    std::string why;
    if (!writeSvg(session.document(), svg, &why)) return checkWording(why);
    return std::nullopt;
}

Verdict runSettings(Bytes input) {
    const InputScope scope(input);
    const json patch = json::parse(textOf(input), nullptr, false);
    if (patch.is_discarded()) return std::nullopt;
    if (std::optional<std::string> problem = checkSettingsPatch(patch)) return checkWording(*problem);
    ToolSettings settings;
    std::memset(&settings, 0, sizeof settings);
    applySettingsPatch(settings, patch);
    const ordered_json written = settingsToJson(settings);
    // Every field reads back as the value written, as a 32-bit integer or float.
    for (const auto& [name, value] : patch.items()) {
        if (name == "designTemplate") {
            const ordered_json& slots = written[name];
            for (std::size_t i = 0; i < value.size() && i < slots.size(); ++i)
                if (floatToJson(*floatFromJson(value[i])) != slots[i])
                    return "designTemplate[" + std::to_string(i) + "] reads back as " + slots[i].dump();
            continue;
        }
        const ordered_json expected = value.is_boolean() ? ordered_json(value.get<bool>() ? 1 : 0)
                                      : written[name].is_number_integer()
                                          ? ordered_json(value)
                                          : floatToJson(*floatFromJson(value));
        if (written[name] != expected)
            return name + " written as " + value.dump() + " reads back as " + written[name].dump();
    }
    return std::nullopt;
}

Verdict runDialog(Bytes input) {
    json actions = json::array();
    for (std::size_t at = 0; at + 8 <= input.size(); at += 8)
        actions.push_back(dialogAction(input.data() + at));
    // A length that is no multiple of eight closes the dialog with OK, so that the drag after it draws with
    // what the actions set.
    const int32_t close = input.size() % 8 != 0 ? kADMDefaultItemID : kADMCancelItemID;
    const json script = {{"events",
                          {{{"do", "startup"}},
                           {{"do", "editOptions"}, {"actions", std::move(actions)}, {"close", close}},
                           {{"do", "mouseDown"}, {"at", {100, 100}}},
                           {{"do", "drag"}, {"to", {300, 400}}},
                           {{"do", "mouseUp"}},
                           {{"do", "shutdown"}}}}};
    if (std::optional<std::string> problem = checkScript(script))
        return "the harness made a script the host refuses: " + *problem;
    return playAndCheck(script);
}

std::span<const FuzzTarget> fuzzTargets() {
    static const FuzzTarget targets[] = {
        {"script", runScript},
        {"document", runDocument},
        {"settings", runSettings},
        {"dialog", runDialog},
        {"module", runModule},
        {"formats", runFormats},
#if !defined(_WIN32)
        {"requests", runRequests},
        {"workbench", runWorkbench},
#endif
    };
    return targets;
}

const FuzzTarget* fuzzTarget(std::string_view name) {
    for (const FuzzTarget& target : fuzzTargets())
        if (name == target.name) return &target;
    return nullptr;
}

} // namespace zz::fuzz

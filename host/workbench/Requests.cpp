#include "host/workbench/Requests.h"

#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace zz {

namespace {

using nlohmann::json;

const std::set<std::string> kToolKeys = {"modifiers", "pressure", "pointer"};

// The keys each command may carry besides "do" and "since"; the required ones are checked by hand.
const std::map<std::string, std::set<std::string>>& allowedKeys() {
    static const std::map<std::string, std::set<std::string>> keys = {
        {"state", {}},
        {"mouseDown", {"at", "modifiers", "pressure", "pointer"}},
        {"drag", {"to", "at", "modifiers", "pressure", "pointer"}},
        {"mouseUp", {"at", "modifiers", "pressure", "pointer"}},
        {"abandon", {}},
        {"undo", {}},
        {"redo", {}},
        {"newDocument", {"colorModel", "page", "swatches", "namedStyles", "paint"}},
        {"seed", {"seed"}},
        {"editOptions", {}},
        {"dialog", {"action", "item", "value", "entry"}},
        {"export", {"format"}},
        {"image", {"kind", "id"}},
    };
    return keys;
}

bool isFloat(const json& value) {
    if (!value.is_number()) return false;
    const double number = value.get<double>();
    return std::isfinite(number) && std::fabs(number) <= std::numeric_limits<float>::max();
}

bool isPoint(const json& value) {
    return value.is_array() && value.size() == 2 && isFloat(value[0]) && isFloat(value[1]);
}

bool isInteger(const json& value, int64_t low, int64_t high) {
    if (!value.is_number_integer()) return false;
    if (value.is_number_unsigned()) {
        const uint64_t number = value.get<uint64_t>();
        return (low <= 0 || number >= static_cast<uint64_t>(low)) && number <= static_cast<uint64_t>(high);
    }
    const int64_t number = value.get<int64_t>();
    return number >= low && number <= high;
}

bool isColour(const json& value) {
    if (value.is_null()) return true;
    if (!value.is_string()) return false;
    const std::string text = value.get<std::string>();
    if (text.size() != 7 || text[0] != '#') return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

std::optional<std::string> fieldProblem(const std::string& name, const json& command) {
    const auto problem = [&](const std::string& field, const std::string& expected) {
        return std::optional<std::string>("\"" + name + "\": \"" + field + "\" must be " + expected);
    };
    const auto has = [&](const char* field) { return command.contains(field); };

    if (has("since") && !isInteger(command["since"], 0, std::numeric_limits<int64_t>::max()))
        return problem("since", "a revision (an integer of 0 or more)");
    if (has("modifiers") && !isInteger(command["modifiers"], 0, 0xFFFFFFFFll))
        return problem("modifiers", "an integer from 0 to 4294967295");
    if (has("pressure") && !isInteger(command["pressure"], 0, 255))
        return problem("pressure", "an integer from 0 to 255");
    if (has("pointer") &&
        !(command["pointer"].is_string() &&
          std::set<std::string>{"mouse", "pen", "touch"}.count(command["pointer"].get<std::string>())))
        return problem("pointer", "\"mouse\", \"pen\" or \"touch\"");
    for (const char* field : {"at", "to"})
        if (has(field) && !isPoint(command[field]))
            return problem(field, "[x, y], two finite numbers within the float range");

    if (name == "mouseDown" && !has("at")) return problem("at", "given");
    if (name == "drag" && !has("to") && !has("at")) return problem("to", "given");
    if (name == "seed" && !(has("seed") && isInteger(command["seed"], 0, 0xFFFFFFFFll)))
        return problem("seed", "an integer from 0 to 4294967295");
    if (name == "newDocument") {
        if (has("colorModel") &&
            !(command["colorModel"].is_string() &&
              std::set<std::string>{"gray", "rgb", "cmyk"}.count(command["colorModel"].get<std::string>())))
            return problem("colorModel", "\"gray\", \"rgb\" or \"cmyk\"");
        if (has("page")) {
            const json& page = command["page"];
            if (!isPoint(page) || page[0].get<double>() < 1 || page[1].get<double>() < 1 ||
                page[0].get<double>() > 16384 || page[1].get<double>() > 16384)
                return problem("page", "[width, height] in points, each from 1 to 16384");
        }
        if (has("swatches") && !isInteger(command["swatches"], 0, 1000))
            return problem("swatches", "a count from 0 to 1000");
        if (has("namedStyles") && !isInteger(command["namedStyles"], 0, 1000))
            return problem("namedStyles", "a count from 0 to 1000");
        if (has("paint")) {
            const json& paint = command["paint"];
            if (!paint.is_object()) return problem("paint", "an object");
            for (const auto& [key, value] : paint.items()) {
                if (key == "fill" || key == "stroke") {
                    if (!isColour(value)) return problem("paint." + key, "\"#rrggbb\" or null");
                } else if (key == "strokeWidth") {
                    if (!isFloat(value) || value.get<double>() < 0 || value.get<double>() > 1000)
                        return problem("paint.strokeWidth", "a width from 0 to 1000 points");
                } else {
                    return std::optional<std::string>("\"newDocument\": unknown key \"paint." + key + "\"");
                }
            }
        }
    }
    if (name == "dialog") {
        static const std::set<std::string> actions = {"value", "choose", "click", "end", "state"};
        if (!(has("action") && command["action"].is_string() &&
              actions.count(command["action"].get<std::string>())))
            return problem("action", "\"value\", \"choose\", \"click\", \"end\" or \"state\"");
        const std::string action = command["action"].get<std::string>();
        if (action != "state" && !(has("item") && isInteger(command["item"], INT32_MIN, INT32_MAX)))
            return problem("item", "an item id");
        if (action == "value" && !(has("value") && (command["value"].is_boolean() ||
                                                    (command["value"].is_number() &&
                                                     std::isfinite(command["value"].get<double>())))))
            return problem("value", "a finite number, or true / false for a check box");
        if (action == "choose" && !(has("entry") && isInteger(command["entry"], INT32_MIN, INT32_MAX)))
            return problem("entry", "an entry id");
    }
    if (name == "export" &&
        !(has("format") && command["format"].is_string() &&
          std::set<std::string>{"svg", "png", "pdf"}.count(command["format"].get<std::string>())))
        return problem("format", "\"svg\", \"png\" or \"pdf\"");
    if (name == "image") {
        if (!(has("kind") && command["kind"].is_string() &&
              std::set<std::string>{"icon", "cursor", "bitmap"}.count(command["kind"].get<std::string>())))
            return problem("kind", "\"icon\", \"cursor\" or \"bitmap\"");
        if (command["kind"] == "bitmap" && !(has("id") && isInteger(command["id"], 1, 0xFFFF)))
            return problem("id", "a bitmap number from 1 to 65535");
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> commandProblem(const json& command) {
    if (!command.is_object()) return "the command must be a JSON object";
    if (!command.contains("do") || !command["do"].is_string()) return "the command has no \"do\" naming it";
    const std::string name = command["do"].get<std::string>();
    const auto known = allowedKeys().find(name);
    if (known == allowedKeys().end()) return "unknown command \"" + name + "\"";
    for (const auto& [key, value] : command.items()) {
        (void)value;
        if (key != "do" && key != "since" && !known->second.count(key))
            return "\"" + name + "\": unknown key \"" + key + "\"";
    }
    return fieldProblem(name, command);
}

ParsedRequest parseRequest(std::string_view body, std::size_t limit) {
    ParsedRequest parsed;
    if (body.size() > limit) {
        parsed.error = "the request body is " + std::to_string(body.size()) + " bytes; the limit is " +
                       std::to_string(limit);
        return parsed;
    }
    try {
        parsed.command = json::parse(body.begin(), body.end());
    } catch (const json::parse_error& problem) {
        parsed.error = std::string("the request body is not JSON: ") + problem.what();
        parsed.command = nullptr;
        return parsed;
    }
    if (std::optional<std::string> problem = commandProblem(parsed.command)) {
        parsed.error = *problem;
        parsed.command = nullptr;
    }
    return parsed;
}

} // namespace zz

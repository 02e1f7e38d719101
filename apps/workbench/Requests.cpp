#include "apps/workbench/Requests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "host/base/Utf8.h"
#include "apps/script/JsonChecks.h"

namespace zz {

namespace {

using nlohmann::json;

constexpr double kUint32Max = 4294967295.0;
constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
// Integers a page's JavaScript holds exactly.
constexpr double kSafeMax = 9007199254740991.0;

// The fields of a tool event beyond its point: "at" (a press or a release) or "to" (a drag), as in scripts.
const std::vector<FieldRule> kToolFields = {
    {"modifiers", FieldKind::Integer, 0, kUint32Max},
    {"pressure", FieldKind::Integer, 0, 255},
    {"pointer", FieldKind::Choice, 0, 0, {"mouse", "pen", "touch"}},
};

// A document by its id, as the documents list gives it.
const FieldRule kDocument{"document", FieldKind::Text, 1, 64};

std::vector<FieldRule> toolFieldsAnd(std::vector<FieldRule> more) {
    more.insert(more.end(), kToolFields.begin(), kToolFields.end());
    return more;
}

std::optional<std::string> needs(const json& command, const char* field) {
    if (command.contains(field)) return std::nullopt;
    return "\"" + command["do"].get<std::string>() + "\": \"" + field + "\" must be given";
}

// Long: the table of every command the page may send, one row each.
const std::vector<CommandRule>& rules() {
    static const std::vector<CommandRule> table = {
        {"state", {}, true, Route::Socket},
        {"mouseDown", toolFieldsAnd({{"at", FieldKind::Point}}), false, Route::Socket,
         [](const json& c) { return needs(c, "at"); }},
        {"drag", toolFieldsAnd({{"to", FieldKind::Point}}), false, Route::Socket,
         [](const json& c) { return needs(c, "to"); }},
        {"mouseUp", toolFieldsAnd({{"at", FieldKind::Point}}), false, Route::Socket},
        {"abandon", {}, true, Route::Socket},
        {"undo", {}, false, Route::Socket},
        {"redo", {}, false, Route::Socket},
        {"newDocument",
         {{"colorModel", FieldKind::Choice, 0, 0, {"gray", "rgb", "cmyk"}},
          {"page", FieldKind::Size, 1, 16384},
          {"swatches", FieldKind::Integer, 0, 1000},
          {"namedStyles", FieldKind::Integer, 0, 1000},
          {"paint", FieldKind::Paint, 0, 1000}},
         false,
         Route::Socket},
        {"seed",
         {{"seed", FieldKind::Integer, 0, kUint32Max}},
         false,
         Route::Socket,
         [](const json& c) { return needs(c, "seed"); }},
        {"editOptions", {}, false, Route::Socket},
        {"dialog",
         {{"action", FieldKind::Choice, 0, 0, {"value", "select", "click", "close", "state"}},
          {"item", FieldKind::Integer, kInt32Min, kInt32Max},
          {"value", FieldKind::Value},
          {"entry", FieldKind::Integer, kInt32Min, kInt32Max}},
         true,
         Route::Socket,
         [](const json& c) -> std::optional<std::string> {
             if (auto missing = needs(c, "action")) return missing;
             const std::string action = c["action"].get<std::string>();
             if (action == "state") return std::nullopt;
             if (auto missing = needs(c, "item")) return missing;
             if (action == "value") return needs(c, "value");
             if (action == "select") return needs(c, "entry");
             return std::nullopt;
         }},
        {"documents", {}, true, Route::Socket},
        {"open", {kDocument}, false, Route::Socket, [](const json& c) { return needs(c, "document"); }},
        {"rename",
         {kDocument, {"name", FieldKind::Text, 1, 200}},
         false,
         Route::Socket,
         [](const json& c) { return needs(c, "name"); }},
        {"duplicate", {kDocument}, false, Route::Socket},
        {"delete", {kDocument}, false, Route::Socket, [](const json& c) { return needs(c, "document"); }},
        {"restore", {kDocument}, false, Route::Socket, [](const json& c) { return needs(c, "document"); }},
        {"script", {}, true, Route::Http},
        {"thumbnail", {kDocument}, true, Route::Http, [](const json& c) { return needs(c, "document"); }},
        {"export",
         {{"format", FieldKind::Choice, 0, 0, {"svg", "png", "pdf"}},
          {"area", FieldKind::Choice, 0, 0, {"page", "art"}}},
         true,
         Route::Http,
         [](const json& c) { return needs(c, "format"); }},
        {"image",
         {{"kind", FieldKind::Choice, 0, 0, {"icon", "cursor", "bitmap"}},
          {"id", FieldKind::Integer, 1, 65535}},
         true,
         Route::Http,
         [](const json& c) -> std::optional<std::string> {
             if (auto missing = needs(c, "kind")) return missing;
             if (c["kind"] == "bitmap") return needs(c, "id");
             return std::nullopt;
         }},
    };
    return table;
}

const FieldRule kSince{"since", FieldKind::Integer, 0, kSafeMax};
const FieldRule kId{"id", FieldKind::Integer, 0, kSafeMax};

std::string number(double value) {
    json text = value;
    if (value == std::floor(value) && std::fabs(value) < 1e16) text = static_cast<int64_t>(value);
    return text.dump();
}

std::string wordList(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
        text += "\"" + words[i] + "\"";
    }
    return text;
}

bool isColour(const json& value) {
    if (value.is_null()) return true;
    if (!value.is_string()) return false;
    const std::string& text = value.get_ref<const std::string&>();
    return text.size() == 7 && text[0] == '#' &&
           std::all_of(text.begin() + 1, text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

// What a field of this rule must be, in the words of the error.
std::string expected(const FieldRule& rule) {
    const std::string range = " from " + number(rule.low) + " to " + number(rule.high);
    switch (rule.kind) {
    case FieldKind::Integer:
        return "an integer" + range;
    case FieldKind::Number:
        return "a number" + range;
    case FieldKind::Value:
        return "a finite number, or true / false for a check box";
    case FieldKind::Point:
        return "[x, y], two finite numbers within the float range";
    case FieldKind::Size:
        return "[width, height], each" + range;
    case FieldKind::Choice:
        return wordList(rule.choices);
    case FieldKind::Paint:
        return "{fill, stroke: \"#rrggbb\" or null, strokeWidth: a width" + range + "}";
    case FieldKind::Text:
        return "text of " + number(rule.low) + " to " + number(rule.high) + " bytes of UTF-8";
    }
    return "valid";
}

// Whether `value` fits a rule of any kind but Paint, whose parts are named on their own.
bool fits(const FieldRule& rule, const json& value) {
    switch (rule.kind) {
    case FieldKind::Integer:
        return isInteger(value, static_cast<int64_t>(rule.low), static_cast<int64_t>(rule.high));
    case FieldKind::Number:
        return isNumberIn(value, rule.low, rule.high);
    case FieldKind::Value:
        return value.is_boolean() || isFiniteNumber(value);
    case FieldKind::Point:
        return isPoint(value);
    case FieldKind::Size:
        return isPairIn(value, rule.low, rule.high);
    case FieldKind::Choice:
        return value.is_string() && std::find(rule.choices.begin(), rule.choices.end(),
                                              value.get_ref<const std::string&>()) != rule.choices.end();
    case FieldKind::Text: {
        if (!value.is_string()) return false;
        const std::string& text = value.get_ref<const std::string&>();
        return static_cast<double>(text.size()) >= rule.low &&
               static_cast<double>(text.size()) <= rule.high && validUtf8(text) == text;
    }
    case FieldKind::Paint:
        return value.is_object();
    }
    return false;
}

std::string mustBe(const std::string& command, const std::string& field, const std::string& what) {
    return "\"" + command + "\": \"" + field + "\" must be " + what;
}

// Why a paint object's parts do not fit `rule` ("" when they fit).
std::string paintProblem(const std::string& command, const FieldRule& rule, const json& paint) {
    for (const auto& [key, part] : paint.items()) {
        if (key == "fill" || key == "stroke") {
            if (!isColour(part)) return mustBe(command, "paint." + key, "\"#rrggbb\" or null");
        } else if (key == "strokeWidth") {
            if (!isNumberIn(part, rule.low, rule.high))
                return mustBe(command, "paint.strokeWidth",
                              "a width from 0 to " + number(rule.high) + " points");
        } else {
            return "\"" + command + "\": unknown key \"paint." + key + "\"";
        }
    }
    return "";
}

// Why `value` does not fit `rule` ("" when it fits): the field's name and what it must be.
std::string fieldProblem(const std::string& command, const FieldRule& rule, const json& value) {
    if (!fits(rule, value)) return mustBe(command, rule.name, expected(rule));
    return rule.kind == FieldKind::Paint ? paintProblem(command, rule, value) : "";
}

json kindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Integer:
        return "integer";
    case FieldKind::Number:
        return "number";
    case FieldKind::Value:
        return "value";
    case FieldKind::Point:
        return "point";
    case FieldKind::Size:
        return "size";
    case FieldKind::Choice:
        return "choice";
    case FieldKind::Paint:
        return "paint";
    case FieldKind::Text:
        return "text";
    }
    return "value";
}

} // namespace

std::span<const CommandRule> commandRules() {
    return rules();
}

const CommandRule* commandRule(std::string_view name) {
    for (const CommandRule& rule : rules())
        if (name == rule.name) return &rule;
    return nullptr;
}

json commandTableJson() {
    json table = json::array();
    for (const CommandRule& rule : rules()) {
        json fields = json::array();
        for (const FieldRule& field : rule.fields) {
            json out = {{"name", field.name}, {"kind", kindName(field.kind)}};
            if (field.kind == FieldKind::Choice)
                out["choices"] = field.choices;
            else if (field.low != field.high)
                out["range"] = {field.low, field.high};
            fields.push_back(std::move(out));
        }
        table.push_back({{"do", rule.name},
                         {"fields", std::move(fields)},
                         {"duringDialog", rule.duringDialog},
                         {"route", rule.route == Route::Socket ? "socket" : "http"}});
    }
    return table;
}

std::optional<std::string> commandProblem(const json& command) {
    if (!command.is_object()) return "the command must be a JSON object";
    if (!command.contains("do") || !command["do"].is_string()) return "the command has no \"do\" naming it";
    const std::string name = command["do"].get<std::string>();
    const CommandRule* rule = commandRule(name);
    if (rule == nullptr) return "unknown command \"" + name + "\"";
    for (const auto& [key, value] : command.items()) {
        if (key == "do") continue;
        const FieldRule* field = key == "since" ? &kSince : key == "id" ? &kId : nullptr;
        for (const FieldRule& candidate : rule->fields)
            if (key == candidate.name) field = &candidate;
        if (field == nullptr) return "\"" + name + "\": unknown key \"" + key + "\"";
        if (std::string problem = fieldProblem(name, *field, value); !problem.empty()) return problem;
    }
    if (rule->relations != nullptr) return rule->relations(command);
    return std::nullopt;
}

ParsedRequest parseRequest(std::string_view body, std::size_t limit) {
    ParsedRequest parsed;
    if (body.size() > limit) {
        parsed.error = "the request body is " + std::to_string(body.size()) + " bytes; the limit is " +
                       std::to_string(limit);
        return parsed;
    }
    parsed.command = json::parse(body.begin(), body.end(), nullptr, false);
    if (parsed.command.is_discarded()) {
        parsed.command = nullptr;
        // The parser's own message quotes the bad bytes, which need not be UTF-8: say where instead.
        try {
            const json strict = json::parse(body.begin(), body.end());
            (void)strict;
        } catch (const json::parse_error& problem) {
            parsed.error =
                "the request body is not JSON (UTF-8): the fault is at byte " + std::to_string(problem.byte);
            return parsed;
        } catch (const json::out_of_range&) {
            parsed.error = "the request body holds a number too large to read";
            return parsed;
        } catch (...) {
        }
        parsed.error = "the request body is not JSON (UTF-8)";
        return parsed;
    }
    if (std::optional<std::string> problem = commandProblem(parsed.command)) {
        parsed.error = *problem;
        parsed.command = nullptr;
    }
    return parsed;
}

std::string safeDump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace zz

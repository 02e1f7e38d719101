// Validation of session scripts, before anything runs.
#include <cmath>
#include <limits>
#include <set>
#include <string_view>

#include "host/base/Utf8.h"
#include "host/document/Art.h"
#include "host/suites/OperationCatalog.h"
#include "apps/script/JsonChecks.h"
#include "apps/script/ScriptLimits.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"

namespace zz {

namespace {

using nlohmann::json;

// A word of the script's own (a key, an event's name) as a message quotes it: in quotes, bounded, with its
// control characters escaped.
std::string quotedWord(std::string_view word) {
    return "\"" + safeQuote(word) + "\"";
}

// The keys every event may carry beyond "do".
struct EventShape {
    std::string_view name;
    std::set<std::string_view> required;
    std::set<std::string_view> optional;
    bool sendsMessage;
};

const std::vector<EventShape>& eventShapes() {
    static const std::vector<EventShape> shapes = {
        {"startup", {}, {}, true},
        {"about", {}, {"close"}, true},
        {"shutdown", {}, {}, true},
        {"unload", {}, {}, true},
        {"reload", {}, {}, true},
        {"message", {"caller", "selector"}, {}, true},
        {"mouseDown", {"at"}, {"modifiers", "pressure", "pointer"}, true},
        {"drag", {"to"}, {"modifiers", "pressure", "pointer"}, true},
        {"mouseUp", {}, {"at", "modifiers", "pressure", "pointer"}, true},
        {"trackCursor", {}, {"at", "modifiers"}, true},
        {"editOptions", {}, {"close", "actions"}, true},
        {"select", {}, {}, true},
        {"deselect", {}, {}, true},
        {"settings", {"set"}, {}, false},
        {"fault", {"suite", "op", "code"}, {"skip", "times"}, false},
        {"undo", {}, {}, false},
        {"redo", {}, {}, false},
        {"abandon", {}, {}, false},
        {"seed", {"seed"}, {}, false},
        {"export", {"svg"}, {}, false},
    };
    return shapes;
}

const EventShape* findShape(std::string_view name) {
    for (const EventShape& shape : eventShapes())
        if (shape.name == name) return &shape;
    return nullptr;
}

std::string eventNames() {
    std::string names;
    for (const EventShape& shape : eventShapes())
        names += (names.empty() ? "" : ", ") + std::string(shape.name);
    return names;
}

// A colour {"kind": K, "values": [...]}; `place` names it in the message ("document.paint.fill").
std::optional<std::string> checkColour(const json& colour, const std::string& place) {
    if (!colour.is_object()) return place + ": must be a colour {\"kind\": K, \"values\": [...]}";
    for (const auto& [key, value] : colour.items())
        if (key != "kind" && key != "values")
            return place + ": unknown key " + quotedWord(key) + " (known: kind, values)";
    if (!colour.contains("kind")) return place + ".kind: is missing";
    if (!isInteger(colour["kind"], kGrayColor, kNoneColor))
        return place +
               ".kind: must be a colour kind 0 to 6 (0 gray, 1 four-colour, 2 pattern, 3 spot, 4 gradient, "
               "5 three-colour, 6 none)";
    const int64_t kind = colour["kind"].get<int64_t>();
    const std::size_t count = colourValueCount(kind);
    const std::string counted = "kind " + std::to_string(kind) + " takes " + std::to_string(count) +
                                (count == 1 ? " value" : " values");
    if (!colour.contains("values")) {
        if (count > 0) return place + ".values: is missing (" + counted + ")";
        return std::nullopt;
    }
    const json& values = colour["values"];
    if (!values.is_array()) return place + ".values: must be a list of numbers";
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!isFiniteNumber(values[i]))
            return place + ".values[" + std::to_string(i) + "]: must be a finite number";
    if (values.size() != count)
        return place + ".values: " + counted + ", not " + std::to_string(values.size());
    return std::nullopt;
}

// A paint {"fill": COLOUR or null, "stroke": COLOUR or null, "strokeWidth": W}, and for a named style also
// "opacity": O. Every key may be left out.
std::optional<std::string> checkPaint(const json& paint, const std::string& place, bool withOpacity) {
    const char* const known =
        withOpacity ? "fill, stroke, strokeWidth, opacity" : "fill, stroke, strokeWidth";
    if (!paint.is_object()) return place + ": must be an object {" + known + "}";
    for (const auto& [key, value] : paint.items()) {
        const std::string where = place + "." + key;
        if (key == "fill" || key == "stroke") {
            if (value.is_null()) continue; // not painted
            if (auto problem = checkColour(value, where)) return problem;
        } else if (key == "strokeWidth") {
            if (!isFiniteNumber(value) || value.get<double>() < 0.0)
                return where + ": must be a number 0 or more";
        } else if (key == "opacity" && withOpacity) {
            if (!isFiniteNumber(value) || value.get<double>() < 0.0 || value.get<double>() > 1.0)
                return where + ": must be a number from 0 to 1";
        } else {
            return place + ": unknown key " + quotedWord(key) + " (known: " + known + ")";
        }
    }
    return std::nullopt;
}

std::optional<std::string> checkDocument(const json& document) {
    if (!document.is_object()) return "document: must be an object";
    for (const auto& [key, value] : document.items()) {
        const std::string place = "document." + key;
        const std::string where = place + ": ";
        if (key == "colorModel") {
            if (!value.is_string() || (value != "gray" && value != "rgb" && value != "cmyk"))
                return where + "must be \"gray\", \"rgb\" or \"cmyk\"";
        } else if (key == "page") {
            // Positive as 32-bit floats too: 1e-300 would become a page of width 0.
            if (!isPoint(value) || static_cast<float>(value[0].get<double>()) <= 0.0f ||
                static_cast<float>(value[1].get<double>()) <= 0.0f)
                return where + "must be [width, height], two positive numbers";
        } else if (key == "swatches") {
            if (value.is_array()) {
                // null: a swatch that is no ordinary colour, as the list's "none" and "registration".
                for (std::size_t i = 0; i < value.size(); ++i)
                    if (!value[i].is_null())
                        if (auto problem = checkColour(value[i], place + "[" + std::to_string(i) + "]"))
                            return problem;
            } else if (!isInteger(value, 0, 100000)) {
                return where + "must be a count (0 to 100000) or a list of colours";
            }
        } else if (key == "namedStyles") {
            if (value.is_array()) {
                for (std::size_t i = 0; i < value.size(); ++i)
                    if (auto problem = checkPaint(value[i], place + "[" + std::to_string(i) + "]", true))
                        return problem;
            } else if (!isInteger(value, 0, 100000)) {
                return where + "must be a count (0 to 100000) or a list of styles";
            }
        } else if (key == "paint") {
            if (auto problem = checkPaint(value, place, false)) return problem;
        } else if (key == "pressure") {
            if (!value.is_boolean()) return where + "must be true or false";
        } else if (key == "iconType") {
            if (!isInteger(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
                return where + "must be a 32-bit integer";
        } else {
            return "document: unknown key " + quotedWord(key) +
                   " (known: colorModel, page, swatches, namedStyles, paint, pressure, iconType)";
        }
    }
    return std::nullopt;
}

bool isInt32(const json& value) {
    return isInteger(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

// A dialog action: "item" and exactly one of "value", "select" and "click". The message names the action
// by index and the field.
std::optional<std::string> checkActions(const json& actions) {
    if (!actions.is_array()) return std::string("\"actions\" must be a list of actions");
    if (actions.size() > kMaxDialogActions)
        return "\"actions\" holds " + std::to_string(actions.size()) + " actions; one dialog takes at most " +
               std::to_string(kMaxDialogActions);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const json& action = actions[i];
        const std::string where = "actions[" + std::to_string(i) + "]";
        if (!action.is_object())
            return where + " must be an object {\"item\": ID, and \"value\", \"select\" or \"click\"}";
        int kinds = 0;
        for (const auto& [key, value] : action.items()) {
            const std::string field = where + ": \"" + key + "\" ";
            if (key == "item") {
                if (!isInt32(value)) return field + "must be an item id (an integer)";
            } else if (key == "value") {
                ++kinds;
                if (!value.is_boolean() && !isFiniteNumber(value))
                    return field + "must be a number or true / false";
            } else if (key == "select") {
                ++kinds;
                if (!isInt32(value)) return field + "must be an entry id (an integer)";
            } else if (key == "click") {
                ++kinds;
                if (value != true) return field + "must be true";
            } else {
                return where + ": unknown field " + quotedWord(key) + " (known: item, value, select, click)";
            }
        }
        if (!action.contains("item")) return where + ": \"item\" is missing";
        if (kinds != 1) return where + ": needs exactly one of \"value\", \"select\" and \"click\"";
    }
    return std::nullopt;
}

std::optional<std::string> checkField(const EventShape& shape, const std::string& key, const json& value) {
    if (key == "at" || key == "to") {
        if (!isPoint(value)) return std::string("must be [x, y], two finite numbers");
    } else if (key == "modifiers") {
        if (!isInteger(value, 0, 0xFFFFFFFFLL)) return std::string("must be an integer 0 to 4294967295");
    } else if (key == "pressure") {
        if (!isInteger(value, -32768, 32767)) return std::string("must be an integer -32768 to 32767");
    } else if (key == "pointer") {
        if (value != "mouse" && value != "pen" && value != "touch")
            return std::string("must be \"mouse\", \"pen\" or \"touch\"");
    } else if (key == "seed") {
        if (!isInteger(value, 0, 0xFFFFFFFFLL)) return std::string("must be an integer 0 to 4294967295");
    } else if (key == "close") {
        if (!isInteger(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
            return std::string("must be an item id (an integer)");
    } else if (key == "caller" || key == "selector") {
        if (!value.is_string()) return std::string("must be a string");
        // The module receives a C string: an embedded NUL would cut it short and send another name.
        if (value.get_ref<const std::string&>().find('\0') != std::string::npos)
            return std::string("must not contain a NUL character");
    } else if (key == "set") {
        if (auto problem = checkSettingsPatch(value)) return problem;
    } else if (key == "suite") {
        if (!value.is_string()) return std::string("must be a suite name");
        if (!operationCatalog().count(value.get<std::string>()))
            return "no suite " + quotedWord(value.get<std::string>()) + " is offered";
    } else if (key == "op") {
        if (!value.is_string()) return std::string("must be an operation name or \"acquire\"");
    } else if (key == "code") {
        if (value.is_string()) {
            const std::string& text = value.get_ref<const std::string&>();
            if (text.size() != 4) return std::string("a code text must have four characters");
            if (text == std::string(4, '\0')) return std::string("must be a failure status, not 0");
        } else if (!isInteger(value, std::numeric_limits<int32_t>::min(), 0xFFFFFFFFLL)) {
            return std::string("must be a 32-bit integer or a four-character string");
        } else if (value.is_number_unsigned() ? value.get<uint64_t>() == 0 : value.get<int64_t>() == 0) {
            // A failing call that answers success would leave its outputs unset for the plug-in to follow.
            return std::string("must be a failure status, not 0");
        }
    } else if (key == "skip" || key == "times") {
        if (!isInteger(value, 0, std::numeric_limits<int32_t>::max()))
            return std::string("must be a count (0 or more)");
    } else if (key == "svg") {
        if (!value.is_string() || value.get<std::string>().empty()) return std::string("must be a file path");
    }
    (void)shape;
    return std::nullopt;
}

// The script's own keys: seed, random, document and the list of events.
std::optional<std::string> checkTopLevel(const json& script) {
    if (!script.is_object()) return std::string("the script must be a JSON object");
    for (const auto& [key, value] : script.items()) {
        if (key == "seed") {
            if (!isInteger(value, 0, 0xFFFFFFFFLL))
                return std::string("seed: must be an integer 0 to 4294967295");
        } else if (key == "random") {
            if (!value.is_array()) return std::string("random: must be a list of numbers");
            for (std::size_t i = 0; i < value.size(); ++i)
                if (!isFiniteNumber(value[i]) || value[i].get<double>() < 0.0 || value[i].get<double>() > 1.0)
                    return "random[" + std::to_string(i) + "]: must be a number from 0 to 1";
        } else if (key == "document") {
            if (auto problem = checkDocument(value)) return problem;
        } else if (key == "events") {
            if (!value.is_array()) return std::string("events: must be a list of events");
            if (value.size() > kMaxScriptEvents)
                return "events: " + std::to_string(value.size()) + " events; a script holds at most " +
                       std::to_string(kMaxScriptEvents);
        } else {
            return "unknown key " + quotedWord(key) + " (known: seed, random, document, events)";
        }
    }
    return std::nullopt;
}

// Event `index` of the script: its name, its fields and their values, and whether it may come now that the
// module is (or is not) unloaded, which `unloaded` follows.
std::optional<std::string> checkEvent(const json& event, std::size_t index, bool& unloaded) {
    std::string where = "events[" + std::to_string(index) + "]";
    if (!event.is_object()) return where + ": must be an object with \"do\"";
    if (!event.contains("do") || !event["do"].is_string()) return where + ": \"do\" must name the event";
    const std::string name = event["do"].get<std::string>();
    const EventShape* shape = findShape(name);
    if (shape == nullptr)
        return where + ": unknown event " + quotedWord(name) + " (known: " + eventNames() + ")";
    where += " (\"" + name + "\")";
    for (std::string_view key : shape->required)
        if (!event.contains(key)) return where + ": \"" + std::string(key) + "\" is missing";
    for (const auto& [key, value] : event.items()) {
        if (key == "do") continue;
        if (!shape->required.count(key) && !shape->optional.count(key))
            return where + ": unknown field " + quotedWord(key);
        if (key == "actions") {
            if (auto problem = checkActions(value)) return where + ": " + *problem;
            continue;
        }
        if (auto problem = checkField(*shape, key, value)) return where + ": \"" + key + "\" " + *problem;
    }
    if (name == "fault") {
        const std::string suite = event["suite"].get<std::string>();
        const std::string op = event["op"].get<std::string>();
        if (op != "acquire" && !isCataloguedOperation(suite, op))
            return where + ": \"op\" " + quotedWord(suite) + " has no operation " + quotedWord(op);
    }
    // The module is out of memory between "unload" and "reload": only host-side events may come then.
    if (name == "unload") {
        if (unloaded) return where + ": the module is already unloaded";
        unloaded = true;
    } else if (name == "reload") {
        if (!unloaded) return where + ": the module is not unloaded";
        unloaded = false;
    } else if (unloaded && shape->sendsMessage) {
        return where + ": the module is unloaded; send {\"do\":\"reload\"} first";
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> checkScript(const json& script) {
    if (auto problem = checkTopLevel(script)) return problem;
    if (!script.contains("events")) return std::nullopt;
    bool unloaded = false;
    const json& events = script["events"];
    for (std::size_t index = 0; index < events.size(); ++index)
        if (auto problem = checkEvent(events[index], index, unloaded)) return problem;
    return std::nullopt;
}

} // namespace zz

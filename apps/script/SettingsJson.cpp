#include "apps/script/SettingsJson.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <span>

#include "host/base/Utf8.h"

namespace zz {

ToolSettings* settingsBlock(HostServices& host) {
    const BlockStore::BlockInfo* block = host.blocks().find("globals");
    if (block == nullptr || block->size < sizeof(ToolSettings)) return nullptr;
    return static_cast<ToolSettings*>(block->address);
}

namespace {

enum class FieldKind { Int, Float };

struct FieldInfo {
    const char* name;
    FieldKind kind;
    std::size_t offset;
};

#define ZZ_FIELD_KIND_INT FieldKind::Int
#define ZZ_FIELD_KIND_FLOAT FieldKind::Float
#define ZZ_FIELD_INFO(kind, name, defaultValue)                                                              \
    FieldInfo{#name, ZZ_FIELD_KIND_##kind, offsetof(ToolSettings, name)},

const std::vector<FieldInfo>& optionFields() {
    static const std::vector<FieldInfo> fields = {ZZ_SETTINGS_OPTION_FIELDS(ZZ_FIELD_INFO)};
    return fields;
}

const std::vector<FieldInfo>& pointFields() {
    static const std::vector<FieldInfo> fields = {ZZ_SETTINGS_POINT_FIELDS(ZZ_FIELD_INFO)};
    return fields;
}

#undef ZZ_FIELD_INFO

constexpr const char* kDesignTemplateName = "designTemplate";

const FieldInfo* findField(std::string_view name) {
    for (const auto* list : {&optionFields(), &pointFields()})
        for (const FieldInfo& field : *list)
            if (name == field.name) return &field;
    return nullptr;
}

// Reads and writes go through memcpy: the record lives in a host block of raw bytes.
template <typename T> T readAt(const ToolSettings& settings, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&settings) + offset, sizeof value);
    return value;
}

template <typename T> void writeAt(ToolSettings& settings, std::size_t offset, T value) {
    std::memcpy(reinterpret_cast<unsigned char*>(&settings) + offset, &value, sizeof value);
}

nlohmann::ordered_json fieldToJson(const ToolSettings& settings, const FieldInfo& field) {
    if (field.kind == FieldKind::Int) return readAt<int32_t>(settings, field.offset);
    return floatToJson(readAt<float>(settings, field.offset));
}

std::optional<int32_t> intFromJson(const nlohmann::json& value) {
    if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
    if (value.is_number_unsigned()) {
        const auto number = value.get<uint64_t>();
        if (number > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return std::nullopt;
        return static_cast<int32_t>(number);
    }
    if (value.is_number_integer()) {
        const auto number = value.get<int64_t>();
        if (number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
            return std::nullopt;
        return static_cast<int32_t>(number);
    }
    return std::nullopt;
}

// The swatch index fields reach as far as the document's swatch list, which holds at most this many.
constexpr double kMostSwatches = 100000;

// clang-format off
// The ranges of the options dialog's items, as the module makes them: spin edits with their minimum and
// maximum, lists with their entries, check boxes on or off.
constexpr SettingsFieldRange kFieldRanges[] = {
    {"zigzagElements", 4, 1, 400},          {"jitterPointsX", 10, -500, 500},
    {"jitterPointsY", 11, -500, 500},       {"scalingPattern1A", 12, 1, 200},
    {"scalingPattern1B", 14, 1, 200},       {"scalingPattern2A", 13, 1, 200},
    {"scalingPattern2B", 15, 1, 200},       {"horizontalGroupScaling", 16, 1, 200},
    {"maxPointsPerGroup", 17, 1, 99},       {"curve1X", 83, -500, 500},
    {"curve1Y", 84, -500, 500},             {"curve2X", 85, -500, 500},
    {"curve2Y", 86, -500, 500},             {"numberOfReflections", 30, 0, 100},
    {"reflectShiftX", 31, -500, 500},       {"reflectShiftY", 32, -500, 500},
    {"alternateAngle", 33, -360, 360},      {"reflectTurn", 36, -360, 360},
    {"reflectScalingX", 34, -500, 500},     {"reflectScalingY", 35, -500, 500},
    {"initialAngle", 40, -360, 360},        {"initialScalingX", 41, -500, 500},
    {"initialScalingY", 42, -500, 500},     {"pathJitterX", 43, 0, 500},
    {"pathJitterY", 44, 0, 500},            {"applySlowdown", 45, 0, 100},
    {"maxPointsPerZigzag", 46, 1, 9999},    {"fillCycleLength", 242, 0, 1000},
    {"strokeCycleLength", 245, 0, 1000},    {"fillSwatchIndex", 241, 0, kMostSwatches},
    {"strokeSwatchIndex", 244, 0, kMostSwatches},
    // lists: 37 presets, 67 designs, 15 colour modes, 5 pattern and repeat modes, 9 weave modes
    {"presetIndex", 3, 0, 36},              {"designIndex1", 5, 0, 66},
    {"designIndex2", 6, 0, 66},             {"repeatColorMode", 91, 0, 4},
    {"weavePlaceMode", 81, 0, 8},           {"fillColorMode", 240, 0, 14},
    {"strokeColorMode", 243, 0, 14},        {"patternMode", 246, 0, 4},
    // the page the dialog shows, from its seven page buttons
    {"optionsPage", 0, 1, 7},
    // the factors OK works out from the percentages above (1 to 200 percent)
    {"scalingPattern1AFactor", 0, 0.01, 2}, {"scalingPattern2AFactor", 0, 0.01, 2},
    {"scalingPattern1BFactor", 0, 0.01, 2}, {"scalingPattern2BFactor", 0, 0.01, 2},
    {"horizontalGroupScalingFactor", 0, 0.01, 2},
    // check boxes
    {"styleToSeparateElements", 79, 0, 1},  {"separateElements", 59, 0, 1},
    {"linkZigzag2To1", 80, 0, 1},           {"randomHorizontalDistance", 69, 0, 1},
    {"randomVerticalDistance", 70, 0, 1},   {"styleToReflect", 88, 0, 1},
    {"reflectHorizontal", 89, 0, 1},        {"reflectVertical", 90, 0, 1},
    {"randomRotation", 63, 0, 1},           {"randomScaling", 65, 0, 1},
    {"randomMaxPoints", 74, 0, 1},          {"randomWidth", 50, 0, 1},
    {"randomOpacity", 51, 0, 1},            {"randomBlendMode", 52, 0, 1},
    {"randomStyle", 66, 0, 1},              {"jitterFill", 75, 0, 1},
    {"jitterStroke", 76, 0, 1},             {"jitterWidth", 77, 0, 1},
    {"closedPath", 58, 0, 1},               {"symbolizeZigzag", 67, 0, 1},
    {"lockedVerticalHorizontal", 68, 0, 1}, {"dropShadow", 78, 0, 1},
    {"alternateMirror", 54, 0, 1},          {"flattenAlternate", 55, 0, 1},
    {"trailCursor", 60, 0, 1},              {"slantMatchCursor", 64, 0, 1},
    {"randomWarp", 53, 0, 1},               {"randomCurve", 87, 0, 1},
    {"randomDesignType", 56, 0, 1},         {"randomCreateElements", 57, 0, 1},
    {"pressureGroups", 61, 0, 1},           {"pressureRotation", 62, 0, 1},
    {"pressureStyleFactor", 71, 0, 1},      {"pressureWidth", 72, 0, 1},
    {"pressureOpacity", 73, 0, 1},
};
// clang-format on

const SettingsFieldRange* rangeOf(std::string_view name) {
    for (const SettingsFieldRange& range : kFieldRanges)
        if (name == range.name) return &range;
    return nullptr;
}

std::string numberText(double value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

// A value of the right kind held to the field's range in the dialog: nothing, or what is wrong.
std::optional<std::string> outOfRange(const std::string& name, const nlohmann::json& value) {
    const SettingsFieldRange* range = rangeOf(name);
    if (range == nullptr) return std::nullopt;
    const double number = value.is_boolean()  ? (value.get<bool>() ? 1.0 : 0.0)
                          : value.is_number() ? value.get<double>()
                                              : std::numeric_limits<double>::quiet_NaN();
    if (number >= range->low && number <= range->high) return std::nullopt;
    const std::string shown = value.is_string() ? value.get<std::string>() : value.dump();
    return name + ": " + shown + " is beyond what the options dialog lets a user set (" +
           numberText(range->low) + " to " + numberText(range->high) + ")";
}

} // namespace

std::span<const SettingsFieldRange> settingsFieldRanges() {
    return kFieldRanges;
}

nlohmann::ordered_json floatToJson(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double shortest = 0.0;
    std::from_chars(buffer, written.ptr, shortest);
    return shortest;
}

std::optional<float> floatFromJson(const nlohmann::json& value) {
    if (value.is_string()) {
        const auto& text = value.get_ref<const std::string&>();
        if (text == "nan") return std::numeric_limits<float>::quiet_NaN();
        if (text == "inf") return std::numeric_limits<float>::infinity();
        if (text == "-inf") return -std::numeric_limits<float>::infinity();
        return std::nullopt;
    }
    if (!value.is_number()) return std::nullopt;
    const double number = value.get<double>();
    // A finite number beyond the float range would silently become infinite: refuse it.
    if (std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(number);
}

nlohmann::ordered_json settingsToJson(const ToolSettings& settings) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (const FieldInfo& field : optionFields())
        out[field.name] = fieldToJson(settings, field);
    nlohmann::ordered_json design = nlohmann::ordered_json::array();
    for (int i = 0; i < kDesignTemplateSlots; ++i) {
        const float value =
            readAt<float>(settings, offsetof(ToolSettings, designTemplate) + i * sizeof(float));
        design.push_back(floatToJson(value));
        if (value == kDesignEndMarker) break;
    }
    out[kDesignTemplateName] = std::move(design);
    for (const FieldInfo& field : pointFields())
        out[field.name] = fieldToJson(settings, field);
    return out;
}

const std::vector<std::string>& settingsFieldNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const FieldInfo& field : optionFields())
            list.push_back(field.name);
        list.push_back(kDesignTemplateName);
        for (const FieldInfo& field : pointFields())
            list.push_back(field.name);
        return list;
    }();
    return names;
}

std::optional<std::string> checkSettingsPatch(const nlohmann::json& patch) {
    if (!patch.is_object()) return std::string("must be an object of field names and values");
    for (const auto& [name, value] : patch.items()) {
        if (name == kDesignTemplateName) {
            if (!value.is_array() || value.size() > static_cast<std::size_t>(kDesignTemplateSlots))
                return name + ": must be a list of at most " + std::to_string(kDesignTemplateSlots) +
                       " floats";
            for (std::size_t i = 0; i < value.size(); ++i)
                if (!floatFromJson(value[i]))
                    return name + "[" + std::to_string(i) +
                           "]: must be a float (a number, \"nan\", \"inf\", \"-inf\")";
            continue;
        }
        const FieldInfo* field = findField(name);
        if (field == nullptr) return safeQuote(name) + ": no such settings field";
        if (field->kind == FieldKind::Int && !intFromJson(value))
            return name + ": must be a 32-bit integer (or true / false)";
        if (field->kind == FieldKind::Float && !floatFromJson(value))
            return name + ": must be a float (a number within the float range, \"nan\", \"inf\" or \"-inf\")";
        if (auto problem = outOfRange(name, value)) return problem;
    }
    return std::nullopt;
}

void applySettingsPatch(ToolSettings& settings, const nlohmann::json& patch) {
    for (const auto& [name, value] : patch.items()) {
        if (name == kDesignTemplateName) {
            for (std::size_t i = 0; i < value.size() && i < static_cast<std::size_t>(kDesignTemplateSlots);
                 ++i)
                if (auto number = floatFromJson(value[i]))
                    writeAt(settings, offsetof(ToolSettings, designTemplate) + i * sizeof(float), *number);
            continue;
        }
        const FieldInfo* field = findField(name);
        if (field == nullptr) continue;
        if (field->kind == FieldKind::Int) {
            if (auto number = intFromJson(value)) writeAt(settings, field->offset, *number);
        } else if (auto number = floatFromJson(value)) {
            writeAt(settings, field->offset, *number);
        }
    }
}

} // namespace zz

#include "apps/script/SettingsJson.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>

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

} // namespace

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
        if (field == nullptr) return name + ": no such settings field";
        if (field->kind == FieldKind::Int && !intFromJson(value))
            return name + ": must be a 32-bit integer (or true / false)";
        if (field->kind == FieldKind::Float && !floatFromJson(value))
            return name + ": must be a float (a number within the float range, \"nan\", \"inf\" or \"-inf\")";
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

#include "apps/script/Report.h"

#include <nlohmann/json.hpp>

#include "apps/script/ArtReport.h"
#include "apps/script/JsonText.h"
#include "apps/script/SettingsJson.h"

namespace zz {

namespace {

using nlohmann::ordered_json;

// Writes the members of the top-level object one by one, each value at the indentation it has inside the
// whole report.
class ReportObject {
  public:
    explicit ReportObject(std::ostream& out) : out_(out) { out_ << "{\n"; }
    void member(const char* key, const ordered_json& value) {
        begin(key);
        dump(value, kIndent);
    }
    // Writes `value` as it stands at `indent` spaces inside the report.
    void dump(const ordered_json& value, unsigned indent) { writeJson(out_, value, indent); }
    // Starts a member whose value the caller streams itself, at the members' indentation.
    std::ostream& begin(const char* key) {
        if (!first_) out_ << ",\n";
        first_ = false;
        out_ << "  \"" << key << "\": ";
        return out_;
    }
    void end() { out_ << "\n}"; }
    std::ostream& stream() { return out_; }

  private:
    static constexpr unsigned kIndent = 2;
    std::ostream& out_;
    bool first_ = true;
};

ordered_json numberOf(double value, ValueKind kind) {
    if (kind == ValueKind::Boolean) return value != 0.0;
    if (kind == ValueKind::Integer && value >= -9007199254740992.0 && value <= 9007199254740992.0)
        return static_cast<int64_t>(value);
    return floatToJson(static_cast<float>(value));
}

ordered_json itemToJson(const ItemState& item) {
    ordered_json json{{"type", item.type},
                      {"rect", {item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}}};
    if (!item.isList) json["text"] = item.text;
    if (item.hasValue) {
        json["value"] = numberOf(item.value, item.valueKind);
        if (item.min) json["min"] = numberOf(*item.min, item.valueKind);
        if (item.max) json["max"] = numberOf(*item.max, item.valueKind);
        if (item.precision >= 0) json["precision"] = item.precision;
    }
    json["visible"] = item.visible;
    json["enabled"] = item.enabled;
    json["font"] = item.font;
    json["focus"] = item.focus;
    if (item.isList) {
        json["active"] = item.active ? ordered_json(*item.active) : ordered_json(nullptr);
        if (item.active) json["activeText"] = item.activeText;
        json["entries"] = item.entries;
    }
    return json;
}

} // namespace

ordered_json snapshotToJson(const DialogSnapshot& snapshot) {
    ordered_json items = ordered_json::object();
    // Items that share an id (unnamed template labels) after the first: "ID#2", "ID#3", ...
    int32_t lastId = 0;
    int sameId = 0;
    for (std::size_t i = 0; i < snapshot.items.size(); ++i) {
        const ItemState& item = snapshot.items[i];
        sameId = i > 0 && item.id == lastId ? sameId + 1 : 1;
        lastId = item.id;
        const std::string key = std::to_string(item.id) + (sameId > 1 ? "#" + std::to_string(sameId) : "");
        items[key] = itemToJson(item);
    }
    return ordered_json{{"after", snapshot.after ? ordered_json(*snapshot.after) : ordered_json("init")},
                        {"items", std::move(items)}};
}

namespace {

// The dialogs, one snapshot at a time: a long run of actions never sits in memory as JSON all at once.
void writeDialogs(ReportObject& report, const std::vector<DialogRecord>& dialogs) {
    std::ostream& out = report.begin("dialogs");
    if (dialogs.empty()) {
        out << "[]";
        return;
    }
    out << "[\n";
    for (std::size_t d = 0; d < dialogs.size(); ++d) {
        const DialogRecord& dialog = dialogs[d];
        ordered_json items = ordered_json::object();
        for (const auto& [id, text] : dialog.items)
            items[std::to_string(id)] = text;
        ordered_json lists = ordered_json::object();
        for (const auto& [id, entries] : dialog.lists) {
            ordered_json list = ordered_json::array();
            for (const EntryRecord& entry : entries)
                list.push_back(
                    ordered_json{{"id", entry.id}, {"text", entry.text}, {"picture", entry.picture}});
            lists[std::to_string(id)] = std::move(list);
        }
        ordered_json refused = ordered_json::array();
        for (const auto& [action, reason] : dialog.refused)
            refused.push_back(ordered_json{{"action", action}, {"reason", reason}});
        const ordered_json head{{"name", dialog.name},     {"resource", dialog.resource},
                                {"result", dialog.result}, {"items", items},
                                {"lists", lists},          {"refused", refused}};
        out << "    {\n";
        for (const auto& [key, value] : head.items()) {
            out << "      \"" << key << "\": ";
            report.dump(value, 6);
            out << ",\n";
        }
        out << "      \"snapshots\": ";
        if (dialog.snapshots.empty()) {
            out << "[]";
        } else {
            out << "[\n";
            for (std::size_t i = 0; i < dialog.snapshots.size(); ++i) {
                out << "        ";
                report.dump(snapshotToJson(dialog.snapshots[i]), 8);
                out << (i + 1 < dialog.snapshots.size() ? ",\n" : "\n");
            }
            out << "      ]";
        }
        out << "\n    }" << (d + 1 < dialogs.size() ? ",\n" : "\n");
    }
    out << "  ]";
}

} // namespace

void writeReport(std::ostream& out, const ReportSources& sources) {
    Host& host = sources.session.host();
    ReportObject report(out);

    ordered_json results = ordered_json::array();
    for (const std::optional<int64_t>& result : sources.results)
        results.push_back(result ? ordered_json(*result) : ordered_json(nullptr));
    report.member("results", results);

    const ToolSettings* settings = settingsBlock(host);
    report.member("settings", settings ? settingsToJson(*settings) : ordered_json(nullptr));

    report.member("alerts", host.alerts());

    ordered_json blocks = ordered_json::array();
    for (const BlockStore::BlockInfo& block : host.blocks().live())
        blocks.push_back(ordered_json{{"name", block.name}, {"size", block.size}});
    report.member("blocks", blocks);

    report.member("suites", ordered_json{{"held", host.suites().held()},
                                         {"acquired", host.suites().acquiredCount()},
                                         {"released", host.suites().releasedCount()}});

    ordered_json tools = ordered_json::array();
    for (const ToolRecord& tool : host.tools()) {
        const IconRecord* icon = host.icon(tool.icon);
        ordered_json iconJson =
            icon ? ordered_json{{"id", icon->id}, {"index", icon->index}, {"type", icon->type}}
                 : ordered_json(nullptr);
        tools.push_back(ordered_json{{"name", tool.name},
                                     {"title", tool.title},
                                     {"tooltip", tool.tooltip},
                                     {"icon", iconJson},
                                     {"sameGroupAs", tool.sameGroupAs},
                                     {"sameToolsetAs", tool.sameToolsAs},
                                     {"options", tool.options}});
    }
    report.member("tools", tools);

    writeDialogs(report, sources.dialogs);

    const std::optional<int32_t> cursor = host.currentCursor();
    report.member("cursor", cursor ? ordered_json(*cursor) : ordered_json(nullptr));

    writeArtReport(report.begin("art"), host.document(), 2);
    writeSymbolReport(report.begin("symbols"), host.document(), 2);
    report.member("plugin", ordered_json{{"options", host.plugin(host.self())->options}});
    report.member("unimplemented", host.unimplementedCalls());
    report.end();
}

} // namespace zz

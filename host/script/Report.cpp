#include "host/script/Report.h"

#include <nlohmann/json.hpp>

#include "host/document/ArtReport.h"
#include "host/script/SettingsJson.h"

namespace zz {

namespace {

using nlohmann::ordered_json;

// Writes the members of the top-level object one by one, each value at the indentation it has inside the
// whole report.
class ReportObject {
  public:
    explicit ReportObject(std::ostream& out)
        : out_(out), serializer_(nlohmann::detail::output_adapter<char>(out), ' ',
                                 ordered_json::error_handler_t::replace) {
        out_ << "{\n";
    }
    void member(const char* key, const ordered_json& value) {
        begin(key);
        serializer_.dump(value, true, false, kIndent, kIndent);
    }
    // Starts a member whose value the caller streams itself, at the members' indentation.
    std::ostream& begin(const char* key) {
        if (!first_) out_ << ",\n";
        first_ = false;
        out_ << "  \"" << key << "\": ";
        return out_;
    }
    void end() { out_ << "\n}"; }

  private:
    static constexpr unsigned kIndent = 2;
    std::ostream& out_;
    nlohmann::detail::serializer<ordered_json> serializer_;
    bool first_ = true;
};

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

    ordered_json dialogs = ordered_json::array();
    for (const DialogRecord& dialog : sources.dialogs) {
        ordered_json items = ordered_json::object();
        for (const auto& [id, text] : dialog.items)
            items[std::to_string(id)] = text;
        dialogs.push_back(ordered_json{{"name", dialog.name},
                                       {"resource", dialog.resource},
                                       {"result", dialog.result},
                                       {"items", items}});
    }
    report.member("dialogs", dialogs);

    const std::optional<int32_t> cursor = host.currentCursor();
    report.member("cursor", cursor ? ordered_json(*cursor) : ordered_json(nullptr));

    writeArtReport(report.begin("art"), host.document(), 2);
    report.member("plugin", ordered_json{{"options", host.plugin(host.self())->options}});
    report.member("unimplemented", host.unimplementedCalls());
    report.end();
}

} // namespace zz

// Playing a session script: a fresh host, the module, one message (or host action) per event, and the report.
#include "host/script/Session.h"

#include <cstring>

#include "SPMessages.h"
#include "host/core/Host.h"
#include "host/document/ArtReport.h"
#include "host/document/SvgExport.h"
#include "host/script/SettingsJson.h"

namespace zz {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr const char* kGlobalsBlockName = "globals";

AIRealPoint pointOf(const json& value) {
    return AIRealPoint{static_cast<AIReal>(value[0].get<double>()),
                       static_cast<AIReal>(value[1].get<double>())};
}

SPErr codeOf(const json& value) {
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        return ZZ_FOURCC(text[0], text[1], text[2], text[3]);
    }
    if (value.is_number_unsigned()) return static_cast<SPErr>(static_cast<uint32_t>(value.get<uint64_t>()));
    return static_cast<SPErr>(value.get<int64_t>());
}

DocumentFacts documentFacts(const json& document) {
    DocumentFacts facts;
    if (document.contains("colorModel")) {
        const std::string model = document["colorModel"].get<std::string>();
        facts.colorModel = model == "gray" ? kDocGrayColor : (model == "cmyk" ? kDocCMYKColor : kDocRGBColor);
    }
    if (document.contains("page")) {
        facts.pageWidth = static_cast<AIReal>(document["page"][0].get<double>());
        facts.pageHeight = static_cast<AIReal>(document["page"][1].get<double>());
    }
    if (document.contains("swatches")) {
        const json& swatches = document["swatches"];
        if (swatches.is_array()) {
            for (const json& entry : swatches) {
                AIColor colour{};
                colour.kind = static_cast<int16_t>(entry["kind"].get<int>());
                if (entry.contains("values"))
                    for (std::size_t i = 0; i < entry["values"].size(); ++i)
                        colour.value[i] = static_cast<AIReal>(entry["values"][i].get<double>());
                facts.swatches.push_back(colour);
            }
        } else {
            facts.swatches = makeSwatchList(swatches.get<int>(), facts.colorModel);
        }
    }
    if (document.contains("namedStyles")) facts.namedStyles = document["namedStyles"].get<int32_t>();
    facts.hasPressure = document.value("pressure", true);
    return facts;
}

// The live settings record: the first live block named "globals" that is big enough to hold it.
ToolSettings* settingsBlock(Host& host) {
    const BlockStore::BlockInfo* block = host.blocks().find(kGlobalsBlockName);
    if (block == nullptr || block->size < sizeof(ToolSettings)) return nullptr;
    return static_cast<ToolSettings*>(block->address);
}

class SessionRunner {
  public:
    SessionRunner(const json& script, std::string modulePath)
        : script_(script), modulePath_(std::move(modulePath)) {}

    ordered_json run(SessionError* error);

  private:
    bool fail(SessionError::Kind kind, std::string message) {
        error_.kind = kind;
        error_.message = std::move(message);
        return false;
    }
    std::string where(std::size_t index, const json& event) const {
        return "events[" + std::to_string(index) + "] (\"" + event["do"].get<std::string>() + "\")";
    }

    bool play(std::size_t index, const json& event, json* result);
    SPErr send(const char* caller, const char* selector);
    SPErr sendTool(const char* selector, const json& event, bool mouseDown);
    ordered_json report() const;

    const json& script_;
    std::string modulePath_;
    Host host_;
    SessionError error_;
    void* globals_ = nullptr; // the word the host keeps for the plug-in between messages
    AIRealPoint cursor_{0.0f, 0.0f};
    std::vector<json> results_;
};

SPErr SessionRunner::send(const char* caller, const char* selector) {
    // A plug-in reads the record as its caller's kind ("message" may name any caller): the record is as large
    // as the largest kind, zero after the common header, so that such a read stays inside it.
    AIToolMessage message{};
    message.d = SPMessageData{kSPValidSPMessageData, host_.self(), globals_, host_.basicSuite()};
    const SPErr result = host_.sendMessage(caller, selector, &message);
    globals_ = message.d.globals;
    return result;
}

SPErr SessionRunner::sendTool(const char* selector, const json& event, bool mouseDown) {
    if (event.contains("at")) cursor_ = pointOf(event["at"]);
    if (event.contains("to")) cursor_ = pointOf(event["to"]);
    EventState& state = host_.event();
    state.point = cursor_;
    state.modifiers = static_cast<uint32_t>(event.value("modifiers", static_cast<uint64_t>(0)));
    state.mouseDown = mouseDown;

    AIToolMessage message{};
    message.d = SPMessageData{kSPValidSPMessageData, host_.self(), globals_, host_.basicSuite()};
    message.tool = host_.tools().empty() ? nullptr : host_.toolHandle(host_.tools().front());
    message.cursor = cursor_;
    message.pressure = static_cast<int16_t>(event.value("pressure", kMaxPointPressure));
    const SPErr result = host_.sendMessage(kCallerAITool, selector, &message);
    globals_ = message.d.globals;
    state = EventState{};
    return result;
}

bool SessionRunner::play(std::size_t index, const json& event, json* result) {
    const std::string name = event["do"].get<std::string>();
    *result = nullptr;
    if (name == "startup") {
        *result = send(kSPInterfaceCaller, kSPInterfaceStartupSelector);
    } else if (name == "about") {
        if (event.contains("close")) host_.setNextDialogClose(event["close"].get<int32_t>());
        *result = send(kSPInterfaceCaller, kSPInterfaceAboutSelector);
    } else if (name == "shutdown") {
        *result = send(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
    } else if (name == "unload") {
        // The plug-in hands over what must survive, then its code really leaves memory.
        *result = send(kSPAccessCaller, kSPAccessUnloadSelector);
        host_.unloadModule();
    } else if (name == "reload") {
        std::string why;
        if (!host_.loadModule(modulePath_, &why))
            return fail(SessionError::Kind::Module, where(index, event) + ": " + why);
        *result = send(kSPAccessCaller, kSPAccessReloadSelector);
    } else if (name == "message") {
        *result = send(event["caller"].get_ref<const std::string&>().c_str(),
                       event["selector"].get_ref<const std::string&>().c_str());
    } else if (name == "mouseDown") {
        host_.document().beginUndoContext();
        *result = sendTool(kSelectorAIToolMouseDown, event, true);
    } else if (name == "drag") {
        *result = sendTool(kSelectorAIToolMouseDrag, event, true);
    } else if (name == "mouseUp") {
        *result = sendTool(kSelectorAIToolMouseUp, event, false);
        host_.document().endUndoContext();
    } else if (name == "trackCursor") {
        *result = sendTool(kSelectorAITrackToolCursor, event, false);
    } else if (name == "editOptions") {
        if (event.contains("close")) host_.setNextDialogClose(event["close"].get<int32_t>());
        *result = sendTool(kSelectorAIEditToolOptions, event, false);
    } else if (name == "select") {
        *result = sendTool(kSelectorAISelectTool, event, false);
    } else if (name == "deselect") {
        *result = sendTool(kSelectorAIDeselectTool, event, false);
    } else if (name == "settings") {
        ToolSettings* settings = settingsBlock(host_);
        if (settings == nullptr)
            return fail(SessionError::Kind::Script,
                        where(index, event) + ": no \"globals\" block is held (send \"startup\" first)");
        applySettingsPatch(*settings, event["set"]);
    } else if (name == "fault") {
        FaultRule rule;
        rule.suite = event["suite"].get<std::string>();
        rule.operation = event["op"].get<std::string>();
        rule.code = codeOf(event["code"]);
        rule.skip = event.value("skip", 0);
        rule.times = event.value("times", 1);
        host_.faults().add(std::move(rule));
    } else if (name == "undo") {
        host_.document().undo();
    } else if (name == "redo") {
        host_.document().redo();
    } else if (name == "export") {
        std::string why;
        if (!writeSvg(host_.document(), event["svg"].get<std::string>(), &why))
            return fail(SessionError::Kind::Runtime, where(index, event) + ": " + why);
    }
    // A "close" that no dialog used does not carry over to a later event.
    host_.setNextDialogClose(std::nullopt);
    return true;
}

ordered_json SessionRunner::run(SessionError* error) {
    if (auto problem = checkScript(script_)) {
        fail(SessionError::Kind::Script, *problem);
    } else {
        const json document = script_.value("document", json::object());
        host_.document().reset(documentFacts(document));
        host_.facts().pressure = document.value("pressure", true);
        if (document.contains("iconType")) host_.facts().iconType = document["iconType"].get<int32_t>();
        if (script_.contains("seed"))
            host_.random().seed(static_cast<uint32_t>(script_["seed"].get<uint64_t>()));
        if (script_.contains("random"))
            for (const json& value : script_["random"])
                host_.random().queue(static_cast<float>(value.get<double>()));
        Host::clearCursor();

        std::string why;
        if (!host_.loadModule(modulePath_, &why)) {
            fail(SessionError::Kind::Module, why);
        } else {
            const json events = script_.value("events", json::array());
            bool ok = true;
            for (std::size_t index = 0; ok && index < events.size(); ++index) {
                json result;
                ok = play(index, events[index], &result);
                results_.push_back(result);
            }
            if (ok) return report();
        }
    }
    if (error) *error = error_;
    return nullptr;
}

ordered_json SessionRunner::report() const {
    Host& host = const_cast<Host&>(host_);
    ordered_json out = ordered_json::object();
    out["results"] = ordered_json::array();
    for (const json& result : results_)
        out["results"].push_back(result.is_null() ? ordered_json(nullptr)
                                                  : ordered_json(result.get<int64_t>()));

    const ToolSettings* settings = settingsBlock(host);
    out["settings"] = settings ? settingsToJson(*settings) : ordered_json(nullptr);

    out["alerts"] = host.alerts();

    out["blocks"] = ordered_json::array();
    for (const BlockStore::BlockInfo& block : host.blocks().live())
        out["blocks"].push_back(ordered_json{{"name", block.name}, {"size", block.size}});

    out["suites"] = ordered_json{{"held", host.suites().held()},
                                 {"acquired", host.suites().acquiredCount()},
                                 {"released", host.suites().releasedCount()}};

    out["tools"] = ordered_json::array();
    for (const ToolRecord& tool : host.tools()) {
        const IconRecord* icon = host.icon(tool.icon);
        ordered_json iconJson =
            icon ? ordered_json{{"id", icon->id}, {"index", icon->index}, {"type", icon->type}}
                 : ordered_json(nullptr);
        out["tools"].push_back(ordered_json{{"name", tool.name},
                                            {"title", tool.title},
                                            {"tooltip", tool.tooltip},
                                            {"icon", iconJson},
                                            {"sameGroupAs", tool.sameGroupAs},
                                            {"sameToolsetAs", tool.sameToolsAs},
                                            {"options", tool.options}});
    }

    out["dialogs"] = ordered_json::array();
    for (const DialogRecord& dialog : host.dialogRecords()) {
        ordered_json items = ordered_json::object();
        for (const auto& [id, text] : dialog.items)
            items[std::to_string(id)] = text;
        out["dialogs"].push_back(ordered_json{{"name", dialog.name},
                                              {"resource", dialog.resource},
                                              {"result", dialog.result},
                                              {"items", items}});
    }

    const std::optional<int32_t> cursor = host.currentCursor();
    out["cursor"] = cursor ? ordered_json(*cursor) : ordered_json(nullptr);

    out["art"] = ordered_json::parse(artReport(host.document()).dump());
    out["plugin"] = ordered_json{{"options", host.plugin(host.self())->options}};
    out["unimplemented"] = host.unimplementedCalls();
    return out;
}

} // namespace

nlohmann::ordered_json runSession(const json& script, const std::string& modulePath, SessionError* error) {
    SessionRunner runner(script, modulePath);
    return runner.run(error);
}

nlohmann::ordered_json runSessionText(const std::string& text, const std::string& modulePath,
                                      SessionError* error) {
    json script;
    try {
        script = json::parse(text);
    } catch (const json::parse_error& problem) {
        if (error)
            *error = SessionError{SessionError::Kind::Script,
                                  std::string("the script is not valid JSON: ") + problem.what()};
        return nullptr;
    }
    return runSession(script, modulePath, error);
}

} // namespace zz

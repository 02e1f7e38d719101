// Playing a session script: a fresh tool session, the module, one message (or host action) per event, and the
// report.
#include "apps/script/ScriptLimits.h"
#include "apps/script/Session.h"

#include <cstring>

#include <iterator>
#include <sstream>

#include "ADMDialog.h"
#include "host/core/ToolSession.h"
#include "host/suites/ArtLimits.h"
#include "apps/script/JsonText.h"
#include "apps/script/Report.h"
#include "apps/script/ScriptDialogs.h"
#include "apps/script/SettingsJson.h"

namespace zz {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

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

// The user's actions of an editOptions event (already checked).
std::vector<DialogAction> dialogActions(const json& event) {
    std::vector<DialogAction> actions;
    if (!event.contains("actions")) return actions;
    for (const json& entry : event["actions"]) {
        DialogAction action;
        action.item = entry["item"].get<int32_t>();
        if (entry.contains("value")) {
            action.kind = DialogAction::Kind::Value;
            const json& value = entry["value"];
            action.value = value.is_boolean() ? (value.get<bool>() ? 1.0 : 0.0) : value.get<double>();
        } else if (entry.contains("select")) {
            action.kind = DialogAction::Kind::Select;
            action.entry = entry["select"].get<int32_t>();
        } else {
            action.kind = DialogAction::Kind::Click;
        }
        actions.push_back(action);
    }
    return actions;
}

// A colour of the script: {"kind": K, "values": [...]}; null (a swatch that is no ordinary colour) is a
// colour of kind none.
AIColor colourOf(const json& value) {
    AIColor colour{};
    colour.kind = kNoneColor;
    if (value.is_null()) return colour;
    colour.kind = static_cast<int16_t>(value["kind"].get<int>());
    if (value.contains("values"))
        for (std::size_t i = 0; i < value["values"].size() && i < std::size(colour.value); ++i)
            colour.value[i] = static_cast<AIReal>(value["values"][i].get<double>());
    return colour;
}

// Lays a paint of the script over `style`: a fill or stroke colour paints it, null unpaints it and leaves its
// colour as it was, and what the paint leaves out stays as it was.
void layPaint(const json& paint, AIPathStyle* style) {
    if (paint.contains("fill")) {
        style->fillPaint = paint["fill"].is_null() ? 0 : 1;
        if (style->fillPaint != 0) style->fill.color = colourOf(paint["fill"]);
    }
    if (paint.contains("stroke")) {
        style->strokePaint = paint["stroke"].is_null() ? 0 : 1;
        if (style->strokePaint != 0) style->stroke.color = colourOf(paint["stroke"]);
    }
    if (paint.contains("strokeWidth"))
        style->stroke.width = static_cast<AIReal>(paint["strokeWidth"].get<double>());
}

} // namespace

int16_t colorModelNamed(const std::string& name) {
    return name == "gray" ? kDocGrayColor : name == "cmyk" ? kDocCMYKColor : kDocRGBColor;
}

DocumentFacts documentFacts(const json& document) {
    DocumentFacts facts;
    if (document.contains("colorModel"))
        facts.colorModel = colorModelNamed(document["colorModel"].get<std::string>());
    if (document.contains("page")) {
        facts.pageWidth = static_cast<AIReal>(document["page"][0].get<double>());
        facts.pageHeight = static_cast<AIReal>(document["page"][1].get<double>());
    }
    if (document.contains("swatches")) {
        const json& swatches = document["swatches"];
        if (swatches.is_array()) {
            for (const json& entry : swatches)
                facts.swatches.push_back(colourOf(entry));
        } else {
            facts.swatches = makeSwatchList(swatches.get<int>(), facts.colorModel);
        }
    }
    if (document.contains("paint")) {
        AIPathStyle paint = defaultPaint(facts.colorModel);
        layPaint(document["paint"], &paint);
        facts.paint = paint;
    }
    if (document.contains("namedStyles")) {
        const json& styles = document["namedStyles"];
        if (styles.is_array()) {
            std::vector<NamedStyle> list;
            for (std::size_t i = 0; i < styles.size(); ++i) {
                NamedStyle named{"Style " + std::to_string(i), defaultPaint(facts.colorModel), 1.0f};
                layPaint(styles[i], &named.style);
                if (styles[i].contains("opacity"))
                    named.opacity = static_cast<AIReal>(styles[i]["opacity"].get<double>());
                list.push_back(std::move(named));
            }
            facts.namedStyles = static_cast<int32_t>(list.size());
            facts.namedStyleList = std::move(list);
        } else {
            facts.namedStyles = styles.get<int32_t>();
        }
    }
    facts.hasPressure = document.value("pressure", true);
    return facts;
}

namespace {

class SessionRunner {
  public:
    SessionRunner(const json& script, std::string modulePath)
        : script_(script), modulePath_(std::move(modulePath)) {
        session_.host().setDialogObserver(&recorder_);
        player_.dialogs().setObserver(&recorder_);
    }

    // Plays the script; false with the reason in *error.
    bool play(SessionError* error);
    void report(std::ostream& out) {
        writeReport(out, ReportSources{session_, results_, recorder_.records()});
    }
    SessionOutcome outcome() {
        SessionOutcome outcome;
        outcome.results = results_;
        for (const DialogRecord& dialog : recorder_.records()) {
            for (const auto& [action, reason] : dialog.refused)
                outcome.refusals.push_back(reason);
            outcome.dialogs.push_back(dialog.view);
        }
        const Art& layer = session_.document().layer();
        for (const Art* art = layer.firstChild(); art != nullptr; art = art->nextSibling()) {
            ++outcome.artObjects;
            if (art->type() == kPathArt) ++outcome.paths;
        }
        return outcome;
    }

  private:
    bool fail(SessionError::Kind kind, std::string message) {
        error_.kind = kind;
        error_.message = std::move(message);
        return false;
    }

    const json& script_;
    std::string modulePath_;
    ToolSession session_;
    EventPlayer player_{session_};
    SessionError error_;
    DialogRecorder recorder_;
    std::vector<std::optional<int64_t>> results_;
};

} // namespace

EventPlayer::EventPlayer(ToolSession& session) : session_(session) {
    session_.host().setDialogDriver(&dialogs_);
}

EventPlayer::~EventPlayer() {
    session_.host().setDialogDriver(nullptr);
}

ToolInput EventPlayer::toolInput(const json& event) {
    if (event.contains("at")) cursor_ = pointOf(event["at"]);
    if (event.contains("to")) cursor_ = pointOf(event["to"]);
    // A pen reports pressure, a mouse or a finger none: the host answers for the device of the event.
    if (event.contains("pointer")) session_.host().facts().pressure = event["pointer"] == "pen";
    ToolInput input;
    input.point = cursor_;
    input.modifiers = static_cast<uint32_t>(event.value("modifiers", static_cast<uint64_t>(0)));
    input.pressure = static_cast<int16_t>(event.value("pressure", kMaxPointPressure));
    return input;
}

namespace {

// The events that are one message of the module's with no input, and those that send the pointer's input.
template <typename Message> struct MessageEvent {
    std::string_view name;
    Message send;
};
constexpr MessageEvent<SPErr (ToolSession::*)()> kPlainMessages[] = {
    {"startup", &ToolSession::startup},
    {"about", &ToolSession::about},
    {"shutdown", &ToolSession::shutdown},
    {"unload", &ToolSession::unload},
};
constexpr MessageEvent<SPErr (ToolSession::*)(const ToolInput&)> kToolMessages[] = {
    {"mouseDown", &ToolSession::mouseDown},     {"drag", &ToolSession::drag},
    {"mouseUp", &ToolSession::mouseUp},         {"trackCursor", &ToolSession::trackCursor},
    {"editOptions", &ToolSession::editOptions}, {"select", &ToolSession::select},
    {"deselect", &ToolSession::deselect},
};

template <typename Message, std::size_t N>
std::optional<Message> messageOf(const MessageEvent<Message> (&table)[N], const std::string& name) {
    for (const MessageEvent<Message>& entry : table)
        if (entry.name == name) return entry.send;
    return std::nullopt;
}

} // namespace

bool EventPlayer::play(std::size_t index, const json& event, std::optional<int64_t>* result,
                       SessionError* error) {
    const std::string name = event["do"].get<std::string>();
    result->reset();
    // The first dialog the event opens plays its actions, then ends with its "close" unless they ended it: by
    // default Cancel for the options, the default item (OK) for everything else.
    const int32_t defaultClose = name == "editOptions" ? kADMCancelItemID : kADMDefaultItemID;
    dialogs_.beginEvent(event.value("close", defaultClose), dialogActions(event));
    if (const auto send = messageOf(kPlainMessages, name)) {
        *result = (session_.**send)();
        return true;
    }
    if (const auto send = messageOf(kToolMessages, name)) {
        // A drag belongs to the press before it: one outside a drag would add art that no undo step holds.
        if (name == "drag" && !session_.dragging()) {
            if (error != nullptr)
                *error = SessionError{SessionError::Kind::Script,
                                      "events[" + std::to_string(index) +
                                          "] (\"drag\"): no drag is open; a \"drag\" comes after a "
                                          "\"mouseDown\" and before its \"mouseUp\""};
            return false;
        }
        *result = (session_.**send)(toolInput(event));
        return true;
    }
    SessionError failure;
    if (playOther(name, event, result, &failure)) return true;
    if (error != nullptr)
        *error = SessionError{failure.kind,
                              "events[" + std::to_string(index) + "] (\"" + name + "\"): " + failure.message};
    return false;
}

bool EventPlayer::playOther(const std::string& name, const json& event, std::optional<int64_t>* result,
                            SessionError* failure) {
    const auto fail = [failure](SessionError::Kind kind, const std::string& why) {
        *failure = SessionError{kind, why};
        return false;
    };
    if (name == "reload") {
        SPErr status = kSPNoError;
        std::string why;
        if (!session_.reload(&status, &why)) return fail(SessionError::Kind::Module, why);
        *result = status;
    } else if (name == "message") {
        *result = session_.message(event["caller"].get_ref<const std::string&>().c_str(),
                                   event["selector"].get_ref<const std::string&>().c_str());
    } else if (name == "settings") {
        ToolSettings* settings = settingsBlock(session_.host());
        if (settings == nullptr)
            return fail(SessionError::Kind::Script, "no \"globals\" block is held (send \"startup\" first)");
        applySettingsPatch(*settings, event["set"]);
    } else if (name == "fault") {
        FaultRule rule;
        rule.suite = event["suite"].get<std::string>();
        rule.operation = event["op"].get<std::string>();
        rule.code = codeOf(event["code"]);
        rule.skip = event.value("skip", 0);
        rule.times = event.value("times", 1);
        session_.host().faults().add(std::move(rule));
    } else if (name == "undo" || name == "redo") {
        if (const std::optional<std::string> refusal = session_.historyRefusal())
            return fail(SessionError::Kind::Script, *refusal);
        if (name == "undo")
            session_.undo();
        else
            session_.redo();
    } else if (name == "abandon") {
        session_.abandonDrag();
    } else if (name == "seed") {
        session_.host().random().seed(static_cast<uint32_t>(event["seed"].get<uint64_t>()));
    } else if (name == "export") {
        std::string why;
        if (!session_.exportSvg(event["svg"].get<std::string>(), &why))
            return fail(SessionError::Kind::Runtime, why);
    }
    return true;
}

namespace {

bool SessionRunner::play(SessionError* error) {
    bool ok = true;
    if (auto problem = checkScript(script_)) {
        ok = fail(SessionError::Kind::Script, *problem);
    } else {
        Host& host = session_.host();
        const json document = script_.value("document", json::object());
        session_.newDocument(documentFacts(document));
        host.facts().pressure = document.value("pressure", true);
        if (document.contains("iconType")) host.facts().iconType = document["iconType"].get<int32_t>();
        if (script_.contains("seed"))
            host.random().seed(static_cast<uint32_t>(script_["seed"].get<uint64_t>()));
        if (script_.contains("random"))
            for (const json& value : script_["random"])
                host.random().queue(static_cast<float>(value.get<double>()));
        Host::clearCursor();

        std::string why;
        if (!session_.load(modulePath_, &why)) {
            ok = fail(SessionError::Kind::Module, why);
        } else {
            const ArtAllowance allowance({kMaxScriptArtObjects, kMaxScriptPathSegments});
            const json events = script_.value("events", json::array());
            for (std::size_t index = 0; ok && index < events.size(); ++index) {
                std::optional<int64_t> result;
                ok = player_.play(index, events[index], &result, &error_);
                results_.push_back(result);
                if (ok && allowance.exceeded())
                    ok = fail(SessionError::Kind::Script,
                              "events[" + std::to_string(index) + "] (\"" +
                                  events[index]["do"].get<std::string>() +
                                  "\"): the script's art passed its limit of " + *allowance.exceeded() +
                                  " made in all (art a later event replaced or undid counts too)");
            }
        }
    }
    if (!ok && error != nullptr) *error = error_;
    return ok;
}

} // namespace

bool runSessionTo(std::ostream& out, const json& script, const std::string& modulePath, SessionError* error) {
    SessionRunner runner(script, modulePath);
    if (!runner.play(error)) return false;
    runner.report(out);
    return true;
}

std::optional<SessionOutcome> playSession(const json& script, const std::string& modulePath,
                                          SessionError* error) {
    SessionRunner runner(script, modulePath);
    if (!runner.play(error)) return std::nullopt;
    return runner.outcome();
}

nlohmann::ordered_json runSession(const json& script, const std::string& modulePath, SessionError* error) {
    std::stringstream text;
    if (!runSessionTo(text, script, modulePath, error)) return nullptr;
    return ordered_json::parse(text);
}

std::optional<json> parseScript(const std::string& text, SessionError* error) {
    std::string problem;
    std::optional<json> script = parseJsonNamingPlace(text, &problem);
    if (!script && error != nullptr) *error = SessionError{SessionError::Kind::Script, problem};
    return script;
}

nlohmann::ordered_json runSessionText(const std::string& text, const std::string& modulePath,
                                      SessionError* error) {
    const std::optional<json> script = parseScript(text, error);
    if (!script) return nullptr;
    return runSession(*script, modulePath, error);
}

} // namespace zz

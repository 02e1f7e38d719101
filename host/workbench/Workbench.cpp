#include "host/workbench/Workbench.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "ADMDialog.h"
#include "host/document/SvgExport.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "host/workbench/DeltaJson.h"
#include "host/workbench/DialogJson.h"
#include "host/workbench/Export.h"
#include "host/workbench/Png.h"
#include "host/workbench/Requests.h"

namespace zz {

using nlohmann::json;

namespace {

// The connection a command came on, as the server stamped it; 0 for plain HTTP.
uint64_t clientOf(const json& command) {
    return command.value("client", uint64_t{0});
}

} // namespace

std::string statusText(int32_t status) {
    const auto code = static_cast<uint32_t>(status);
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xFF);
        if (c < 32 || c > 126) return std::to_string(status);
        text += c;
    }
    return "'" + text + "'";
}

// Runs the shown dialog on the host thread until an item ends it, taking the pages' commands meanwhile.
class Workbench::PageDialogDriver : public DialogDriver {
  public:
    explicit PageDialogDriver(Workbench& bench) : bench_(bench) {}

    void run(DialogModel& model, AdmDialog& dialog) override {
        bench_.dialogModel_ = &model;
        bench_.dialogs_.push_back(&dialog);
        bench_.lastDialogActivity_ = Clock::now();
        bench_.publishDialog();
        while (!dialog.endedWith) {
            std::optional<Job> job = bench_.queue_.take(bench_.options_.poll);
            if (job) job->answer(bench_.execute(job->command));
            if (bench_.queue_.closed()) break; // shutting down: the host cancels the dialog
            if (!dialog.endedWith) bench_.cancelOrphanedDialog(Clock::now());
        }
        if (bench_.dialogs_.size() == 1)
            bench_.lastDialogResult_ = dialog.endedWith.value_or(kADMCancelItemID);
        bench_.dialogs_.pop_back();
        if (bench_.dialogs_.empty()) bench_.dialogModel_ = nullptr;
        bench_.publishDialog();
    }

    void notShown() override {
        if (bench_.dialogs_.empty()) bench_.lastDialogResult_ = -1;
    }

  private:
    Workbench& bench_;
};

Workbench::Workbench(Options options, CommandQueue& queue, Outbox outbox)
    : options_(std::move(options)), queue_(queue), outbox_(std::move(outbox)),
      driver_(std::make_unique<PageDialogDriver>(*this)) {
    session_.host().setDialogDriver(driver_.get());
}

Workbench::~Workbench() {
    if (started_) {
        session_.abandonDrag();
        session_.shutdown();
    }
    session_.host().setDialogDriver(nullptr);
}

bool Workbench::start(std::string* error) {
    // What each preset does is played first: sessions of one module in one process take turns.
    notes_ = toolDialogNotes(options_.modulePath, nullptr);
    if (!session_.load(options_.modulePath, error)) return false;
    const SPErr status = session_.startup();
    if (status != kSPNoError) {
        if (error != nullptr) *error = "the module's start-up failed with " + statusText(status);
        return false;
    }
    started_ = true;
    if (session_.tool() == nullptr) {
        if (error != nullptr) *error = "the module added no tool";
        return false;
    }
    // The pointer is over the artboard: the tool sets its cursor, which the page then shows.
    session_.trackCursor(ToolInput{});
    return true;
}

const std::vector<Workbench::HandlerEntry>& Workbench::handlers() {
    static const std::vector<HandlerEntry> table = {
        {"state", &Workbench::state},
        {"mouseDown", &Workbench::toolEvent},
        {"drag", &Workbench::toolEvent},
        {"mouseUp", &Workbench::toolEvent},
        {"abandon", &Workbench::abandon},
        {"undo", &Workbench::undoRedo},
        {"redo", &Workbench::undoRedo},
        {"newDocument", &Workbench::newDocument},
        {"seed", &Workbench::seed},
        {"editOptions", &Workbench::editOptions},
        {"dialog", &Workbench::dialog},
        {"export", &Workbench::exportSvg},
        {"image", &Workbench::image},
        {"connected", &Workbench::connected},
        {"disconnected", &Workbench::disconnected},
    };
    return table;
}

bool Workbench::handlesEveryCommand() {
    const auto handled = [](std::string_view name) {
        return std::any_of(handlers().begin(), handlers().end(),
                           [&](const HandlerEntry& entry) { return name == entry.name; });
    };
    return std::all_of(commandRules().begin(), commandRules().end(),
                       [&](const CommandRule& rule) { return handled(rule.name); }) &&
           handled("connected") && handled("disconnected");
}

Reply Workbench::execute(const json& command) {
    try {
        return run(command);
    } catch (const std::exception& problem) {
        return Reply::error(500, std::string("the host failed: ") + problem.what());
    } catch (...) {
        return Reply::error(500, "the host failed");
    }
}

Reply Workbench::run(const json& command) {
    const std::string name = command.value("do", std::string());
    const auto entry = std::find_if(handlers().begin(), handlers().end(),
                                    [&](const HandlerEntry& candidate) { return name == candidate.name; });
    if (entry == handlers().end()) return Reply::error(400, "unknown command \"" + name + "\"");
    const CommandRule* rule = commandRule(name);
    if (!dialogs_.empty() && rule != nullptr && !rule->duringDialog)
        return Reply::error(409, "the dialog \"" + dialogs_.back()->name + "\" is open: \"" + name +
                                     "\" must wait until it ends");
    Reply reply = (this->*(entry->handler))(command);
    publishDocument();
    return reply;
}

void Workbench::idle(Clock::time_point now) {
    if (session_.dragging() && now - lastToolEvent_ > options_.dragTimeout)
        abandonDrag("no pointer event came within the drag time-out");
}

void Workbench::cancelOrphanedDialog(Clock::time_point now) {
    if (dialogs_.empty() || !clients_.empty() || now - lastDialogActivity_ < options_.dialogTimeout) return;
    endWithItem(*dialogModel_, *dialogs_.back(), kADMCancelItemID);
    lastDialogActivity_ = now;
}

void Workbench::abandonDrag(const std::string& why) {
    if (!session_.dragging()) return;
    session_.abandonDrag();
    publish({{"event", "abandoned"}, {"why", why}});
    publishDocument();
}

Reply Workbench::state(const json& command) {
    return answer(stateJson(), command);
}

Reply Workbench::abandon(const json& command) {
    // A caller without a connection (client 0) cannot tell its pages apart: its abandon ends whichever
    // drag is open.
    const uint64_t client = clientOf(command);
    const bool was = session_.dragging() && (client == 0 || client == dragOwner_);
    if (was) abandonDrag(command.value("why", std::string("the page went away")));
    return answer({{"abandoned", was}}, command);
}

Reply Workbench::undoRedo(const json& command) {
    session_.abandonDrag(); // a drag still open becomes a step of its own first
    const bool done = command["do"] == "undo" ? session_.undo() : session_.redo();
    return answer({{"done", done}}, command);
}

Reply Workbench::seed(const json& command) {
    const auto seed = static_cast<uint32_t>(command["seed"].get<uint64_t>());
    session_.host().random().seed(seed);
    // Every page shows the seed the document's art is drawn with.
    publish({{"event", "seed"}, {"seed", seed}});
    return answer({{"seed", seed}}, command);
}

Reply Workbench::editOptions(const json& command) {
    session_.abandonDrag();
    lastDialogResult_.reset();
    const SPErr status = session_.editOptions();
    json out = {{"status", status}, {"statusText", statusText(status)}};
    out["closedWith"] = lastDialogResult_ ? json(*lastDialogResult_) : json(nullptr);
    return answer(std::move(out), command);
}

Reply Workbench::connected(const json& command) {
    clients_[clientOf(command)] = ClientView{}; // a new page holds no document yet
    return Reply::json({{"ok", true}});
}

Reply Workbench::disconnected(const json& command) {
    const uint64_t client = clientOf(command);
    clients_.erase(client);
    lastDialogActivity_ = Clock::now();
    if (session_.dragging() && client == dragOwner_) abandonDrag("the page's connection closed");
    return Reply::json({{"ok", true}});
}

Reply Workbench::dialog(const json& command) {
    if (dialogs_.empty()) {
        if (command["action"] == "state") return answer({{"dialog", nullptr}}, command);
        return Reply::error(409, "no dialog is open");
    }
    lastDialogActivity_ = Clock::now();
    AdmDialog& dialog = *dialogs_.back();
    DialogModel& model = *dialogModel_;
    const std::string action = command["action"].get<std::string>();
    std::optional<std::string> refusal;
    if (action == "value") {
        const json& value = command["value"];
        refusal = typeValue(model, dialog, command["item"].get<int32_t>(),
                            value.is_boolean() ? (value.get<bool>() ? 1.0 : 0.0) : value.get<double>());
    } else if (action == "choose") {
        refusal = chooseEntry(model, dialog, command["item"].get<int32_t>(), command["entry"].get<int32_t>());
    } else if (action == "click") {
        refusal = clickItem(model, dialog, command["item"].get<int32_t>());
    } else if (action == "end") {
        endWithItem(model, dialog, command["item"].get<int32_t>());
    }
    json out = {{"refusal", refusal ? json(*refusal) : json(nullptr)}};
    if (dialog.endedWith) {
        out["dialog"] = nullptr;
        out["endedWith"] = *dialog.endedWith;
    } else {
        out["dialog"] = dialogJson(dialog, notes_);
        publishDialog();
    }
    return answer(std::move(out), command);
}

Reply Workbench::toolEvent(const json& command) {
    const std::string name = command["do"].get<std::string>();
    if (name != "mouseDown" && !session_.dragging())
        return Reply::error(409, "no drag is open: \"" + name + "\" needs a mouseDown first");
    const uint64_t client = clientOf(command);
    if (session_.dragging() && client != dragOwner_)
        return Reply::error(409, "another page is drawing: \"" + name + "\" must wait until its drag ends");
    ToolInput input;
    const json* at = command.contains("at")   ? &command["at"]
                     : command.contains("to") ? &command["to"]
                                              : nullptr;
    if (at != nullptr)
        input.point = AIRealPoint{static_cast<AIReal>((*at)[0].get<double>()),
                                  static_cast<AIReal>((*at)[1].get<double>())};
    else
        input.point = lastPoint_; // a mouse up without a point is where the drag was
    input.modifiers = command.value("modifiers", uint32_t{0});
    input.pressure = static_cast<int16_t>(command.value("pressure", int{kMaxPointPressure}));
    // SystemHasPressure answers for the device of the event: a pen has pressure, a mouse or a finger has
    // none. A command that names no device but gives a pressure comes from one that has it.
    const std::string pointer =
        command.value("pointer", std::string(command.contains("pressure") ? "pen" : "mouse"));
    session_.host().facts().pressure = pointer == "pen";
    if (name == "mouseDown" && session_.dragging()) abandonDrag("a new drag began");
    if (name == "mouseDown") dragOwner_ = client;
    lastToolEvent_ = Clock::now();
    lastPoint_ = input.point;
    SPErr status = kSPNoError;
    if (name == "mouseDown")
        status = session_.mouseDown(input);
    else if (name == "drag")
        status = session_.drag(input);
    else
        status = session_.mouseUp(input);
    return answer({{"status", status}, {"statusText", statusText(status)}}, command);
}

namespace {

AIColor colourOf(const std::string& hex, int16_t colorModel) {
    const auto channel = [&](size_t at) {
        return static_cast<AIReal>(std::stoi(hex.substr(at, 2), nullptr, 16)) / 255.0f;
    };
    const AIReal r = channel(1), g = channel(3), b = channel(5);
    AIColor colour{};
    if (colorModel == kDocGrayColor) {
        colour.kind = kGrayColor;
        colour.value[0] = 1.0f - (0.299f * r + 0.587f * g + 0.114f * b);
    } else if (colorModel == kDocCMYKColor) {
        colour.kind = kFourColor;
        const AIReal k = 1.0f - std::max({r, g, b});
        const AIReal rest = 1.0f - k;
        colour.value[0] = rest > 0 ? (rest - r) / rest : 0.0f;
        colour.value[1] = rest > 0 ? (rest - g) / rest : 0.0f;
        colour.value[2] = rest > 0 ? (rest - b) / rest : 0.0f;
        colour.value[3] = k;
    } else {
        colour.kind = kThreeColor;
        colour.value[0] = r;
        colour.value[1] = g;
        colour.value[2] = b;
    }
    return colour;
}

} // namespace

Reply Workbench::newDocument(const json& command) {
    DocumentFacts facts;
    const std::string model = command.value("colorModel", std::string("rgb"));
    facts.colorModel = model == "gray" ? kDocGrayColor : model == "cmyk" ? kDocCMYKColor : kDocRGBColor;
    if (command.contains("page")) {
        facts.pageWidth = static_cast<AIReal>(command["page"][0].get<double>());
        facts.pageHeight = static_cast<AIReal>(command["page"][1].get<double>());
    }
    if (command.contains("swatches"))
        facts.swatches = makeSwatchList(command["swatches"].get<int>(), facts.colorModel);
    facts.namedStyles = command.value("namedStyles", 0);
    facts.hasPressure = session_.host().facts().pressure;
    session_.newDocument(facts);
    if (command.contains("paint")) {
        AIPathStyle paint = session_.document().currentPaint();
        const json& given = command["paint"];
        for (const char* side : {"fill", "stroke"}) {
            if (!given.contains(side)) continue;
            const bool fill = side[0] == 'f';
            AIBoolean& painted = fill ? paint.fillPaint : paint.strokePaint;
            AIColor& colour = fill ? paint.fill.color : paint.stroke.color;
            if (given[side].is_null()) {
                painted = false;
            } else {
                painted = true;
                colour = colourOf(given[side].get<std::string>(), facts.colorModel);
            }
        }
        if (given.contains("strokeWidth"))
            paint.stroke.width = static_cast<AIReal>(given["strokeWidth"].get<double>());
        session_.document().setCurrentPaint(paint);
    }
    return answer(json::object(), command);
}

Reply Workbench::image(const json& command) {
    const ModuleResources* resources = session_.host().resources();
    if (resources == nullptr) return Reply::error(404, "the module carries no resources");
    const std::string kind = command["kind"].get<std::string>();
    try {
        if (kind == "icon") {
            const auto& tools = session_.host().tools();
            const IconRecord* icon = tools.empty() ? nullptr : session_.host().icon(tools.front().icon);
            // The host's rule: the icon asked for as number N, index I is the module's icon group N + I.
            const int64_t group = icon != nullptr ? int64_t{icon->id} + icon->index : 0;
            if (group > 0 && group <= 0xFFFF)
                if (auto picture = loadIcon(*resources, static_cast<uint16_t>(group)))
                    return Reply::bytes("image/png", pngOf(*picture));
            return Reply::error(404, "the tool has no icon");
        }
        if (kind == "cursor") {
            const std::optional<int32_t> number = session_.host().currentCursor();
            if (number && *number > 0 && *number <= 0xFFFF)
                if (auto cursor = loadCursor(*resources, static_cast<uint16_t>(*number)))
                    return Reply::bytes("image/png", pngOf(cursor->image));
            return Reply::error(404, "the tool set no cursor");
        }
        const int64_t id = command["id"].get<int64_t>();
        if (auto picture = loadBitmap(*resources, static_cast<uint16_t>(id)))
            return Reply::bytes("image/png", pngOf(*picture));
        return Reply::error(404, "the module has no bitmap " + std::to_string(id));
    } catch (const ResourceError& problem) {
        return Reply::error(404, std::string("the picture cannot be read: ") + problem.what());
    }
}

Reply Workbench::exportSvg(const json& command) {
    ExportSettings settings;
    settings.area = command.value("area", std::string("page")) == "art" ? ExportSettings::Area::Art
                                                                        : ExportSettings::Area::Page;
    std::string why;
    std::optional<std::string> svg = exportSvgText(session_.document(), settings, &why);
    if (!svg) return Reply::error(409, "the document cannot be exported: " + why);
    return Reply::bytes("image/svg+xml", std::move(*svg));
}

json Workbench::stateJson() {
    json out;
    Host& host = session_.host();
    if (!host.tools().empty()) {
        const ToolRecord& tool = host.tools().front();
        out["tool"] = {{"title", tool.title}, {"tooltip", tool.tooltip}};
    } else {
        out["tool"] = nullptr;
    }
    out["cursor"] = nullptr;
    if (const ModuleResources* resources = host.resources())
        if (const std::optional<int32_t> number = host.currentCursor();
            number && *number > 0 && *number <= 0xFFFF)
            try {
                if (auto cursor = loadCursor(*resources, static_cast<uint16_t>(*number)))
                    out["cursor"] = {{"hot", {cursor->hotX, cursor->hotY}}};
            } catch (const ResourceError&) {
                out["cursor"] = nullptr; // the page shows a crosshair of its own
            }
    const DocumentFacts& facts = session_.document().facts();
    static constexpr const char* kModels[] = {"gray", "rgb", "cmyk"};
    out["document"] = {
        {"colorModel", facts.colorModel >= 0 && facts.colorModel <= 2 ? kModels[facts.colorModel] : "rgb"},
        {"page", {facts.pageWidth, facts.pageHeight}},
        {"swatches", facts.swatches.size()},
        {"namedStyles", facts.namedStyles}};
    out["dialog"] = dialogs_.empty() ? json(nullptr) : dialogJson(*dialogs_.back(), notes_);
    out["seed"] = host.random().seeded();
    return out;
}

Reply Workbench::answer(json out, const json& command) {
    const Document& document = session_.document();
    out["ok"] = true;
    out["revision"] = document.revision();
    out["dragging"] = session_.dragging();
    out["undo"] = document.undoSteps();
    out["redo"] = document.redoSteps();
    const auto known = clients_.find(clientOf(command));
    std::optional<uint64_t> since;
    if (command.contains("since"))
        since = command["since"].get<uint64_t>();
    else if (known != clients_.end())
        since = known->second.revision;
    if (known != clients_.end()) known->second = currentView();
    if (!since) return Reply::json(out);
    return Reply{200, "application/json", withDelta(out, deltaText(document, *since))};
}

Workbench::ClientView Workbench::currentView() {
    const Document& document = session_.document();
    return ClientView{document.revision(), document.undoSteps(), document.redoSteps()};
}

void Workbench::publishDocument() {
    const Document& document = session_.document();
    const ClientView now = currentView();
    for (auto& [client, view] : clients_) {
        if (view == now) continue;
        const json message = {{"event", "document"},
                              {"revision", now.revision},
                              {"dragging", session_.dragging()},
                              {"undo", now.undo},
                              {"redo", now.redo}};
        const uint64_t since = view.revision;
        view = now;
        if (outbox_) outbox_(client, withDelta(message, deltaText(document, since)));
    }
}

void Workbench::publishDialog() {
    publish({{"event", "dialog"},
             {"dialog", dialogs_.empty() ? json(nullptr) : dialogJson(*dialogs_.back(), notes_)}});
}

void Workbench::publish(const json& message) {
    if (!outbox_) return;
    const std::string text = safeDump(message);
    for (const auto& entry : clients_)
        outbox_(entry.first, text);
}

} // namespace zz

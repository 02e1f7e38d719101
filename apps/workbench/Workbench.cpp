#include "apps/workbench/Workbench.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "ADMDialog.h"
#include "host/document/SvgExport.h"
#include "host/resources/ModuleResources.h"
#include "host/resources/ResourceFormats.h"
#include "apps/script/ScriptLimits.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"
#include "apps/workbench/DeltaJson.h"
#include "apps/workbench/Export.h"
#include "apps/workbench/Png.h"
#include "apps/workbench/Requests.h"

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
        abandonDrag("the workbench is stopping");
        save();
        session_.shutdown();
    }
    session_.host().setDialogDriver(nullptr);
}

bool Workbench::start(std::string* error) {
    // What each preset does is played first: sessions of one module in one process take turns.
    notes_ = options_.notes ? *options_.notes : toolDialogNotes(options_.modulePath, nullptr);
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
    if (options_.documentsPath.empty()) {
        json facts = {{"pressure", session_.host().facts().pressure}};
        return makeDocument(std::move(facts), error);
    }
    folder_ = std::make_unique<DocumentFolder>(options_.documentsPath);
    return folder_->prepare(error) && openLatest(error);
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
        {"documents", &Workbench::documents},
        {"open", &Workbench::openDocument},
        {"rename", &Workbench::renameDocument},
        {"duplicate", &Workbench::duplicateDocument},
        {"delete", &Workbench::deleteDocument},
        {"restore", &Workbench::restoreDocument},
        {"script", &Workbench::script},
        {"thumbnail", &Workbench::thumbnail},
        {"connected", &Workbench::connected},
        {"disconnected", &Workbench::disconnected},
        {"storeThumbnail", &Workbench::storeThumbnail},
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
           handled("connected") && handled("disconnected") && handled("storeThumbnail");
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
    // The change is on disk before anyone hears of it.
    if (std::optional<std::string> problem = save())
        reply = Reply::error(500, "the change is made but could not be saved: " + *problem);
    publishDocument();
    return reply;
}

void Workbench::idle(Clock::time_point now) {
    if (session_.dragging() && now - lastToolEvent_ > options_.dragTimeout) {
        abandonDrag("no pointer event came within the drag time-out");
        if (std::optional<std::string> problem = save()) publish({{"event", "unsaved"}, {"why", *problem}});
    }
    if (dialogs_.empty()) makeThumbnailIfDue(now, false);
}

void Workbench::cancelOrphanedDialog(Clock::time_point now) {
    if (dialogs_.empty() || !clients_.empty() || now - lastDialogActivity_ < options_.dialogTimeout) return;
    endWithItem(*dialogModel_, *dialogs_.back(), kADMCancelItemID);
    lastDialogActivity_ = now;
}

void Workbench::abandonDrag(const std::string& why) {
    if (!session_.dragging()) return;
    session_.abandonDrag();
    finish({{"do", "abandon"}});
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
    // As in a script: the open drag's undo step is its own until its mouse up, so undo and redo wait for it
    // (the page that draws sends none meanwhile; another page is told why).
    if (const std::optional<std::string> refusal = session_.historyRefusal())
        return Reply::error(409, *refusal);
    const std::string name = command["do"].get<std::string>();
    const bool done = name == "undo" ? session_.undo() : session_.redo();
    if (done) finish({{"do", name}});
    return answer({{"done", done}}, command);
}

Reply Workbench::seed(const json& command) {
    const auto seed = static_cast<uint32_t>(command["seed"].get<uint64_t>());
    session_.host().random().seed(seed);
    finish({{"do", "seed"}, {"seed", seed}});
    // Every page shows the seed the document's art is drawn with.
    publish({{"event", "seed"}, {"seed", seed}});
    return answer({{"seed", seed}}, command);
}

Reply Workbench::editOptions(const json& command) {
    abandonDrag("the options were opened");
    lastDialogResult_.reset();
    dialogRecord_ = json{{"do", "editOptions"}, {"actions", json::array()}};
    ToolInput input;
    input.point = lastPoint_;
    const SPErr status = session_.editOptions(input);
    json record = std::move(*dialogRecord_);
    dialogRecord_.reset();
    record["close"] = lastDialogResult_.value_or(kADMCancelItemID);
    if (record["actions"].empty()) record.erase("actions");
    finish(std::move(record));
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
    } else if (action == "select") {
        refusal = chooseEntry(model, dialog, command["item"].get<int32_t>(), command["entry"].get<int32_t>());
    } else if (action == "click") {
        refusal = clickItem(model, dialog, command["item"].get<int32_t>());
    } else if (action == "close") {
        endWithItem(model, dialog, command["item"].get<int32_t>());
    }
    // The options dialog's own actions are kept to be played again; those the dialog refused changed
    // nothing, and a dialog it opens in turn ends as a script's would.
    if (dialogRecord_ && dialogs_.size() == 1 && !refusal && action != "close" && action != "state") {
        json step = {{"item", command["item"]}};
        if (action == "value") step["value"] = command["value"];
        if (action == "select") step["select"] = command["entry"];
        if (action == "click") step["click"] = true;
        (*dialogRecord_)["actions"].push_back(std::move(step));
    }
    json out = {{"refusal", refusal ? json(*refusal) : json(nullptr)}};
    if (dialog.endedWith) {
        out["dialog"] = nullptr;
        out["closedWith"] = *dialog.endedWith;
    } else {
        out["dialog"] = notedDialogView(dialog, notes_);
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
        return Reply::error(409, "another tab is drawing: \"" + name + "\" must wait until its drag ends");
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
    recordToolEvent(name, input, pointer);
    if (name == "mouseUp") finish(nullptr);
    return answer({{"status", status}, {"statusText", statusText(status)}}, command);
}

namespace {

// A colour of the page, "#rrggbb", in the document's colour model.
AIColor colourOf(const std::string& hex, int16_t colorModel) {
    const auto channel = [&](size_t at) {
        return static_cast<AIReal>(std::stoi(hex.substr(at, 2), nullptr, 16)) / 255.0f;
    };
    return colorInModel(colorModel, channel(1), channel(3), channel(5));
}

} // namespace

// A colour of the page ("#rrggbb") as a script's colour in the document's colour model.
json scriptColour(const std::string& hex, int16_t colorModel) {
    const AIColor colour = colourOf(hex, colorModel);
    json values = json::array();
    for (int i = 0; i < colourValueCount(colour.kind); ++i)
        values.push_back(colour.value[i]);
    return {{"kind", colour.kind}, {"values", std::move(values)}};
}

Reply Workbench::newDocument(const json& command) {
    const std::string model = command.value("colorModel", std::string("rgb"));
    json facts = {{"colorModel", model}, {"pressure", session_.host().facts().pressure}};
    for (const char* key : {"page", "swatches", "namedStyles"})
        if (command.contains(key)) facts[key] = command[key];
    if (command.contains("paint")) {
        const int16_t colorModel = colorModelNamed(model);
        json paint = json::object();
        const json& given = command["paint"];
        for (const char* side : {"fill", "stroke"})
            if (given.contains(side))
                paint[side] = given[side].is_null()
                                  ? json(nullptr)
                                  : scriptColour(given[side].get<std::string>(), colorModel);
        if (given.contains("strokeWidth")) paint["strokeWidth"] = given["strokeWidth"];
        facts["paint"] = std::move(paint);
    }
    std::string why;
    if (!makeDocument(std::move(facts), &why)) return Reply::error(500, why);
    return answer(json::object(), command);
}

// ---- documents
// -------------------------------------------------------------------------------------------------

namespace {

// A document's script is one more a script may be: its events and the art they make within a script's
// limits.
static_assert(kMaxDocumentEvents + 2 <= kMaxScriptEvents);
static_assert(kMaxDocumentArt <= kMaxScriptArtObjects);

json summaryJson(const DocumentSummary& summary, const std::string& current) {
    return {{"id", summary.id},
            {"name", summary.name},
            {"created", summary.created},
            {"modified", summary.modified},
            {"deleted", summary.deleted ? json(*summary.deleted) : json(nullptr)},
            {"art", summary.art},
            {"steps", summary.steps},
            {"bytes", summary.bytes},
            {"thumbnail", summary.thumbnail},
            {"problem", summary.problem.empty() ? json(nullptr) : json(summary.problem)},
            {"current", summary.id == current}};
}

// A document's name as a person typed it: trimmed, one line, at most 200 bytes.
std::optional<std::string> documentName(const json& value, std::string* why) {
    std::string name = value.get<std::string>();
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t'; };
    while (!name.empty() && blank(name.back()))
        name.pop_back();
    std::size_t first = 0;
    while (first < name.size() && blank(name[first]))
        ++first;
    name.erase(0, first);
    if (name.empty()) {
        *why = "a document's name must not be empty";
        return std::nullopt;
    }
    if (std::any_of(name.begin(), name.end(), [](unsigned char c) { return c < 32 || c == 127; })) {
        *why = "a document's name must be one line without control characters";
        return std::nullopt;
    }
    return name;
}

} // namespace

bool Workbench::openLatest(std::string* error) {
    for (const DocumentSummary& summary : folder_->list()) {
        if (!summary.problem.empty() || summary.deleted) continue;
        std::string why;
        std::unique_ptr<DocumentFile> file = folder_->open(summary.id, &why);
        if (file && switchTo(std::move(file), &why)) return true;
        if (queue_.closed()) {
            *error = why;
            return false;
        }
    }
    json facts = {{"pressure", session_.host().facts().pressure}};
    return makeDocument(std::move(facts), error);
}

bool Workbench::begin(const DocumentStart& start, const std::vector<json>& events, std::string* error) {
    Host& host = session_.host();
    session_.newDocument(documentFacts(start.document));
    host.facts().pressure = start.document.value("pressure", true);
    host.random().seed(start.seed);
    ToolSettings* settings = settingsBlock(host);
    if (settings == nullptr) {
        *error = "the module holds no settings record";
        return false;
    }
    applySettingsPatch(*settings, start.settings);
    dragEvents_.clear();
    lastPoint_ = AIRealPoint{0.0f, 0.0f};
    bool played = true;
    {
        EventPlayer player(session_);
        for (std::size_t index = 0; played && index < events.size(); ++index) {
            // A workbench told to stop stops here, whatever is left of a long document.
            if (queue_.closed()) {
                *error = "the workbench is stopping";
                played = false;
                break;
            }
            std::optional<int64_t> result;
            SessionError problem;
            played = player.play(index, events[index], &result, &problem);
            if (!played) *error = "the document cannot be played again: " + problem.message;
        }
        lastPoint_ = player.cursor();
    }
    session_.host().setDialogDriver(driver_.get());
    // A drag the document holds no end of (its server stopped mid-drag) ends where it was.
    session_.abandonDrag();
    start_ = start;
    history_ = played ? events : std::vector<json>{};
    // Every page is sent the whole document again.
    for (auto& entry : clients_)
        entry.second = ClientView{};
    publish({{"event", "file"}, {"file", fileJson()}});
    publish({{"event", "seed"}, {"seed", host.random().seeded()}});
    return played;
}

bool Workbench::switchTo(std::unique_ptr<DocumentFile> file, std::string* error) {
    // The folder checked the kinds of its events as it read them.
    const json script = documentScript(file->start(), file->events());
    if (std::optional<std::string> problem = checkScript(script)) {
        *error = "the document \"" + file->name() + "\" is damaged: " + *problem;
        return false;
    }
    makeThumbnailIfDue(Clock::now(), true);
    // Everything done to the document open now has been written (the callers save first): its start and
    // history give it back exactly, undo and redo steps included, should the other one fail to play.
    std::unique_ptr<DocumentFile> previous = std::move(file_);
    const DocumentStart previousStart = start_;
    std::vector<json> previousHistory = history_;
    file_ = std::move(file);
    if (begin(file_->start(), file_->events(), error)) return true;
    file_ = std::move(previous);
    std::string again;
    if (file_) begin(previousStart, previousHistory, &again);
    return false;
}

bool Workbench::makeDocument(json facts, std::string* error) {
    abandonDrag("a new document was made");
    if (std::optional<std::string> problem = save()) {
        *error = "the document before could not be saved: " + *problem;
        return false;
    }
    Host& host = session_.host();
    DocumentStart start;
    start.document = std::move(facts);
    start.seed = host.random().seeded();
    if (ToolSettings* settings = settingsBlock(host)) start.settings = settingsToJson(*settings);
    if (!folder_) return begin(start, {}, error);
    makeThumbnailIfDue(Clock::now(), true);
    std::unique_ptr<DocumentFile> file =
        folder_->create(folder_->freeName("Untitled", file_.get()), start, error);
    if (!file) return false;
    file_ = std::move(file);
    return begin(start, {}, error);
}

void Workbench::recordToolEvent(const std::string& name, const ToolInput& input, const std::string& pointer) {
    json event = {{"do", name},
                  {name == "drag" ? "to" : "at", {input.point.h, input.point.v}},
                  {"modifiers", input.modifiers},
                  {"pressure", input.pressure},
                  {"pointer", pointer}};
    dragEvents_.push_back(std::move(event));
}

void Workbench::finish(json event) {
    for (json& step : dragEvents_)
        unsaved_.push_back(std::move(step));
    dragEvents_.clear();
    if (!event.is_null()) unsaved_.push_back(std::move(event));
}

std::optional<std::string> Workbench::save() {
    if (unsaved_.empty()) return std::nullopt;
    if (file_) {
        std::string why;
        if (!file_->append(unsaved_, artCount(), &why)) return why;
    }
    history_.insert(history_.end(), std::make_move_iterator(unsaved_.begin()),
                    std::make_move_iterator(unsaved_.end()));
    unsaved_.clear();
    thumbnailDue_ = true;
    lastChange_ = Clock::now();
    return std::nullopt;
}

void Workbench::makeThumbnailIfDue(Clock::time_point now, bool leaving) {
    if (!thumbnailDue_ || !file_ || !options_.thumbnailer || session_.dragging()) return;
    if (!leaving && now - lastChange_ < options_.thumbnailDelay) return;
    thumbnailDue_ = false;
    std::string why;
    if (std::optional<std::string> svg = exportSvgText(session_.document(), ExportSettings{}, &why))
        options_.thumbnailer(file_->id(), std::move(*svg));
}

uint64_t Workbench::artCount() {
    uint64_t count = 0;
    forEachNode(&session_.document().layer(), [&](const Art*) { ++count; });
    return count - 1; // the layer itself
}

json Workbench::fileJson() {
    if (!file_) return {{"id", nullptr}, {"name", "Untitled"}, {"kept", false}};
    return {{"id", file_->id()}, {"name", file_->name()}, {"kept", true}};
}

Reply Workbench::documents(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    save();
    json list = json::array();
    const std::string current = file_ ? file_->id() : std::string();
    for (const DocumentSummary& summary : folder_->list(file_.get()))
        list.push_back(summaryJson(summary, current));
    return answer({{"documents", std::move(list)}, {"folder", folder_->path()}}, command);
}

Reply Workbench::openDocument(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    const std::string id = command["document"].get<std::string>();
    if (file_ && file_->id() == id) return answer({{"file", fileJson()}}, command);
    const std::optional<DocumentSummary> summary = folder_->summary(id);
    if (!summary) return Reply::error(404, "there is no document " + id);
    if (!summary->problem.empty()) return Reply::error(409, "\"" + summary->name + "\" " + summary->problem);
    if (summary->deleted)
        return Reply::error(409, "\"" + summary->name + "\" is in the recycle bin: restore it first");
    abandonDrag("another document was opened");
    if (std::optional<std::string> problem = save())
        return Reply::error(500, "the document open now could not be saved: " + *problem);
    std::string why;
    std::unique_ptr<DocumentFile> file = folder_->open(id, &why);
    if (!file) return Reply::error(409, why);
    if (!switchTo(std::move(file), &why)) return Reply::error(409, why);
    return answer({{"file", fileJson()}}, command);
}

Reply Workbench::renameDocument(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    std::string why;
    const std::optional<std::string> name = documentName(command["name"], &why);
    if (!name) return Reply::error(400, why);
    const std::string id = command.value("document", file_ ? file_->id() : std::string());
    if (file_ && file_->id() == id) {
        if (!file_->rename(*name, &why)) return Reply::error(500, why);
        publish({{"event", "file"}, {"file", fileJson()}});
    } else if (!folder_->rename(id, *name, &why)) {
        return Reply::error(409, why);
    }
    return answer({{"renamed", id}}, command);
}

Reply Workbench::duplicateDocument(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    if (std::optional<std::string> problem = save()) return Reply::error(500, *problem);
    const std::string id = command.value("document", file_ ? file_->id() : std::string());
    const std::optional<DocumentSummary> summary = folder_->summary(id, file_.get());
    if (!summary || !summary->problem.empty())
        return Reply::error(404, "there is no document " + id + " to copy");
    std::string why;
    const std::optional<std::string> copy =
        folder_->duplicate(id, folder_->freeName(summary->name + " copy", file_.get()), &why, file_.get());
    if (!copy) return Reply::error(500, why);
    return answer({{"copy", *copy}}, command);
}

Reply Workbench::deleteDocument(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    const std::string id = command["document"].get<std::string>();
    std::string why;
    if (file_ && file_->id() == id) {
        // The drawing on every page goes to the recycle bin: they go on with the latest other document.
        abandonDrag("the document was deleted");
        if (std::optional<std::string> problem = save()) return Reply::error(500, *problem);
        if (!file_->setDeleted(true, &why)) return Reply::error(500, why);
        makeThumbnailIfDue(Clock::now(), true);
        file_.reset();
        if (!openLatest(&why)) return Reply::error(500, why);
    } else if (!folder_->setDeleted(id, true, &why)) {
        return Reply::error(409, why);
    }
    return answer({{"deleted", id}, {"file", fileJson()}}, command);
}

Reply Workbench::restoreDocument(const json& command) {
    if (!folder_) return Reply::error(409, "this workbench keeps no documents (it has no documents folder)");
    const std::string id = command["document"].get<std::string>();
    std::string why;
    if (!(file_ && file_->id() == id) && !folder_->setDeleted(id, false, &why)) return Reply::error(409, why);
    return answer({{"restored", id}}, command);
}

Reply Workbench::script(const json&) {
    std::vector<json> events = history_;
    events.insert(events.end(), unsaved_.begin(), unsaved_.end());
    Reply reply = Reply::bytes("application/json", documentScript(start_, events).dump(1) + "\n");
    reply.documentName = file_ ? file_->name() : std::string("Untitled");
    return reply;
}

Reply Workbench::thumbnail(const json& command) {
    if (!folder_) return Reply::error(404, "this workbench keeps no documents");
    const std::string id = command["document"].get<std::string>();
    std::optional<std::string> png = file_ && file_->id() == id ? file_->thumbnail() : folder_->thumbnail(id);
    if (!png) return Reply::error(404, "the document " + id + " has no thumbnail yet");
    return Reply::bytes("image/png", std::move(*png));
}

Reply Workbench::storeThumbnail(const json& command) {
    const std::string id = command["document"].get<std::string>();
    const std::string png(command["png"].get_binary().begin(), command["png"].get_binary().end());
    std::string why;
    const bool stored = file_ && file_->id() == id ? file_->storeThumbnail(png, &why)
                                                   : folder_ && folder_->storeThumbnail(id, png, &why);
    return Reply::json({{"ok", stored}});
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
    Reply reply = Reply::bytes("image/svg+xml", std::move(*svg));
    reply.documentName = file_ ? file_->name() : std::string("Untitled");
    return reply;
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
    out["dialog"] = dialogs_.empty() ? json(nullptr) : notedDialogView(*dialogs_.back(), notes_);
    out["seed"] = host.random().seeded();
    out["file"] = fileJson();
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
    return Reply{200, "application/json", withDelta(out, deltaText(document, *since)), {}};
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
             {"dialog", dialogs_.empty() ? json(nullptr) : notedDialogView(*dialogs_.back(), notes_)}});
}

void Workbench::publish(const json& message) {
    if (!outbox_) return;
    const std::string text = safeDump(message);
    for (const auto& entry : clients_)
        outbox_(entry.first, text);
}

} // namespace zz

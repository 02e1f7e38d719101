#include "host/core/ToolSession.h"

#include "SPMessages.h"
#include "host/document/SvgExport.h"
#include "host/suites/ArtLimits.h"

namespace zz {

bool ToolSession::load(const std::string& path, std::string* error) {
    modulePath_ = path;
    return host_.loadModule(path, error);
}

SPErr ToolSession::send(const char* caller, const char* selector) {
    // A plug-in reads the record as its caller's kind (a message may name any caller): the record is as
    // large as the largest kind, zero after the common header, so that such a read stays inside it.
    AIToolMessage message{};
    message.d = SPMessageData{kSPValidSPMessageData, host_.self(), globals_, host_.basicSuite()};
    const SPErr result = host_.sendMessage(caller, selector, &message);
    globals_ = message.d.globals;
    return result;
}

SPErr ToolSession::sendTool(const char* selector, const ToolInput& input, bool mouseDown) {
    EventState& state = host_.event();
    state.point = input.point;
    state.modifiers = input.modifiers;
    state.mouseDown = mouseDown;

    AIToolMessage message{};
    message.d = SPMessageData{kSPValidSPMessageData, host_.self(), globals_, host_.basicSuite()};
    message.tool = tool();
    message.cursor = input.point;
    message.pressure = input.pressure;
    const SPErr result = host_.sendMessage(kCallerAITool, selector, &message);
    globals_ = message.d.globals;
    state = EventState{};
    return result;
}

SPErr ToolSession::startup() {
    return send(kSPInterfaceCaller, kSPInterfaceStartupSelector);
}

SPErr ToolSession::about() {
    return send(kSPInterfaceCaller, kSPInterfaceAboutSelector);
}

SPErr ToolSession::shutdown() {
    return send(kSPInterfaceCaller, kSPInterfaceShutdownSelector);
}

SPErr ToolSession::unload() {
    // The plug-in hands over what must survive, then its code really leaves memory.
    const SPErr result = send(kSPAccessCaller, kSPAccessUnloadSelector);
    host_.unloadModule();
    return result;
}

bool ToolSession::reload(SPErr* result, std::string* error) {
    if (!host_.loadModule(modulePath_, error)) return false;
    const SPErr status = send(kSPAccessCaller, kSPAccessReloadSelector);
    if (result != nullptr) *result = status;
    return true;
}

SPErr ToolSession::message(const char* caller, const char* selector) {
    return send(caller, selector);
}

SPErr ToolSession::mouseDown(const ToolInput& input) {
    document().beginUndoContext();
    beginArtContext();
    dragging_ = true;
    return sendTool(kSelectorAIToolMouseDown, input, true);
}

SPErr ToolSession::drag(const ToolInput& input) {
    return sendTool(kSelectorAIToolMouseDrag, input, true);
}

SPErr ToolSession::mouseUp(const ToolInput& input) {
    const SPErr result = sendTool(kSelectorAIToolMouseUp, input, false);
    document().endUndoContext();
    dragging_ = false;
    return result;
}

SPErr ToolSession::trackCursor(const ToolInput& input) {
    return sendTool(kSelectorAITrackToolCursor, input, false);
}

SPErr ToolSession::editOptions(const ToolInput& input) {
    return sendTool(kSelectorAIEditToolOptions, input, false);
}

SPErr ToolSession::select(const ToolInput& input) {
    return sendTool(kSelectorAISelectTool, input, false);
}

SPErr ToolSession::deselect(const ToolInput& input) {
    return sendTool(kSelectorAIDeselectTool, input, false);
}

AIToolHandle ToolSession::tool() {
    return host_.tools().empty() ? nullptr : host_.toolHandle(host_.tools().front());
}

void ToolSession::abandonDrag() {
    if (!dragging_) return;
    document().endUndoContext();
    dragging_ = false;
}

std::optional<std::string> ToolSession::historyRefusal() const {
    if (dragging_) return std::string("refused while a drag is open (undo and redo wait for its mouse up)");
    return std::nullopt;
}

void ToolSession::newDocument(DocumentFacts facts) {
    abandonDrag();
    document().reset(std::move(facts));
    // A fresh document starts from the paint its facts give for new art (the colour model's default when
    // they give none), so every new document of the session takes the same paint.
    document().setCurrentPaint(startingPaint(document().facts()));
}

bool ToolSession::exportSvg(const std::string& path, std::string* error) {
    return writeSvg(document(), path, error);
}

} // namespace zz

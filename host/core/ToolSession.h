// One plug-in module at work in the host, as a drawing application's user interface drives it: the loaded
// module, its document and the word the host keeps for the plug-in between messages. Front ends (the script
// runner, the benchmarks, an interactive workbench) drive the module through this object and never build a
// message themselves.
//
// Every message carries the common header: check word, the plug-in reference, the kept globals word and the
// basic suite; whatever the plug-in leaves in the globals word is kept for the next message. Tool messages
// add the tool (the first one the module added, null before), the cursor point and the pen pressure, and the
// modifier keys are what the ADM Tracker suite reports while the message is answered. A drag is bracketed by
// the document's undo context: mouse down opens it before the message, mouse up closes it after.
#ifndef ZZ_HOST_CORE_TOOL_SESSION_H
#define ZZ_HOST_CORE_TOOL_SESSION_H

#include <cstdint>
#include <optional>
#include <string>

#include "AITool.h"
#include "host/core/Host.h"

namespace zz {

// What the pointer and the keyboard say during one tool event.
struct ToolInput {
    AIRealPoint point{0.0f, 0.0f};
    uint32_t modifiers = 0;
    int16_t pressure = kMaxPointPressure;
};

class ToolSession {
  public:
    ToolSession() = default;
    ToolSession(const ToolSession&) = delete;
    ToolSession& operator=(const ToolSession&) = delete;

    Host& host() { return host_; }
    Document& document() { return host_.document(); }

    // Loads the module at `path` (see Host::loadModule); remembered for reload(). False with the reason.
    bool load(const std::string& path, std::string* error);
    bool loaded() { return host_.module().isOpen(); }

    // ---- the plug-in's life ----
    SPErr startup();
    SPErr about();
    SPErr shutdown();
    // "Unload", after which the module is really unmapped; the host keeps blocks, tools and the record.
    SPErr unload();
    // Maps the module again and sends "Reload". False (nothing sent) when the module cannot be mapped.
    bool reload(SPErr* result, std::string* error);
    // Any message with the common header only.
    SPErr message(const char* caller, const char* selector);

    // ---- the tool ----
    SPErr mouseDown(const ToolInput& input);
    SPErr drag(const ToolInput& input);
    SPErr mouseUp(const ToolInput& input);
    SPErr trackCursor(const ToolInput& input);
    SPErr editOptions(const ToolInput& input = {});
    SPErr select(const ToolInput& input = {});
    SPErr deselect(const ToolInput& input = {});
    // The first tool the module added, or null.
    AIToolHandle tool();
    // True between mouse down and mouse up.
    bool dragging() const { return dragging_; }
    // Ends a drag that will get no mouse up (the pointer went away): its undo context closes, so the drag
    // becomes one step of the history like any other.
    void abandonDrag();

    // ---- the document ----
    // The host's own undo and redo of whole drags. False: nothing to undo or redo, or refused while a drag is
    // open (historyRefusal() says so). A drag's events replace the art of the event before inside its one
    // undo step; undoing or redoing in the middle would end that step early and leave each event's art
    // behind, so neither is done before the mouse comes up.
    bool undo() { return !historyRefusal() && document().undo(); }
    bool redo() { return !historyRefusal() && document().redo(); }
    // Why undo and redo are refused now, or nothing when they may be done.
    std::optional<std::string> historyRefusal() const;
    // A new, empty document with these facts; the history goes with the old one. New art takes the paint the
    // facts give (startingPaint).
    void newDocument(DocumentFacts facts);
    // Writes the document as SVG, atomically. False with the reason.
    bool exportSvg(const std::string& path, std::string* error);

    // The word the host keeps for the plug-in.
    void* globals() const { return globals_; }

  private:
    SPErr send(const char* caller, const char* selector);
    SPErr sendTool(const char* selector, const ToolInput& input, bool mouseDown);

    Host host_;
    std::string modulePath_;
    void* globals_ = nullptr;
    bool dragging_ = false;
};

} // namespace zz

#endif

// The workbench's host: one tool session (the module and its document) driven by commands from pages, as a
// desktop host's user-interface thread drives it from the person's mouse and keyboard. Everything here runs
// on the one host thread; other threads reach it only through the command queue (HostLoop).
//
// While the options dialog (or any modal dialog the module opens) is up, the host thread runs the dialog's
// own loop, as a desktop host runs a nested event loop: it takes the dialog commands pages send, plays each
// as the user's action on the dialog, and sends the dialog as it now is to every page, until an item ends
// it. Commands that would touch the document meanwhile are refused (409); the editOptions command that
// opened the dialog is answered when it ends.
//
// A drag whose page goes quiet (no drag or mouse up within the drag time-out) or says it is going away
// ("abandon") is ended where it is: its undo step closes and the document stays as the last event left it.
//
// Commands may carry "client", the connection they came on, set by the server (never by a page): a drag
// belongs to the connection that pressed, which alone may move, release or abandon it, and another
// connection's press is refused while it lasts. Commands without one (plain HTTP) share client 0.
#ifndef ZZ_HOST_WORKBENCH_WORKBENCH_H
#define ZZ_HOST_WORKBENCH_WORKBENCH_H

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/core/ToolSession.h"
#include "host/workbench/CommandQueue.h"
#include "host/workbench/EventHub.h"
#include "host/workbench/Reply.h"

namespace zz {

class Workbench {
  public:
    using Clock = std::chrono::steady_clock;

    struct Options {
        std::string modulePath;
        std::chrono::milliseconds dragTimeout{5000};
        // How often the host thread, waiting for a command, looks up to do its chores.
        std::chrono::milliseconds poll{50};
    };

    Workbench(Options options, CommandQueue& queue, EventHub& events);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Loads the module, starts it and lets it set its cursor. False with the reason.
    bool start(std::string* error);

    // Runs one checked command (see Requests.h) and answers it.
    Reply execute(const nlohmann::json& command);
    // Chores between commands: ends a drag whose page has gone quiet for the drag time-out.
    void idle(Clock::time_point now);

    ToolSession& session() { return session_; }

  private:
    class PageDialogDriver;

    Reply run(const nlohmann::json& command);
    Reply duringDialog(const nlohmann::json& command);
    Reply dialogAction(const nlohmann::json& command);
    Reply toolEvent(const std::string& name, const nlohmann::json& command);
    Reply newDocument(const nlohmann::json& command);
    Reply image(const nlohmann::json& command);
    Reply exportSvg();
    nlohmann::json stateJson();
    // The reply's common fields: the document's revision and history, the delta since the command's
    // "since", whether a drag is open.
    Reply answer(nlohmann::json out, const nlohmann::json& command);
    void publishDocument(uint64_t before);
    void publishDialog();
    void abandonDrag(const std::string& why);

    Options options_;
    CommandQueue& queue_;
    EventHub& events_;
    ToolSession session_;
    bool started_ = false;
    Clock::time_point lastToolEvent_{};
    AIRealPoint lastPoint_{0.0f, 0.0f};
    uint64_t dragOwner_ = 0; // the client whose drag is open

    // The dialogs open now, innermost last, and what the outermost one ended with.
    std::vector<AdmDialog*> dialogs_;
    DialogModel* dialogModel_ = nullptr;
    std::optional<int32_t> lastDialogResult_;
    std::unique_ptr<PageDialogDriver> driver_;
};

// A host status as text: a four-character code in quotes ("'STOP'") or the number.
std::string statusText(int32_t status);

} // namespace zz

#endif

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
// Commands carry "client", the page's connection, set by the server (never by a page; 0 for a caller
// without one). A drag belongs to the client that pressed, which alone may move, release or abandon it, and
// another client's press is refused while it lasts. The host keeps the document revision each connected
// client holds: every answer brings its client up to date, and every change of the document goes to every
// other client as a delta through the outbox, so that all pages show the same document without asking.
//
// A dialog that no page is left to drive (no client connected and no dialog action for the dialog
// time-out) is cancelled, as its Cancel button would.
//
// The drawing is a document on disk (DocumentStore.h) when the workbench has a documents folder: the host
// keeps what was done as the events a script would play (a drag's pointer events, abandon, undo, redo, the
// options dialog's actions and how it closed, a new seed), and writes every finished change before the
// command that finished it is answered. A drag's events are written when it ends, so a server killed at any
// moment loses at most the drag in progress. Opening a document plays its events again on a fresh document
// with the seed and the tool's settings it began with, which gives back the same art, revision for revision,
// and the same undo history. New makes a new document and keeps the one before; delete moves a document to
// the recycle state, from which it can be restored.
#ifndef ZZ_APPS_WORKBENCH_WORKBENCH_H
#define ZZ_APPS_WORKBENCH_WORKBENCH_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/core/ToolSession.h"
#include "apps/storage/DocumentStore.h"
#include "apps/workbench/CommandQueue.h"
#include "apps/workbench/DialogNotes.h"
#include "apps/workbench/Reply.h"

namespace zz {

class Workbench {
  public:
    using Clock = std::chrono::steady_clock;

    struct Options {
        std::string modulePath;
        std::chrono::milliseconds dragTimeout{5000};
        // How long a dialog waits with no page connected before it is cancelled.
        std::chrono::milliseconds dialogTimeout{30000};
        // How often the host thread, waiting for a command, looks up to do its chores.
        std::chrono::milliseconds poll{50};
        // The folder of documents; empty: the drawing is kept in memory only, and lost with the server.
        std::string documentsPath;
        // Makes a thumbnail of a document from its SVG, off the host thread, and sends it back as the
        // command {"do": "storeThumbnail", "id", "png": bytes}. Unset: documents get no thumbnails.
        std::function<void(std::string id, std::string svg)> thumbnailer;
        // How long after its last change a document's thumbnail is made.
        std::chrono::milliseconds thumbnailDelay{2000};
        // What the page shows of the options dialog beyond the module's items; learned from the module at
        // start (39 short sessions) when not given.
        std::optional<DialogNotes> notes;
    };

    // A message for one client, on the host thread: {"event": NAME, ...} as JSON text.
    using Outbox = std::function<void(uint64_t client, std::string message)>;

    Workbench(Options options, CommandQueue& queue, Outbox outbox);
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Loads the module, starts it and lets it set its cursor. False with the reason.
    bool start(std::string* error);

    // Runs one checked command (see Requests.h), or one of the server's own ("connected" and
    // "disconnected", with the client), and answers it. Never throws.
    Reply execute(const nlohmann::json& command);
    // Chores between commands: ends a drag whose page has gone quiet for the drag time-out.
    void idle(Clock::time_point now);

    // Whether every command of the table, and the server's own, has a handler here.
    static bool handlesEveryCommand();

    ToolSession& session() { return session_; }

  private:
    class PageDialogDriver;

    using Handler = Reply (Workbench::*)(const nlohmann::json& command);
    struct HandlerEntry {
        const char* name;
        Handler handler;
    };
    static const std::vector<HandlerEntry>& handlers();

    Reply run(const nlohmann::json& command);
    Reply state(const nlohmann::json& command);
    Reply toolEvent(const nlohmann::json& command);
    Reply abandon(const nlohmann::json& command);
    Reply undoRedo(const nlohmann::json& command);
    Reply newDocument(const nlohmann::json& command);
    Reply seed(const nlohmann::json& command);
    Reply editOptions(const nlohmann::json& command);
    Reply dialog(const nlohmann::json& command);
    Reply exportSvg(const nlohmann::json& command);
    Reply image(const nlohmann::json& command);
    Reply connected(const nlohmann::json& command);
    Reply disconnected(const nlohmann::json& command);
    Reply documents(const nlohmann::json& command);
    Reply openDocument(const nlohmann::json& command);
    Reply renameDocument(const nlohmann::json& command);
    Reply duplicateDocument(const nlohmann::json& command);
    Reply deleteDocument(const nlohmann::json& command);
    Reply restoreDocument(const nlohmann::json& command);
    Reply script(const nlohmann::json& command);
    Reply thumbnail(const nlohmann::json& command);
    Reply storeThumbnail(const nlohmann::json& command);

    // ---- documents ----
    // Opens the most recently changed document that can be opened, else makes a new one.
    bool openLatest(std::string* error);
    // Makes `file` (or, without one, the in-memory drawing that `start` begins) the document every page
    // shows: a fresh document with its start, then its events played. False with the reason; the document
    // is then the start alone.
    bool begin(const DocumentStart& start, const std::vector<nlohmann::json>& events, std::string* error);
    bool switchTo(std::unique_ptr<DocumentFile> file, std::string* error);
    // A new document with these script "document" facts, the seed and the tool's settings now.
    bool makeDocument(nlohmann::json facts, std::string* error);
    // The tool's event as a script plays it, kept until the drag ends.
    void recordToolEvent(const std::string& name, const ToolInput& input, const std::string& pointer);
    // A finished change: the open drag's events so far, then this event, to be written.
    void finish(nlohmann::json event);
    // Writes the finished changes not yet written; the reason when they could not be.
    std::optional<std::string> save();
    void makeThumbnailIfDue(Clock::time_point now, bool leaving);
    nlohmann::json fileJson();
    uint64_t artCount();
    // Cancels the innermost dialog when no page has been there to drive it for the dialog time-out.
    void cancelOrphanedDialog(Clock::time_point now);
    nlohmann::json stateJson();
    // The reply's common fields: the document's revision and history, the delta since the command's
    // "since", whether a drag is open.
    Reply answer(nlohmann::json out, const nlohmann::json& command);
    // Sends every client that was last told of another revision or history what changed since.
    void publishDocument();
    void publishDialog();
    void publish(const nlohmann::json& message);
    void abandonDrag(const std::string& why);

    Options options_;
    CommandQueue& queue_;
    Outbox outbox_;
    // What a connected client was last told of the document.
    struct ClientView {
        uint64_t revision = 0; // 0: nothing yet
        std::size_t undo = 0;
        std::size_t redo = 0;
        bool operator==(const ClientView&) const = default;
    };
    ClientView currentView();
    std::map<uint64_t, ClientView> clients_;
    Clock::time_point lastDialogActivity_{};
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

    // The document on disk (null without a folder), how it began and every finished change since.
    std::unique_ptr<DocumentFolder> folder_;
    std::unique_ptr<DocumentFile> file_;
    DocumentStart start_;
    std::vector<nlohmann::json> history_;
    std::vector<nlohmann::json> dragEvents_; // the open drag's events
    std::vector<nlohmann::json> unsaved_;    // finished changes not yet written
    // The options dialog's actions while it is open, as the editOptions event that plays them again.
    std::optional<nlohmann::json> dialogRecord_;
    bool thumbnailDue_ = false;
    Clock::time_point lastChange_{};
    DialogNotes notes_; // what the page shows of the options dialog beyond the module's items
};

// A host status as text: a four-character code in quotes ("'STOP'") or the number.
std::string statusText(int32_t status);

} // namespace zz

#endif

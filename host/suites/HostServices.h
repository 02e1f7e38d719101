// Everything a plug-in can reach through the suites: the suite registry, fault injection, the module's
// resources, the memory blocks, the plug-in record, the tools, icons, dialogs and alerts, the document and
// the random source. The host (host/core) is made of these services and the module itself.
//
// Suite functions are plain C functions without a context argument; they find the services answering the
// plug-in through HostServices::current(), which a ServicesScope sets, per thread, around every call into the
// module.
#ifndef ZZ_HOST_SUITES_HOST_SERVICES_H
#define ZZ_HOST_SUITES_HOST_SERVICES_H

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ADMIcon.h"
#include "AITool.h"
#include "SPAccess.h"
#include "SPBasic.h"
#include "host/base/RandomSource.h"
#include "host/dialogs/DialogDriver.h"
#include "host/dialogs/DialogModel.h"
#include "host/document/Document.h"
#include "host/suites/BlockStore.h"
#include "host/suites/Faults.h"
#include "host/suites/SuiteRegistry.h"

namespace zz {

class ModuleResources;
class ModuleInstance;

// What the host knows of the plug-in it runs: its option flags (AI Plugin suite).
struct PluginRecord {
    int32_t options = 0;
};

// The access record SP Access hands out for the plug-in's module.
struct AccessRecord {
    int32_t unused = 0;
};

// A tool the plug-in added (AI Tool AddTool); its address is the tool handle.
struct ToolRecord {
    std::string name;
    std::string title;
    std::string tooltip;
    int32_t helpID = 0;
    ADMIconRef icon = nullptr;
    int16_t sameGroupAs = 0;
    int16_t sameToolsAs = 0;
    int32_t options = 0;
};

// An icon loaded from the module's resources (ADM Icon GetFromResource); its address is the icon handle.
struct IconRecord {
    int32_t id = 0;
    int32_t index = 0;
    int32_t type = kUnknownIcon;
};

// Host facts a session can set that do not belong to the document.
struct HostFacts {
    bool pressure = true;            // SystemHasPressure
    std::optional<int32_t> iconType; // the type every icon reports, instead of what the resources say
};

// The event the host is answering: what the ADM Tracker suite reports.
struct EventState {
    uint32_t modifiers = 0;
    AIRealPoint point{0.0f, 0.0f};
    bool mouseDown = false;
};

class HostServices;

// The thread's current services, read on every suite call: a plain thread-local pointer, constant-initialised
// so that no wrapper function guards it, and (in ELF programs) in the initial-exec model, which reaches it
// without a call: the host's libraries are linked into the program, never loaded into it later.
#if defined(__ELF__)
#define ZZ_PROGRAM_TLS __attribute__((tls_model("initial-exec")))
#else
#define ZZ_PROGRAM_TLS
#endif
namespace detail {
extern thread_local constinit HostServices* currentServices ZZ_PROGRAM_TLS;
} // namespace detail

class HostServices {
  public:
    HostServices();
    virtual ~HostServices();
    HostServices(const HostServices&) = delete;
    HostServices& operator=(const HostServices&) = delete;

    // The services answering the plug-in on this thread now, or null outside any call.
    static HostServices* current();

    SuiteRegistry& suites() { return suites_; }
    FaultInjector& faults() { return faults_; }
    const SPBasicSuite* basicSuite() const;

    // Operations the plug-in called that this host does not offer, as "suite / operation", in call order.
    const std::vector<std::string>& unimplementedCalls() const { return unimplemented_; }
    void noteUnimplemented(std::string_view suite, std::string_view operation);

    // ---- the module's resources ----
    // The module's resources, or null when it carries none that can be read (or no module is loaded).
    const ModuleResources* resources() const;
    // SP Access's defaultModule: the handle the platform's resource functions accept for the module.
    void* platformModuleHandle() const;

    // ---- the plug-in record ----
    SPPluginRef self() { return reinterpret_cast<SPPluginRef>(&plugin_); }
    // The record behind a plug-in reference, or null when it is not this host's plug-in.
    PluginRecord* plugin(SPPluginRef ref);
    SPAccessRef access() { return reinterpret_cast<SPAccessRef>(&access_); }
    bool isAccess(SPAccessRef ref) const { return ref == reinterpret_cast<const _SPAccess*>(&access_); }

    // ---- state the suites keep ----
    BlockStore& blocks() { return blocks_; }
    HostFacts& facts() { return facts_; }
    EventState& event() { return event_; }
    std::vector<std::string>& alerts() { return alerts_; }

    AIToolHandle addTool(ToolRecord tool);
    const std::deque<ToolRecord>& tools() const { return tools_; }
    AIToolHandle toolHandle(const ToolRecord& tool) const {
        return reinterpret_cast<AIToolHandle>(const_cast<ToolRecord*>(&tool));
    }

    ADMIconRef loadIcon(int32_t id, int32_t index);
    IconRecord* icon(ADMIconRef ref);

    // ---- dialogs ----
    DialogModel& dialogs() { return dialogs_; }
    // Who plays the user while a modal dialog is up, and who watches dialogs; both may be null (no driver:
    // every dialog ends with its default item, 1). The host does not own them.
    void setDialogDriver(DialogDriver* driver) { driver_ = driver; }
    void setDialogObserver(DialogObserver* observer) { observer_ = observer; }
    // ADM Dialog Modal: builds the dialog from its template, runs the init procedure and lets the driver run
    // the dialog until an item ends it. Returns that item, or -1 when the dialog cannot be made.
    int32_t runModal(const std::string& name, int32_t dialogID, int32_t style, ADMDialogInitProc initProc,
                     ADMUserData userData);
    // A string of a module string list (ADM Basic GetIndexString): entry i of list L is string L + i.
    std::optional<std::string> indexString(int32_t list, int32_t index) const;

    // ---- the cursor ----
    // The resource number of the current cursor, or null when the plug-in made none current.
    std::optional<int32_t> currentCursor() const;
    // Makes no cursor current (a new session starts without one).
    static void clearCursor();

    Document& document() { return document_; }
    RandomSource& random() { return random_; }

  protected:
    // The resources of the module that was mapped, or null once it is unmapped.
    void attachModule(std::shared_ptr<ModuleInstance> instance) { instance_ = std::move(instance); }

  private:
    SuiteRegistry suites_;
    FaultInjector faults_;
    std::shared_ptr<ModuleInstance> instance_; // the loaded module's resources and platform handle
    Document document_;
    RandomSource random_;
    std::vector<std::string> unimplemented_;

    PluginRecord plugin_;
    AccessRecord access_;
    BlockStore blocks_;
    HostFacts facts_;
    EventState event_;
    std::vector<std::string> alerts_;
    std::deque<ToolRecord> tools_;
    std::deque<IconRecord> icons_;
    DialogModel dialogs_;
    DialogDriver* driver_ = nullptr;
    DialogObserver* observer_ = nullptr;
};

inline HostServices* HostServices::current() {
    return detail::currentServices;
}

// Makes a set of services current on this thread for the lifetime of the scope (nested scopes restore the
// previous one).
class ServicesScope {
  public:
    explicit ServicesScope(HostServices& services);
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;

  private:
    HostServices* previous_;
};

} // namespace zz

#endif

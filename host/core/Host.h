// The reference host: one instance owns everything a plug-in can reach through the suites: the suite
// registry, fault injection, the loaded module and its resources, the memory blocks, the plug-in record, the
// tools, icons, dialogs and alerts, the document and the random source.
//
// Suite functions are plain C functions without a context argument; they find the host answering the plug-in
// through Host::current(), which a CurrentHost scope sets around every call into the module.
#ifndef ZZ_HOST_CORE_HOST_H
#define ZZ_HOST_CORE_HOST_H

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
#include "host/core/BlockStore.h"
#include "host/core/DialogModel.h"
#include "host/core/Faults.h"
#include "host/core/ModuleLoader.h"
#include "host/core/RandomSource.h"
#include "host/core/SuiteRegistry.h"
#include "host/document/Document.h"

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

// A modal dialog as it was shown: for the report.
struct DialogRecord {
    std::string name;
    int32_t resource = 0;
    int32_t result = 0;
    std::map<int32_t, std::string> items; // item id -> text after the init procedure
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

class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host the plug-in is talking to now, or null outside any call.
    static Host* current();

    SuiteRegistry& suites() { return suites_; }
    FaultInjector& faults() { return faults_; }
    const SPBasicSuite* basicSuite() const;

    // Operations the plug-in called that this host does not offer, as "suite / operation", in call order.
    const std::vector<std::string>& unimplementedCalls() const { return unimplemented_; }
    void noteUnimplemented(std::string_view suite, std::string_view operation);

    // ---- the module ----
    // Maps the module and reads its resources (a module without readable resources still loads).
    bool loadModule(const std::string& path, std::string* error);
    // Unmaps the module; the host keeps everything else (blocks, tools, the plug-in record).
    void unloadModule();
    LoadedModule& module() { return module_; }
    // The module's resources, or null when it carries none that can be read (or no module is loaded).
    const ModuleResources* resources() const;
    // SP Access's defaultModule: the handle the platform's resource functions accept for the module.
    void* platformModuleHandle() const;

    // Sends one message to the loaded module with this host current; returns what PluginMain returned.
    SPErr sendMessage(const char* caller, const char* selector, void* message);

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
    const std::vector<DialogRecord>& dialogRecords() const { return dialogRecords_; }
    // The item that ends the next modal dialog (the script's "close"); without one, a dialog ends with its
    // default item: 2 (Cancel) for the options dialog 16201, 1 (OK) for every other.
    void setNextDialogClose(std::optional<int32_t> item) { nextClose_ = item; }
    // ADM Dialog Modal: builds the dialog from its template, runs the init procedure, records the items'
    // texts and ends the dialog by notifying the closing item. Returns the item that ended it, or -1.
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

  private:
    SuiteRegistry suites_;
    FaultInjector faults_;
    LoadedModule module_;
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
    std::vector<DialogRecord> dialogRecords_;
    std::optional<int32_t> nextClose_;
};

// Makes a host current for the lifetime of the scope (nested scopes restore the previous one).
class CurrentHost {
  public:
    explicit CurrentHost(Host& host);
    ~CurrentHost();
    CurrentHost(const CurrentHost&) = delete;
    CurrentHost& operator=(const CurrentHost&) = delete;

  private:
    Host* previous_;
};

} // namespace zz

#endif

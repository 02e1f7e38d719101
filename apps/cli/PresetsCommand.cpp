#include "apps/cli/PresetsCommand.h"

#include <CLI/CLI.hpp>

#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "apps/script/DialogChoices.h"

int runPresetsCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                      std::ostream& err) {
    zz::CommandLine line("zigzag presets",
                         "The tool's presets, as its options dialog offers them, and what each one changes.");
    std::string module;
    std::vector<zz::GivenOption> given;
    line.app()
        .add_option("--module", module, "the plug-in module (KT07_Zigzag.aip beside zigzag)")
        ->type_name("PATH");
    zz::addDocumentOptions(line, given, true, zz::kDialogDocumentSwatches);
    if (const std::optional<int> status = line.read(args, out, err)) return *status;
    nlohmann::json document = {{"swatches", zz::kDialogDocumentSwatches}};
    try {
        zz::applyDocumentOptions(given, document);
    } catch (const zz::OptionError& problem) {
        return line.mistake(problem.message, err);
    }
    if (module.empty()) module = modulePath;

    std::vector<zz::ChoiceEffect> presets;
    std::string why;
    if (!zz::listChoices(zz::moduleSessions(module, document), zz::kPresetPopup, &presets, &why)) {
        err << "zigzag presets: " << why << "\n";
        return zz::kCommandFailed;
    }
    for (const zz::ChoiceEffect& preset : presets) {
        out << preset.id << " \"" << preset.text << "\"";
        if (!preset.refused.empty()) {
            out << ": refused (" << preset.refused << ")\n";
            continue;
        }
        if (preset.changes.empty()) out << ": no change";
        for (std::size_t i = 0; i < preset.changes.size(); ++i) {
            const zz::SettingChange& change = preset.changes[i];
            out << (i == 0 ? ": " : ", ") << change.field << " " << change.before.dump() << " -> "
                << change.after.dump();
        }
        out << "\n";
    }
    return zz::kCommandOk;
}

#include "apps/cli/PresetsCommand.h"

#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "apps/script/DialogChoices.h"

namespace {

const char* const kUsage =
    "usage: zigzag presets [--module PATH] [--page W,H] [--color-model M] [--swatches N] [--styles N]\n"
    "                      [--document JSON|FILE]\n";

} // namespace

int runPresetsCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                      std::ostream& err) {
    std::string module = modulePath;
    nlohmann::json document = {{"swatches", zz::kDialogDocumentSwatches}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--help" || args[i] == "-h") && args.size() == 1) {
            out << kUsage << zz::kDocumentOptionsUsage;
            return 0;
        }
        if (args[i] == "--module" && i + 1 < args.size() && !args[i + 1].empty()) {
            module = args[++i];
            continue;
        }
        if (zz::isDocumentOption(args[i])) {
            try {
                if (i + 1 >= args.size()) throw zz::OptionError{args[i] + ": missing value"};
                zz::applyDocumentOption(args[i], args[i + 1], document);
                ++i;
                continue;
            } catch (const zz::OptionError& problem) {
                err << "zigzag presets: " << problem.message << "\n" << kUsage;
                return 2;
            }
        }
        err << "zigzag presets: " << args[i] << ": unknown argument\n" << kUsage;
        return 2;
    }

    std::vector<zz::ChoiceEffect> presets;
    std::string why;
    if (!zz::listChoices(zz::moduleSessions(module, document), zz::kPresetPopup, &presets, &why)) {
        err << "zigzag presets: " << why << "\n";
        return 1;
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
    return 0;
}

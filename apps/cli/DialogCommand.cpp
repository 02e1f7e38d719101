#include "apps/cli/DialogCommand.h"

#include <cstdint>
#include <optional>

#include "host/base/AtomicFile.h"
#include "host/base/NumberText.h"
#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "host/resources/ModuleResources.h"
#include "apps/script/DialogPicture.h"
#include "apps/script/Session.h"

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

const char* const kUsage =
    "usage: zigzag dialog --page P [--preset N] [--module PATH] [--color-model M] [--swatches N]\n"
    "                     [--styles N] [--document JSON|FILE] -o OUT.svg\n"
    "  --page is the dialog's page; the document's page size is given in --document\n";

} // namespace

int runDialogCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                     std::ostream& err) {
    std::string module = modulePath, output;
    std::optional<int64_t> page, preset;
    nlohmann::json document = {{"swatches", zz::kDialogDocumentSwatches}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if ((option == "--help" || option == "-h") && args.size() == 1) {
            out << kUsage;
            return 0;
        }
        if (i + 1 >= args.size()) {
            err << "zigzag dialog: " << option << ": missing value\n" << kUsage;
            return 2;
        }
        const std::string& value = args[++i];
        if (option == "--page") {
            page = zz::parseDecimal(value, 1, zz::kPageCount);
            if (!page) {
                err << "zigzag dialog: --page " << value << ": expected a page from 1 to " << zz::kPageCount
                    << "\n";
                return 2;
            }
        } else if (option == "--preset") {
            preset = zz::parseDecimal(value, 0, INT32_MAX);
            if (!preset) {
                err << "zigzag dialog: --preset " << value << ": expected an entry id (0 or more)\n";
                return 2;
            }
        } else if (zz::isDocumentOption(option)) {
            try {
                zz::applyDocumentOption(option, value, document);
            } catch (const zz::OptionError& problem) {
                err << "zigzag dialog: " << problem.message << "\n" << kUsage;
                return 2;
            }
        } else if (option == "--module" && !value.empty()) {
            module = value;
        } else if ((option == "-o" || option == "--output") && !value.empty()) {
            output = value;
        } else {
            err << "zigzag dialog: " << option << ": unknown argument\n" << kUsage;
            return 2;
        }
    }
    if (!page || output.empty()) {
        err << "zigzag dialog: " << (!page ? "--page" : "-o") << ": required\n" << kUsage;
        return 2;
    }

    // What a user does: open the dialog, choose the preset, show the page; then the dialog is cancelled.
    json actions = json::array();
    if (preset) actions.push_back({{"item", zz::kPresetPopup}, {"select", *preset}});
    actions.push_back({{"item", zz::kFirstPageButton + *page - 1}, {"click", true}});
    const json script = {
        {"document", document},
        {"events",
         json::array({{{"do", "startup"}}, {{"do", "editOptions"}, {"actions", actions}, {"close", 2}}})}};
    zz::SessionError error;
    const ordered_json report = zz::runSession(script, module, &error);
    if (report.is_null()) {
        err << "zigzag dialog: " << error.message << "\n";
        return 1;
    }
    if (report["dialogs"].empty()) {
        err << "zigzag dialog: the module opened no dialog\n";
        return 1;
    }
    const ordered_json& dialog = report["dialogs"][0];
    for (const ordered_json& refusal : dialog.value("refused", ordered_json::array())) {
        err << "zigzag dialog: the dialog refused " << refusal["action"] << ": "
            << refusal["reason"].get<std::string>() << "\n";
        return 1;
    }

    std::optional<zz::ModuleResources> resources;
    try {
        resources = zz::ModuleResources::openFile(module);
    } catch (const zz::ResourceError&) {
        resources.reset(); // the picture is drawn without thumbnails
    }
    const zz::BitmapSource bitmaps = [&](int32_t id) -> std::optional<std::vector<uint8_t>> {
        if (!resources || id <= 0 || id > 0xFFFF) return std::nullopt;
        const auto data = resources->find(zz::kBitmapResource, static_cast<uint16_t>(id));
        if (!data) return std::nullopt;
        return std::vector<uint8_t>(data->begin(), data->end());
    };
    std::string why;
    if (!zz::writeFileAtomically(output, zz::dialogPictureSvg(dialog, bitmaps), &why)) {
        err << "zigzag dialog: cannot write " << output << ": " << why << "\n";
        return 1;
    }
    out << "wrote " << output << " (page " << *page << (preset ? ", preset " + std::to_string(*preset) : "")
        << ")\n";
    return 0;
}

#include "apps/cli/DialogCommand.h"

#include <cstdint>
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>

#include "host/base/AtomicFile.h"
#include "host/base/NumberText.h"
#include "host/base/Utf8.h"
#include "apps/cli/CommandOptions.h"
#include "apps/cli/ToolDialog.h"
#include "host/resources/ModuleResources.h"
#include "apps/script/DialogPicture.h"
#include "apps/script/Session.h"

namespace {

using nlohmann::json;
using zz::OptionError;

// The words of the command line as given; an empty one was not given.
struct DialogWords {
    std::string page, preset, module, output;
    std::vector<zz::GivenOption> document; // the document options, in the order given
};

struct DialogOptions {
    int64_t page = 1;
    std::optional<int64_t> preset;
    std::string module;
    json document = {{"swatches", zz::kDialogDocumentSwatches}};
    std::string output;
};

void declareOptions(zz::CommandLine& line, DialogWords& words) {
    CLI::App& app = line.app();
    app.add_option("--page", words.page,
                   "the dialog's page, 1 to " + std::to_string(zz::kPageCount) +
                       " (the document's page size goes in --document)")
        ->type_name("P")
        ->required();
    app.add_option("--preset", words.preset, "chooses entry N of the preset popup before showing the page")
        ->type_name("N");
    app.add_option("--module", words.module, "the plug-in module (KT07_Zigzag.aip beside zigzag)")
        ->type_name("PATH");
    zz::addDocumentOptions(line, words.document, false, zz::kDialogDocumentSwatches);
    app.add_option("-o,--output", words.output, "the SVG picture to write")->type_name("OUT.svg")->required();
}

DialogOptions dialogOptions(const DialogWords& words, const std::string& defaultModule) {
    DialogOptions options;
    const std::optional<int64_t> page = zz::parseDecimal(words.page, 1, zz::kPageCount);
    if (!page)
        throw OptionError{"--page " + words.page + ": expected a page from 1 to " +
                          std::to_string(zz::kPageCount)};
    options.page = *page;
    if (!words.preset.empty()) {
        options.preset = zz::parseDecimal(words.preset, 0, INT32_MAX);
        if (!options.preset)
            throw OptionError{"--preset " + words.preset + ": expected an entry id (0 or more)"};
    }
    options.module = words.module.empty() ? defaultModule : words.module;
    zz::applyDocumentOptions(words.document, options.document);
    options.output = words.output;
    return options;
}

// What a user does: open the dialog, choose the preset, show the page; then the dialog is cancelled.
json dialogScript(const DialogOptions& options) {
    json actions = json::array();
    if (options.preset) actions.push_back({{"item", zz::kPresetPopup}, {"select", *options.preset}});
    actions.push_back({{"item", zz::kFirstPageButton + options.page - 1}, {"click", true}});
    return {{"document", options.document},
            {"events", json::array({{{"do", "startup"}},
                                    {{"do", "editOptions"}, {"actions", actions}, {"close", 2}}})}};
}

// The dialog as the session left it (its view), or nothing with the reason on `err`.
std::optional<json> shownDialog(const DialogOptions& options, std::ostream& err) {
    zz::SessionError error;
    const std::optional<zz::SessionOutcome> outcome =
        zz::playSession(dialogScript(options), options.module, &error);
    if (!outcome) {
        err << "zigzag dialog: " << zz::safeQuote(error.message, 4000) << "\n";
        return std::nullopt;
    }
    if (outcome->dialogs.empty()) {
        err << "zigzag dialog: the module opened no dialog\n";
        return std::nullopt;
    }
    if (!outcome->refusals.empty()) {
        err << "zigzag dialog: the dialog refused an action: " << outcome->refusals.front() << "\n";
        return std::nullopt;
    }
    return outcome->dialogs.front();
}

// The module's bitmaps for the design lists' thumbnails; none when its resources cannot be read.
zz::BitmapSource moduleBitmaps(const std::string& module) {
    std::shared_ptr<zz::ModuleResources> resources;
    try {
        resources = std::make_shared<zz::ModuleResources>(zz::ModuleResources::openFile(module));
    } catch (const zz::ResourceError&) {
        resources.reset(); // the picture is drawn without thumbnails
    }
    return [resources](int32_t id) -> std::optional<std::vector<uint8_t>> {
        if (!resources || id <= 0 || id > 0xFFFF) return std::nullopt;
        const auto data = resources->find(zz::kBitmapResource, static_cast<uint16_t>(id));
        if (!data) return std::nullopt;
        return std::vector<uint8_t>(data->begin(), data->end());
    };
}

} // namespace

int runDialogCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                     std::ostream& err) {
    zz::CommandLine line("zigzag dialog",
                         "A picture of one page of the tool's options dialog, drawn from the "
                         "host's dialog model.");
    DialogWords words;
    declareOptions(line, words);
    if (const std::optional<int> status = line.read(args, out, err)) return *status;
    DialogOptions options;
    try {
        options = dialogOptions(words, modulePath);
    } catch (const OptionError& problem) {
        return line.mistake(problem.message, err);
    }
    if (const auto refusal =
            zz::outputRefusal(options.output, zz::inputFiles(words.document, options.module)))
        return line.mistake("--output " + *refusal, err);
    const std::optional<json> dialog = shownDialog(options, err);
    if (!dialog) return zz::kCommandFailed;
    std::string why;
    if (!zz::writeFileAtomically(options.output, zz::dialogPictureSvg(*dialog, moduleBitmaps(options.module)),
                                 &why)) {
        err << "zigzag dialog: " << why << "\n";
        return zz::kCommandFailed;
    }
    out << "wrote " << zz::safeQuote(options.output) << " (page " << options.page
        << (options.preset ? ", preset " + std::to_string(*options.preset) : "") << ")\n";
    return zz::kCommandOk;
}

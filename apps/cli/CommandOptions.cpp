#include "apps/cli/CommandOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include <CLI/CLI.hpp>

#include "host/base/Utf8.h"
#include "apps/script/JsonText.h"
#include "apps/script/Session.h"

namespace zz {

using nlohmann::json;

namespace {

// Whether a --document value names a file rather than giving JSON text, which starts with '{'.
bool namesFile(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string::npos || text[first] != '{';
}

// The document object of --document: JSON text when it starts with '{', else the file that holds it.
json parseDocument(const std::string& option, const std::string& text) {
    std::string source = text;
    std::string named = option + " '" + safeQuote(text) + "'";
    if (namesFile(text)) {
        named = option + " " + safeQuote(text);
        std::error_code ignored;
        std::ifstream file(text, std::ios::binary);
        if (text.empty() || std::filesystem::is_directory(text, ignored) || !file)
            throw OptionError{named + ": no such file (give a file or JSON text starting with '{')"};
        std::ostringstream content;
        content << file.rdbuf();
        source = content.str();
    }
    std::string problem;
    const std::optional<json> document = parseJsonNamingPlace(source, &problem);
    if (!document) throw OptionError{named + ": " + problem};
    if (!document->is_object()) throw OptionError{named + ": must be a JSON object"};
    // Checked as a script's document is, so that the message names the place of a bad value.
    if (const auto bad = checkScript(json{{"document", *document}})) throw OptionError{named + ": " + *bad};
    return *document;
}

} // namespace

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    // The host keeps coordinates as 32-bit floats: a number beyond their range would become infinite.
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value) ||
        std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return value;
}

std::optional<int64_t> parseInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    // Decimal, or hex after 0x; a leading zero does not make octal ("010" is ten).
    const size_t sign = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const bool hex =
        text.size() > sign + 2 && text[sign] == '0' && (text[sign + 1] == 'x' || text[sign + 1] == 'X');
    if (text.size() == sign || !std::isxdigit(static_cast<unsigned char>(text[hex ? sign + 2 : sign])))
        return std::nullopt; // no blanks, no second sign
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (end != text.c_str() + text.size() || errno == ERANGE) return std::nullopt;
    return value;
}

json parsePoint(const std::string& option, const std::string& text) {
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        const auto x = parseNumber(text.substr(0, comma));
        const auto y = parseNumber(text.substr(comma + 1));
        if (x && y) return json::array({*x, *y});
    }
    throw OptionError{option + " " + safeQuote(text) + ": expected two numbers X,Y"};
}

int64_t parseRange(const std::string& option, const std::string& text, int64_t low, int64_t high) {
    const auto value = parseInteger(text);
    if (!value || *value < low || *value > high)
        throw OptionError{option + " " + safeQuote(text) + ": expected an integer from " +
                          std::to_string(low) + " to " + std::to_string(high)};
    return *value;
}

namespace {

void applyDocumentOption(const std::string& option, const std::string& value, json& document) {
    if (option == "--page") {
        const json page = parsePoint(option, value);
        if (page[0].get<double>() <= 0.0 || page[1].get<double>() <= 0.0)
            throw OptionError{option + ": width and height must be positive"};
        document["page"] = page;
    } else if (option == "--color-model") {
        if (value != "gray" && value != "rgb" && value != "cmyk")
            throw OptionError{option + " " + safeQuote(value) + ": expected gray, rgb or cmyk"};
        document["colorModel"] = value;
    } else if (option == "--swatches") {
        document["swatches"] = parseRange(option, value, 0, 100000);
    } else if (option == "--styles") {
        document["namedStyles"] = parseRange(option, value, 0, 100000);
    } else {
        document.update(parseDocument(option, value));
    }
}

} // namespace

void addDocumentOptions(CommandLine& line, std::vector<GivenOption>& given, bool withPage, int swatches) {
    if (withPage)
        line.addRecorded("--page", given, "the document's page size in points (612,792)")->type_name("W,H");
    line.addRecorded("--color-model", given, "the document's colour model: gray, rgb or cmyk (rgb)")
        ->type_name("M");
    line.addRecorded("--swatches", given,
                     "swatches in the document's list (" + std::to_string(swatches) + ")")
        ->type_name("N");
    line.addRecorded("--styles", given, "named graphic styles in the document (0)")->type_name("N");
    const std::string ordered = withPage ? "--page, --color-model" : "--color-model";
    line.addRecorded("--document", given,
                     "the object a session script's \"document\" holds (colorModel, page, swatches,\n"
                     "namedStyles, paint, pressure, iconType): JSON text starting with '{', or a file\n"
                     "holding it; it and " +
                         ordered +
                         ", --swatches and --styles apply in the\n"
                         "order given, a later one replacing the keys an earlier one set")
        ->type_name("DOC");
}

void applyDocumentOptions(const std::vector<GivenOption>& given, json& document) {
    for (const GivenOption& each : given)
        applyDocumentOption(each.option, each.value, document);
}

std::vector<std::string> inputFiles(const std::vector<GivenOption>& given, const std::string& module) {
    std::vector<std::string> files = {module};
    for (const GivenOption& each : given)
        if (each.option == "--document" && namesFile(each.value)) files.push_back(each.value);
    return files;
}

} // namespace zz

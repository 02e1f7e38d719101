#include "apps/workbench/Export.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/document/SvgExport.h"

extern char** environ;

namespace zz {

namespace {

using Format = ExportSettings::Format;

// Room around the art's paint in the art's area, so that the edge pixels of anything drawn are whole.
constexpr AIReal kArtPad = 1.0f;
constexpr double kMinScale = 0.01;
constexpr double kMaxScale = 100.0;

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A query word with its %XX and '+' decoded; nothing for a broken %.
std::optional<std::string> percentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string formatted(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), pattern, value);
    return text;
}

// ---- the converter as a child process ----

// A folder of its own under the temporary folder, removed with its files when the object goes.
class TempFolder {
  public:
    TempFolder() {
        std::error_code failed;
        const std::filesystem::path base = std::filesystem::temp_directory_path(failed);
        if (failed) return;
        std::string pattern = (base / "zz-export-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

struct Run {
    enum class Outcome { Finished, TimedOut, Cancelled, NotStarted } outcome = Outcome::NotStarted;
    int status = 0;    // Finished: the wait status; -1 when the system reaped the child itself
    std::string error; // NotStarted: why
};

// Closes posix_spawn's file actions and attributes however the function leaves.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// Starts `words` (the program first, found on PATH) with no input, its output discarded and its errors into
// `errors`, in a process group of its own. 0, or the error number.
int spawnQuiet(std::vector<std::string>& words, const std::string& errors, pid_t* child) {
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&setup.actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // The calling thread may block signals or the server ignore SIGPIPE; the converter starts as usual.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    return posix_spawnp(child, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
}

// Runs `words` as spawnQuiet starts them, for at most `maxTime` and until `cancel` is set; a time-out or a
// cancel ends the whole process group.
Run runWithin(std::vector<std::string> words, const std::string& errors, std::chrono::milliseconds maxTime,
              const std::atomic<bool>* cancel) {
    Run run;
    pid_t child = 0;
    const int spawned = spawnQuiet(words, errors, &child);
    if (spawned != 0) {
        run.error = std::strerror(spawned);
        return run;
    }

    const auto deadline = std::chrono::steady_clock::now() + maxTime;
    std::chrono::milliseconds nap{1};
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) {
            run.outcome = Run::Outcome::Finished;
            run.status = status;
            return run;
        }
        if (done < 0 && errno == ECHILD) { // SIGCHLD ignored: the system reaped it, status unknown
            run.outcome = Run::Outcome::Finished;
            run.status = -1;
            return run;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        if (cancel != nullptr && cancel->load()) {
            run.outcome = Run::Outcome::Cancelled;
            break;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(nap, deadline - now));
        nap = std::min(nap * 2, std::chrono::milliseconds{20});
    }
    // The group is the child's own (its id is the child's, which is not reaped yet, so not reused).
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (run.outcome != Run::Outcome::Cancelled) run.outcome = Run::Outcome::TimedOut;
    return run;
}

std::string readAll(const std::filesystem::path& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    *ok = static_cast<bool>(in) || in.eof();
    return std::move(bytes).str();
}

// The last lines the converter wrote on its error output, on one line and short enough for a message.
std::string errorTail(const std::filesystem::path& path) {
    bool ok = false;
    std::string text = readAll(path, &ok);
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    const size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    if (text.size() > 400) text = "..." + text.substr(text.size() - 400);
    return text;
}

// The value of attribute `name` of the SVG's root element, as a number without a unit.
std::optional<double> rootNumber(const std::string& svg, std::string_view name) {
    size_t start = svg.find("<svg");
    while (start != std::string::npos && start + 4 < svg.size() &&
           std::isspace(static_cast<unsigned char>(svg[start + 4])) == 0)
        start = svg.find("<svg", start + 4);
    if (start == std::string::npos) return std::nullopt;
    const size_t end = svg.find('>', start);
    const std::string_view tag = std::string_view(svg).substr(start, end - start);
    for (size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
        const bool word = std::isspace(static_cast<unsigned char>(tag[at - 1])) != 0;
        const std::string_view rest = tag.substr(at + name.size());
        if (!word || rest.size() < 2 || rest[0] != '=' || (rest[1] != '"' && rest[1] != '\'')) continue;
        const size_t close = rest.find(rest[1], 2);
        if (close == std::string_view::npos) return std::nullopt;
        const std::string_view value = rest.substr(2, close - 2);
        double number = 0.0;
        const auto parsed = std::from_chars(value.data(), value.data() + value.size(), number);
        if (parsed.ec != std::errc() || parsed.ptr != value.data() + value.size() || !std::isfinite(number) ||
            number <= 0.0)
            return std::nullopt;
        return number;
    }
    return std::nullopt;
}

// The PNG's size in pixels for a picture of width x height points, or the 413 refusal.
std::optional<Reply> pngTooLarge(double width, double height, double scale, const ConvertLimits& limits,
                                 std::int64_t* columns, std::int64_t* rows) {
    const double w = std::max(1.0, std::round(width * scale)), h = std::max(1.0, std::round(height * scale));
    const double pixels = w * h;
    if (w <= static_cast<double>(kMaxPngSide) && h <= static_cast<double>(kMaxPngSide) &&
        pixels <= static_cast<double>(limits.maxPixels)) {
        *columns = static_cast<std::int64_t>(w);
        *rows = static_cast<std::int64_t>(h);
        return std::nullopt;
    }
    const double fits =
        std::min({std::sqrt(static_cast<double>(limits.maxPixels) / (width * height)),
                  static_cast<double>(kMaxPngSide) / width, static_cast<double>(kMaxPngSide) / height});
    const double suggestion = std::floor(fits * 100.0) / 100.0;
    std::string message = "the PNG would be " + formatted("%.0f", w) + " x " + formatted("%.0f", h) +
                          " pixels (" + formatted("%.1f", pixels / 1e6) +
                          " megapixels); a PNG may have at most " +
                          formatted("%.1f", static_cast<double>(limits.maxPixels) / 1e6) +
                          " megapixels and " + std::to_string(kMaxPngSide) + " pixels a side: ";
    if (suggestion >= kMinScale)
        message += "ask for a smaller scale (at most " + formatted("%g", suggestion) + ")";
    else
        message += "it is too large for a PNG at any scale; export it as SVG or PDF";
    return Reply::error(413, message);
}

// The converter's options for the format: a PNG's size in pixels and its background, a PDF's resolution.
// A refusal when the PNG cannot be made.
std::optional<Reply> formatOptions(const std::string& svg, const ExportSettings& settings,
                                   const ConvertLimits& limits, std::vector<std::string>& words) {
    if (settings.format == Format::Png) {
        const std::optional<double> width = rootNumber(svg, "width"), height = rootNumber(svg, "height");
        if (!width || !height) return Reply::error(500, "the SVG gives no width and height in points");
        std::int64_t columns = 0, rows = 0;
        if (std::optional<Reply> refusal =
                pngTooLarge(*width, *height, settings.scale, limits, &columns, &rows))
            return *refusal;
        words.insert(words.end(), {"-w", std::to_string(columns), "-h", std::to_string(rows)});
        if (!settings.transparent) words.insert(words.end(), {"-b", "white"});
    } else {
        // The SVG's user units are points: at 72 to the inch the converter's pixels are the PDF's points, so
        // the page keeps its size (at its default 96 a 612-point page would shrink to 459).
        words.insert(words.end(), {"-d", "72", "-p", "72"});
    }
    return std::nullopt;
}

// Why the converter's run made no file, or nothing when it finished well. `started` is when it started.
std::optional<Reply> runFailure(const Run& run, const ExportSettings& settings, const ConvertLimits& limits,
                                std::chrono::steady_clock::time_point started,
                                const std::filesystem::path& errors) {
    const std::string what = exportExtension(settings.format);
    const std::string name = "the converter (" + limits.program + ")";
    switch (run.outcome) {
    case Run::Outcome::NotStarted:
        return Reply::error(500, "the " + what + " could not be made: " + name +
                                     " could not be started: " + run.error);
    case Run::Outcome::Cancelled:
        return Reply::error(503, "the " + what + " was not made: the workbench is shutting down");
    case Run::Outcome::TimedOut: {
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
        return Reply::error(
            504, "the " + what + " could not be made in time: " + name + " was stopped after " +
                     formatted("%.1f", static_cast<double>(took.count()) / 1000.0) + " s (the limit is " +
                     formatted("%.1f", static_cast<double>(limits.maxTime.count()) / 1000.0) + " s)" +
                     (settings.format == Format::Png ? "; ask for a smaller scale" : ""));
    }
    case Run::Outcome::Finished:
        break;
    }
    if (run.status != -1 && (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0)) {
        std::string message =
            "the " + what + " could not be made: " + name +
            (WIFEXITED(run.status) ? " failed with exit status " + std::to_string(WEXITSTATUS(run.status))
                                   : " was ended by signal " + std::to_string(WTERMSIG(run.status)));
        if (const std::string said = errorTail(errors); !said.empty()) message += ": " + said;
        return Reply::error(500, message);
    }
    return std::nullopt;
}

Reply convert(const std::string& svg, const ExportSettings& settings, const ConvertLimits& limits) {
    const std::string what = exportExtension(settings.format);
    std::vector<std::string> words = {limits.program, "-f", what};
    if (std::optional<Reply> refusal = formatOptions(svg, settings, limits, words)) return *refusal;

    TempFolder folder;
    if (folder.path().empty())
        return Reply::error(500, "the " + what + " could not be made: no temporary folder");
    const std::filesystem::path input = folder.path() / "export.svg",
                                output = folder.path() / ("export." + what),
                                errors = folder.path() / "errors.txt";
    {
        std::ofstream out(input, std::ios::binary);
        out << svg;
        if (!out)
            return Reply::error(500, "the " + what + " could not be made: the SVG could not be written");
    }
    words.insert(words.end(), {"-o", output.string(), input.string()});

    const auto started = std::chrono::steady_clock::now();
    const Run run = runWithin(std::move(words), errors.string(), limits.maxTime, limits.cancel);
    if (std::optional<Reply> failure = runFailure(run, settings, limits, started, errors)) return *failure;
    bool ok = false;
    std::string bytes = readAll(output, &ok);
    if (!ok || bytes.empty())
        return Reply::error(500, "the " + what + " could not be made: the converter (" + limits.program +
                                     ") wrote no " + what);
    return Reply::bytes(exportContentType(settings.format), std::move(bytes));
}

// ---- names of downloads ----

// The next code point of UTF-8 text at `at` (moved past it), or -1 for a byte that starts none.
long nextCodePoint(std::string_view text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xE  ? 3
                       : (lead >> 3) == 0x1E ? 4
                                             : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return -1;
    }
    long code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return -1;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr long kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) { // overlong, surrogate
        ++at;
        return -1;
    }
    at += static_cast<size_t>(length);
    return code;
}

void appendUtf8(std::string& out, long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Control characters, and the marks that turn the direction of text (which could make "gnp.exe" look like
// "exe.png").
bool invisible(long code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029 ||
           (code >= 0x200E && code <= 0x200F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

// The document's name as a file's name, without its extension (UTF-8).
std::string safeFileName(std::string_view name) {
    static constexpr size_t kMostBytes = 200;
    std::string out;
    for (size_t at = 0; at < name.size();) {
        const long code = nextCodePoint(name, at);
        if (code >= 0 && invisible(code)) continue;
        const bool refused = code < 0 || (code < 0x80 && std::strchr("/\\:*?\"<>|", static_cast<int>(code)));
        std::string piece;
        appendUtf8(piece, refused ? '_' : code);
        if (out.size() + piece.size() > kMostBytes) break;
        out += piece;
    }
    // No hidden file, no name Windows cuts short.
    const size_t first = out.find_first_not_of(" ."), last = out.find_last_not_of(" .");
    out = first == std::string::npos ? std::string() : out.substr(first, last - first + 1);
    if (out.empty()) return "Untitled";
    // Names Windows keeps for devices, whatever follows the dot.
    static constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    const std::string_view stem = std::string_view(out).substr(0, out.find('.'));
    bool device = std::any_of(std::begin(kDevices), std::end(kDevices),
                              [&](const char* each) { return sameText(stem, each); });
    device = device || (stem.size() == 4 &&
                        (sameText(stem.substr(0, 3), "COM") || sameText(stem.substr(0, 3), "LPT")) &&
                        stem[3] >= '1' && stem[3] <= '9');
    if (device) out.insert(0, "_");
    return out;
}

} // namespace

const char* exportExtension(Format format) {
    switch (format) {
    case Format::Png:
        return "png";
    case Format::Pdf:
        return "pdf";
    case Format::Svg:
        break;
    }
    return "svg";
}

const char* exportContentType(Format format) {
    switch (format) {
    case Format::Png:
        return "image/png";
    case Format::Pdf:
        return "application/pdf";
    case Format::Svg:
        break;
    }
    return "image/svg+xml";
}

namespace {

// Sets one of the export's settings from the query; why it cannot, or nothing.
std::optional<std::string> applyExportSetting(ExportSettings& settings, const std::string& key,
                                              const std::string& value) {
    const bool png = settings.format == Format::Png;
    if (key == "area") {
        if (value == "page")
            settings.area = ExportSettings::Area::Page;
        else if (value == "art")
            settings.area = ExportSettings::Area::Art;
        else
            return "area must be page or art, not \"" + value + "\"";
    } else if (key == "scale") {
        if (!png)
            return "scale is for PNG only: a " + std::string(exportExtension(settings.format)) +
                   " keeps the picture's size in points";
        double scale = 0.0;
        const auto parsed = std::from_chars(value.data(), value.data() + value.size(), scale);
        if (parsed.ec != std::errc() || parsed.ptr != value.data() + value.size() || !std::isfinite(scale) ||
            scale < kMinScale || scale > kMaxScale)
            return "scale must be a number of pixels per point from 0.01 to 100, not \"" + value + "\"";
        settings.scale = scale;
    } else if (key == "background") {
        if (!png)
            return "background is for PNG only: a " + std::string(exportExtension(settings.format)) +
                   " has no background of its own";
        if (value == "white")
            settings.transparent = false;
        else if (value == "transparent")
            settings.transparent = true;
        else
            return "background must be white or transparent, not \"" + value + "\"";
    } else {
        return "unknown setting \"" + key + "\": the settings are area, scale and background";
    }
    return std::nullopt;
}

} // namespace

std::optional<ExportSettings> parseExportSettings(std::string_view format, std::string_view query,
                                                  std::string* why) {
    const auto fail = [&](std::string reason) -> std::optional<ExportSettings> {
        if (why != nullptr) *why = std::move(reason);
        return std::nullopt;
    };
    ExportSettings settings;
    if (sameText(format, "svg"))
        settings.format = Format::Svg;
    else if (sameText(format, "png"))
        settings.format = Format::Png;
    else if (sameText(format, "pdf"))
        settings.format = Format::Pdf;
    else
        return fail("the format \"" + std::string(format) + "\" is not one of svg, png and pdf");

    std::vector<std::string> seen;
    for (size_t start = 0; start <= query.size();) {
        size_t end = query.find('&', start);
        if (end == std::string_view::npos) end = query.size();
        const std::string_view pair = query.substr(start, end - start);
        start = end + 1;
        if (pair.empty()) continue;
        const size_t equals = pair.find('=');
        const std::optional<std::string> key = percentDecoded(pair.substr(0, equals));
        const std::optional<std::string> value =
            percentDecoded(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
        if (!key) return fail("the setting \"" + std::string(pair) + "\" has a broken %-escape in its name");
        if (!value) return fail(*key + " has a broken %-escape in its value");
        if (std::find(seen.begin(), seen.end(), *key) != seen.end()) return fail(*key + " is given twice");
        seen.push_back(*key);
        // The workbench's token, for a tool that sends it in the address: the server checked it already.
        if (*key == "token") continue;
        if (std::optional<std::string> problem = applyExportSetting(settings, *key, *value))
            return fail(std::move(*problem));
    }
    return settings;
}

std::optional<std::string> exportSvgText(const Document& document, const ExportSettings& settings,
                                         std::string* why) {
    const auto fail = [&](std::string reason) -> std::optional<std::string> {
        if (why != nullptr) *why = std::move(reason);
        return std::nullopt;
    };
    if (std::string refusal = svgRefusal(document); !refusal.empty())
        return fail("the document cannot be exported: " + refusal);
    std::ostringstream out;
    std::string error;
    if (settings.area == ExportSettings::Area::Page) {
        if (!writeSvg(document, out, &error)) return fail("the document cannot be exported: " + error);
        return std::move(out).str();
    }
    const std::optional<SvgArea> area = svgArtArea(document, kArtPad);
    if (!area) return fail("the document has no art to export; export the page instead (area=page)");
    if (!writeSvg(document, out, *area, &error)) return fail("the document cannot be exported: " + error);
    return std::move(out).str();
}

Reply convertExport(const std::string& svg, const ExportSettings& settings, const ConvertLimits& limits) {
    if (settings.format == Format::Svg) return Reply::bytes(exportContentType(Format::Svg), svg);
    try {
        return convert(svg, settings, limits);
    } catch (const std::exception& problem) {
        return Reply::error(500, std::string("the export could not be made: ") + problem.what());
    } catch (...) {
        return Reply::error(500, "the export could not be made");
    }
}

std::string exportContentDisposition(std::string_view documentName, const ExportSettings& settings) {
    return downloadDisposition(documentName, exportExtension(settings.format));
}

std::string downloadDisposition(std::string_view documentName, std::string_view extension) {
    const std::string name = safeFileName(documentName) + "." + std::string(extension);
    std::string ascii;
    bool beyondAscii = false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            ascii += c;
        } else {
            beyondAscii = true;
            if ((byte & 0xC0) != 0x80) ascii += '_'; // one '_' a code point
        }
    }
    std::string header = "attachment; filename=\"" + ascii + "\"";
    if (!beyondAscii) return header;
    header += "; filename*=UTF-8''";
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 && byte < 0x80) {
            header += c;
        } else if (std::strchr("!#$&+-.^_`|~", c) != nullptr && c != '\0') {
            header += c;
        } else {
            header += '%';
            header += kHex[byte >> 4];
            header += kHex[byte & 0xF];
        }
    }
    return header;
}

} // namespace zz

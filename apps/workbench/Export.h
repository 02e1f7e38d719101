// The document exported as a file a designer takes away: SVG as the document writes it (SvgExport.h), or a
// PNG or PDF that rsvg-convert makes from that SVG, so the picture is the SVG's and never drawn a second time
// by hand.
//
// What is exported is the page, or the area all the art is drawn on, paint included (art off the page too).
// A PDF keeps the picture's size in points; a PNG has `scale` pixels per point on a white background unless
// asked to be transparent. The converter runs as a child process within limits of pixels and time, and the
// download is named after the document.
#ifndef ZZ_APPS_WORKBENCH_EXPORT_H
#define ZZ_APPS_WORKBENCH_EXPORT_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/document/Document.h"
#include "apps/workbench/Reply.h"

namespace zz {

struct ExportSettings {
    enum class Format { Svg, Png, Pdf } format = Format::Svg;
    // The page, or the bounds of all art as drawn (art off the page kept).
    enum class Area { Page, Art } area = Area::Page;
    double scale = 1.0;       // PNG only: pixels per point
    bool transparent = false; // PNG only: the default is a white background
};

// "svg", "png" or "pdf" (in any case).
const char* exportExtension(ExportSettings::Format format);
// "image/svg+xml", "image/png" or "application/pdf".
const char* exportContentType(ExportSettings::Format format);

// The settings of one export. `format` is the extension of the URL asked for ("svg", "png", "pdf"); `query`
// the URL's query without its '?', for instance "area=art&scale=2&background=transparent":
//
//   area=page|art                 what is exported (default page)
//   scale=N                       PNG only: pixels per point, 0.01 to 100 (default 1)
//   background=white|transparent  PNG only (default white)
//   token=TOKEN                   the workbench's token (Access.h), passed over here
//
// Keys and values may be percent-encoded. An unknown format or key, a bad value, a key given twice or one
// that does nothing for the format gives nothing, with *why naming the key and what it must be.
std::optional<ExportSettings> parseExportSettings(std::string_view format, std::string_view query,
                                                  std::string* why);

// Runs on the host thread. The SVG for the settings' area: for the page exactly what writeSvg writes; for the
// art, the same drawing with the view box around all the art's paint and a point to spare (svgArtArea). A
// document whose art cannot be exported, or the art's area of a document with none, gives nothing with *why.
std::optional<std::string> exportSvgText(const Document& document, const ExportSettings& settings,
                                         std::string* why);

struct ConvertLimits {
    // Pixels of a PNG (width times height, after scaling): 8192 x 8192. The converter holds the whole picture
    // as 4 bytes a pixel, so this is 256 MiB at most, and about two seconds of work when there is little art;
    // a letter page fits up to scale 10 (6120 x 7920 pixels).
    std::int64_t maxPixels = std::int64_t{8192} * 8192;
    // Time the converter may take before it is killed: long enough for a large picture of a full document,
    // short enough that a request that went wrong does not hold a thread for long.
    std::chrono::milliseconds maxTime{20000};
    std::string program = "rsvg-convert";
    // When this turns true (the server is stopping), the converter is killed at once and the answer is 503.
    const std::atomic<bool>* cancel = nullptr;
};

// The largest side of a PNG the converter can make.
constexpr std::int64_t kMaxPngSide = 32767;

// Runs on any thread and blocks until the converter is done. SVG passes through; PNG and PDF come as
// Reply::bytes with their content type. A PNG of more pixels than the limit, or wider or taller than
// kMaxPngSide, is refused before the converter runs (413, naming the size, the limit and the largest scale
// that fits); a converter that outlives maxTime is killed with anything it started and reaped (504); a
// converter that cannot be started or fails, or an SVG without a size, gives 500 with the reason. Never
// throws; the temporary files are always removed.
Reply convertExport(const std::string& svg, const ExportSettings& settings, const ConvertLimits& limits = {});

// The Content-Disposition header of the download: `attachment; filename="NAME.EXT"`, NAME the document's
// name made safe for file systems and headers (control characters dropped; path separators, quotes and the
// other characters Windows refuses in names turned to '_'; spaces and dots trimmed at the ends; at most 200
// bytes; "Untitled" when nothing is left), EXT the format's extension. A name beyond ASCII gets '_' in its
// place in filename and goes whole as filename*=UTF-8''... (RFC 6266, RFC 5987).
std::string exportContentDisposition(std::string_view documentName, const ExportSettings& settings);
// The same for a download of another kind, named NAME.`extension`.
std::string downloadDisposition(std::string_view documentName, std::string_view extension);

} // namespace zz

#endif

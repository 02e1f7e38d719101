// The commands a page sends, as one table: each command's name, its fields with their kinds and ranges,
// whether it may run while a dialog is open, and whether it comes over the page's socket or as an HTTP GET.
// The checks below read it, the host's dispatch (Workbench.cpp) reads it, and the page gets it in the
// socket's greeting, so that all three agree on what a command is.
//
// A command is a JSON object {"do": NAME, ...}. Over the socket it must carry "id", a whole number its
// answer repeats, or it is refused (400) and not carried out; every command may carry "since", the
// document revision the caller holds, and is then answered with what changed since it (a page on the
// socket need not: the host keeps each page's revision itself).
//
//   state                                   the document (delta), tool, dialog and history
//   mouseDown  at:[x,y] modifiers pressure pointer   press (document coordinates, y up)
//   drag       to:[x,y] ...                          pointer moved with the button held
//   mouseUp    [at] ...                              release; closes the drag's undo step
//   abandon                                  the page is going away mid-drag: the drag ends where it is
//   undo, redo                               the host's undo and redo of whole drags
//   newDocument colorModel page swatches namedStyles paint:{fill stroke strokeWidth}
//   seed       seed                          seeds the host's random generator
//   editOptions                              the double-click on the tool: answered when the dialog ends
//   dialog     action: value|select|click|close|state, item, value, entry (select: the entry chosen)
//   documents                                the documents folder's list, the open one marked
//   open       document                      every page goes on with that document
//   rename     [document] name               (default: the open document)
//   duplicate  [document]                    a copy under a new name, left closed
//   delete     document                      to the recycle bin (the open one: pages go on with another)
//   restore    document                      back from the recycle bin
//   script     the open document as the script `zigzag run` plays                    (HTTP GET)
//   thumbnail  document: its picture as PNG, when it has one                          (HTTP GET)
//   export     format: svg|png|pdf, area: page|art: the SVG the file is made from     (HTTP GET)
//   image      kind: icon|cursor|bitmap, id  the module's pictures as PNG                   (HTTP GET)
#ifndef ZZ_APPS_WORKBENCH_REQUESTS_H
#define ZZ_APPS_WORKBENCH_REQUESTS_H

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace zz {

// The largest request body the workbench reads.
inline constexpr std::size_t kMaxRequestBytes = 64 * 1024;

enum class FieldKind {
    Integer, // a whole number from low to high
    Number,  // a finite number from low to high
    Value,   // a finite number, or true / false
    Point,   // [x, y], two finite numbers within the float range
    Size,    // [width, height], each from low to high
    Choice,  // one of the words in `choices`
    Paint,   // {fill, stroke: "#rrggbb" or null, strokeWidth: low to high}
    Text,    // a string of low to high bytes of UTF-8
};

struct FieldRule {
    const char* name;
    FieldKind kind;
    double low = 0;
    double high = 0;
    std::vector<std::string> choices = {};
};

// Where a command comes from: the page's socket, or an HTTP GET (answered with bytes).
enum class Route { Socket, Http };

struct CommandRule {
    const char* name;
    std::vector<FieldRule> fields;
    bool duringDialog; // runs while a dialog is open; otherwise refused with 409 until it ends
    Route route;
    // Fields that must be given, or depend on one another; nothing when all is well.
    std::optional<std::string> (*relations)(const nlohmann::json& command) = nullptr;
};

// Every command a page may send, in the order of the list above.
std::span<const CommandRule> commandRules();
// The rule for `name`, or nothing.
const CommandRule* commandRule(std::string_view name);
// The table as the page's protocol module reads it: [{"do", "fields": [{name, kind, low, high, choices}],
// "duringDialog", "route"}].
nlohmann::json commandTableJson();

// The checked command, or why the body is refused.
struct ParsedRequest {
    nlohmann::json command;
    std::string error; // empty when the command is good
};

// Reads a body (JSON text, UTF-8, at most `limit` bytes) and checks it; never throws.
ParsedRequest parseRequest(std::string_view body, std::size_t limit = kMaxRequestBytes);

// Why a parsed JSON value is no good command, or nothing.
std::optional<std::string> commandProblem(const nlohmann::json& command);

// JSON text of `value` that never throws: strings that are not UTF-8 have their bad bytes replaced.
std::string safeDump(const nlohmann::json& value);

} // namespace zz

#endif

// The commands a page sends, read and checked on the thread that received them, before anything reaches the
// host thread: a body that is too large, is not JSON, names no known command or carries a field of the wrong
// kind is answered with the reason and changes nothing.
//
// A command is a JSON object {"do": NAME, ...}; every command may carry "since", the document revision the
// page holds, and is then answered with what changed since it.
//
//   state                                   the document (delta), tool, dialog and history
//   mouseDown  at:[x,y] modifiers pressure pointer   press (document coordinates, y up)
//   drag       to:[x,y] (or at) ...                  pointer moved with the button held
//   mouseUp    [at] ...                              release; closes the drag's undo step
//   abandon                                  the page went away mid-drag: the drag ends where it is
//   undo, redo                               the host's undo and redo of whole drags
//   newDocument colorModel page swatches namedStyles paint:{fill stroke strokeWidth}
//   seed       seed                          seeds the host's random generator
//   editOptions                              the double-click on the tool: answered when the dialog ends
//   dialog     action: value|choose|click|end|state, item, value, entry
//   export     format: svg|png|pdf
//   image      kind: icon|cursor|bitmap, id  the module's pictures as PNG
#ifndef ZZ_HOST_WORKBENCH_REQUESTS_H
#define ZZ_HOST_WORKBENCH_REQUESTS_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace zz {

// The largest request body the workbench reads.
inline constexpr std::size_t kMaxRequestBytes = 64 * 1024;

// The checked command, or why the body is refused.
struct ParsedRequest {
    nlohmann::json command;
    std::string error; // empty when the command is good
};

ParsedRequest parseRequest(std::string_view body, std::size_t limit = kMaxRequestBytes);

// Why a parsed JSON value is no good command, or nothing.
std::optional<std::string> commandProblem(const nlohmann::json& command);

} // namespace zz

#endif

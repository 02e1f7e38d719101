// What one session script may ask of the host.
#ifndef ZZ_APPS_SCRIPT_SCRIPT_LIMITS_H
#define ZZ_APPS_SCRIPT_SCRIPT_LIMITS_H

#include <cstddef>
#include <cstdint>

namespace zz {

// What one script may ask of the host, so that no script takes all the machine's memory or time: its events,
// the actions of one dialog, and the art its events make in all (art objects, new art and copies; path
// segments written beyond a path's end), art that a later event replaced or undid included. The module is
// answered kSPOutOfMemoryError for art past the limit, and the script is then refused, naming the event.
inline constexpr std::size_t kMaxScriptEvents = 100000;
inline constexpr std::size_t kMaxDialogActions = 1000;
inline constexpr uint64_t kMaxScriptArtObjects = 500000;
inline constexpr uint64_t kMaxScriptPathSegments = 10000000;

} // namespace zz

#endif

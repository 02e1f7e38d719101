// Writing a whole file so that readers see either the old file or the complete new one, never a part.
#ifndef ZZ_HOST_BASE_ATOMIC_FILE_H
#define ZZ_HOST_BASE_ATOMIC_FILE_H

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zz {

// Writes what `produce` streams to a temporary file beside `path`, then renames it over `path`. `produce`
// returns false (with its reason in *error) to give up. On failure returns false, says why in *error (when
// not null) and leaves no temporary file behind; an existing file at `path` is kept. The temporary file has a
// short name of its own (".zz-PROCESS-N.tmp"), whatever the length of `path`'s, and is created only where no
// file is: a file of that name is left alone and another name tried.
//
// Only a regular file is replaced that way. A symbolic link is followed and its target written; a link that
// leads round in a loop, and a target that exists and is not a regular file (a directory, a device, a pipe),
// are refused and left as they are.
bool writeFileAtomically(const std::string& path,
                         const std::function<bool(std::ostream&, std::string*)>& produce, std::string* error);

// The same for content at hand.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error);

// Why a command that reads `inputs` (its module, script, document...; empty names are skipped) may not write
// `output`, or nothing when it may: `output` is a link that loops, exists and is not a regular file, or is
// one of the inputs (the same file once links are followed, or the same path when it does not exist yet).
// Every command that writes a file asks this before it does any work, so that nothing is touched.
std::optional<std::string> outputRefusal(const std::string& output, const std::vector<std::string>& inputs);

} // namespace zz

#endif

// Writing a whole file so that readers see either the old file or the complete new one, never a part.
#ifndef ZZ_HOST_BASE_ATOMIC_FILE_H
#define ZZ_HOST_BASE_ATOMIC_FILE_H

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace zz {

// Writes what `produce` streams to a temporary file beside `path`, then renames it over `path`. `produce`
// returns false (with its reason in *error) to give up. On failure returns false, says why in *error (when
// not null) and leaves no temporary file behind; an existing file at `path` is kept. The temporary file has a
// short name of its own (".zz-PROCESS-N.tmp"), whatever the length of `path`'s, and is created only where no
// file is: a file of that name is left alone and another name tried.
//
// Only a regular file is replaced that way. A symbolic link is followed and its target written; a target that
// exists and is not a regular file (a device, a pipe) is written through in place, as a shell redirection
// does, since renaming over it would destroy it; a directory is refused.
bool writeFileAtomically(const std::string& path,
                         const std::function<bool(std::ostream&, std::string*)>& produce, std::string* error);

// The same for content at hand.
bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error);

} // namespace zz

#endif

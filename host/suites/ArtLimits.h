// Limits on the art a plug-in makes through the suites, for a host that plays work from outside (a session
// script) and must not let it take all the machine's memory: the art objects made (new art, and every object
// a duplicate or a symbol copies) and the path segments written beyond a path's end, counted from when the
// limits were set. Art that the plug-in takes back with UndoChanges (a drag event replacing the art of the
// one before) no longer counts; art the host's own undo takes back still does, as the history keeps it. A
// call that would pass a limit makes nothing and answers kSPOutOfMemoryError, as a host out of memory does.
//
// The limits belong to the thread, as the host's services do (HostServices.h): a caller sets them for as long
// as an ArtAllowance lives, and outside one nothing is limited.
#ifndef ZZ_HOST_SUITES_ART_LIMITS_H
#define ZZ_HOST_SUITES_ART_LIMITS_H

#include <cstdint>
#include <optional>
#include <string>

namespace zz {

class Art;

struct ArtLimits {
    uint64_t objects = 0;  // art objects made; 0: no limit
    uint64_t segments = 0; // path segments written beyond the end of their paths; 0: no limit
};

class ArtAllowance {
  public:
    explicit ArtAllowance(ArtLimits limits);
    ~ArtAllowance();
    ArtAllowance(const ArtAllowance&) = delete;
    ArtAllowance& operator=(const ArtAllowance&) = delete;

    // The limit a call was refused for ("500000 art objects"), once one was; nothing until then.
    const std::optional<std::string>& exceeded() const { return exceeded_; }

  private:
    friend bool chargeArt(uint64_t objects, uint64_t segments);
    friend void beginArtContext();
    friend void undoArtContext();

    ArtLimits limits_;
    uint64_t objects_ = 0;
    uint64_t segments_ = 0;
    uint64_t contextObjects_ = 0; // made since the undo context opened or was last undone
    uint64_t contextSegments_ = 0;
    std::optional<std::string> exceeded_;
    ArtAllowance* outer_;
};

// Counts what a call is about to make against this thread's allowance; false when that would pass a limit
// (the call must then fail with kSPOutOfMemoryError and make nothing).
bool chargeArt(uint64_t objects, uint64_t segments);
// The same for a copy of `art` with everything it holds.
bool chargeCopy(const Art& art);
// An undo context opened (a drag began): UndoChanges takes back what is made from now on.
void beginArtContext();
// UndoChanges took the document back to the start of the open undo context.
void undoArtContext();

} // namespace zz

#endif

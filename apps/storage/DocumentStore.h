// Drawings kept on disk: a folder of document files, each one SQLite database holding what was done to the
// drawing (the document it started as, the seed, the tool's settings then, and every finished change in
// order), so that playing those events again gives the drawing back exactly, its undo history included.
//
// A document file ("ID.zigzag", ID a random hexadecimal name that never changes; the document's name is
// inside) is written in SQLite's write-ahead mode with full synchronisation: a change whose append returned
// has reached the disk, and a process killed at any moment leaves the file as it was before or after the last
// append. A file is recognised by its application id and format number; anything else in the folder (another
// program's database, a damaged file, a file of a newer format) is listed with what is wrong and is never
// opened for writing.
//
// One workbench writes a document at a time: an open DocumentFile holds an advisory lock on its file, and
// another process that tries to open, rename, delete or restore it is told the document is in use. The lock
// goes with the process, so a killed server leaves nothing to clear.
//
//   file       meta(key, value)    name, created, modified, deleted, art, seed, document, settings (JSON)
//              steps(seq, event)   the finished changes, one event (JSON) each, in order
//              thumbnail(png)      a small picture of the page, made after changes settle
#ifndef ZZ_APPS_STORAGE_DOCUMENT_STORE_H
#define ZZ_APPS_STORAGE_DOCUMENT_STORE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

struct sqlite3;

namespace zz {

// What a document may hold, so that reading one takes bounded time and memory whatever its file says: its
// bytes on disk (the write-ahead log included), its events, how deeply one change's JSON nests, and the art
// it held when last saved. Its script (two events more: the start-up and the settings) stays within a
// script's own limits.
inline constexpr uint64_t kMaxDocumentBytes = uint64_t{32} << 20;
inline constexpr std::size_t kMaxDocumentEvents = 99998;
inline constexpr int kMaxDocumentNesting = 16;
inline constexpr uint64_t kMaxDocumentArt = 500000;

// Whether a document may hold `event`: one of the kinds the workbench writes (a drag's pointer events,
// abandon, undo, redo, seed and the options dialog). Anything else (a fault, a file export, a message of the
// module's life, settings written past the dialog) would do more than draw when the document is opened.
bool isDocumentEvent(const nlohmann::json& event);

// How a document began: what `zigzag run` needs before the first of its events.
struct DocumentStart {
    nlohmann::json document = nlohmann::json::object(); // a script's "document" object
    uint32_t seed = 0;
    nlohmann::json settings = nlohmann::json::object(); // the tool's settings, every field
};

// What the folder's list says of one file.
struct DocumentSummary {
    std::string id;
    std::string name;
    int64_t created = 0;  // milliseconds since 1970
    int64_t modified = 0; // milliseconds since 1970
    std::optional<int64_t> deleted;
    uint64_t art = 0;   // art objects when last saved
    uint64_t steps = 0; // finished changes
    uint64_t bytes = 0; // on disk, the write-ahead log included
    bool thumbnail = false;
    std::string problem; // not empty: the file is no document this program can open, and why
};

// The time now, in milliseconds since 1970.
int64_t nowMilliseconds();

// One document open for writing.
class DocumentFile {
  public:
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    const std::string& id() const { return id_; }
    const std::string& path() const { return path_; }
    const std::string& name() const { return name_; }
    const DocumentStart& start() const { return start_; }
    // The finished changes, in order, as read when the file was opened.
    const std::vector<nlohmann::json>& events() const { return events_; }

    // Appends finished changes and the art count now, in one transaction that has reached the disk when this
    // returns true. False with the reason (nothing of it is kept then).
    bool append(const std::vector<nlohmann::json>& events, uint64_t art, std::string* error);
    bool rename(const std::string& name, std::string* error);
    bool setDeleted(bool deleted, std::string* error);
    // What the folder's list says of this document, read through this file's own connection.
    DocumentSummary summary();
    std::optional<std::string> thumbnail();
    bool storeThumbnail(const std::string& png, std::string* error);

  private:
    friend class DocumentFolder;
    DocumentFile() = default;
    bool setMeta(const std::string& key, const nlohmann::json& value, std::string* error);

    sqlite3* db_ = nullptr;
    int lockFd_ = -1;
    bool registered_ = false;
    std::string id_, path_, name_;
    DocumentStart start_;
    std::vector<nlohmann::json> events_;
};

class DocumentFolder {
  public:
    // The folder (made, with its parents, when missing).
    explicit DocumentFolder(std::string path) : path_(std::move(path)) {}
    // $XDG_DATA_HOME/zigzag/documents, else ~/.local/share/zigzag/documents.
    static std::string defaultPath();
    const std::string& path() const { return path_; }
    // Makes the folder when missing; false with the reason.
    bool prepare(std::string* error);

    // Every file named *.zigzag, newest change first; files that are no document say why. A document this
    // process has open is read through its own DocumentFile, `here` (never through a second descriptor:
    // closing one would drop the locks the open file's connection holds).
    std::vector<DocumentSummary> list(DocumentFile* here = nullptr) const;
    std::optional<DocumentSummary> summary(const std::string& id, DocumentFile* here = nullptr) const;

    // A new document file, written whole before it appears under its name.
    std::unique_ptr<DocumentFile> create(const std::string& name, const DocumentStart& start,
                                         std::string* error);
    // Opens a document for writing, its events read and checked; nothing with the reason when it is not
    // ours, damaged, of a newer format or open in another process.
    std::unique_ptr<DocumentFile> open(const std::string& id, std::string* error);
    // A copy of a document as it stands on disk, under a new id and name (`here`: as for list).
    std::optional<std::string> duplicate(const std::string& id, const std::string& name, std::string* error,
                                         DocumentFile* here = nullptr);
    // Renames or moves to and from the recycle state a document that is not open anywhere.
    bool rename(const std::string& id, const std::string& name, std::string* error);
    bool setDeleted(const std::string& id, bool deleted, std::string* error);

    // The thumbnail (PNG) of a document not open in this process, when it has one.
    std::optional<std::string> thumbnail(const std::string& id) const;
    // Stores the thumbnail of a document open nowhere; false with the reason.
    bool storeThumbnail(const std::string& id, const std::string& png, std::string* error);

    // The file's path for an id; nothing for a string that is no id.
    std::optional<std::string> fileOf(const std::string& id) const;
    // A name not yet used by a document in the folder: `base`, else "base 2", "base 3", ...
    std::string freeName(const std::string& base, DocumentFile* here = nullptr) const;

  private:
    std::string path_;
};

// The script `zigzag run` plays to draw a document again: the start and every event.
nlohmann::json documentScript(const DocumentStart& start, const std::vector<nlohmann::json>& events);
// Reads a document file (not necessarily in a folder; a link to one is followed) as such a script, checked as
// the workbench checks a document it opens; nothing with the reason. Never blocks on a pipe or a device.
std::optional<nlohmann::json> readDocumentScript(const std::string& path, std::string* error);
// Whether the file begins as an SQLite database does. Only for files this process does not hold open.
bool looksLikeDocument(const std::string& path);

} // namespace zz

#endif

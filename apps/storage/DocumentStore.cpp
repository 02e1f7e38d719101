#include "apps/storage/DocumentStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>

#include <sqlite3.h>

namespace zz {

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

// 'ZZdc' in the database header marks a zigzag document; the format number says how its tables are laid out.
constexpr int32_t kApplicationId = 0x5A5A6463;
constexpr int32_t kFormat = 1;
constexpr const char* kExtension = ".zigzag";

const char* const kSchema =
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE steps(seq INTEGER PRIMARY KEY, events TEXT NOT NULL);"
    "CREATE TABLE thumbnail(one INTEGER PRIMARY KEY CHECK (one = 1), png BLOB NOT NULL);";

// A connection that closes itself.
struct Connection {
    sqlite3* db = nullptr;
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close(db); }
    sqlite3* release() {
        sqlite3* out = db;
        db = nullptr;
        return out;
    }
};

// A prepared statement that finalizes itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr); }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return statement_ != nullptr; }
    sqlite3_stmt* get() { return statement_; }
    int step() { return statement_ != nullptr ? sqlite3_step(statement_) : SQLITE_MISUSE; }
    void bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bindBlob(int index, const std::string& bytes) {
        sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    }
    std::string text(int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return bytes != nullptr
                   ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                   : std::string();
    }
    std::string blob(int column) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return bytes != nullptr
                   ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                   : std::string();
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

std::string sqliteError(sqlite3* db) {
    return db != nullptr ? sqlite3_errmsg(db) : "out of memory";
}

bool exec(sqlite3* db, const char* sql, std::string* error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    if (error != nullptr) *error = message != nullptr ? message : sqliteError(db);
    sqlite3_free(message);
    return false;
}

int64_t pragmaNumber(sqlite3* db, const char* pragma) {
    Statement statement(db, pragma);
    return statement.step() == SQLITE_ROW ? sqlite3_column_int64(statement.get(), 0) : -1;
}

// Opens `path` as SQLite with `flags`, or a URI when `uri`; false with SQLite's reason.
bool openDatabase(Connection& connection, const std::string& target, int flags, std::string* error) {
    if (sqlite3_open_v2(target.c_str(), &connection.db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        if (error != nullptr) *error = sqliteError(connection.db);
        return false;
    }
    sqlite3_busy_timeout(connection.db, 5000);
    return true;
}

std::string uriOf(const std::string& path, const char* parameters) {
    std::string uri = "file:";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            uri += static_cast<char>(c);
        } else {
            static const char* const kHex = "0123456789ABCDEF";
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?" + parameters;
}

// Opens a file read-only after checking that it is a document of ours in good order; false with what is
// wrong in the user's words. Nothing is written to the file, whatever it holds.
bool openChecked(Connection& connection, const std::string& path, std::string* problem) {
    std::string why;
    {
        // The header alone first, read as an unchanging file: no lock is taken and nothing is recovered.
        Connection probe;
        if (!openDatabase(probe, uriOf(path, "immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, &why)) {
            *problem = "cannot be read: " + why;
            return false;
        }
        const int64_t id = pragmaNumber(probe.db, "PRAGMA application_id");
        if (id == -1) {
            *problem = "is not a zigzag document (" + sqliteError(probe.db) + ")";
            return false;
        }
        if (id != kApplicationId) {
            *problem = "is not a zigzag document (a database of another program)";
            return false;
        }
        const int64_t format = pragmaNumber(probe.db, "PRAGMA user_version");
        if (format > kFormat) {
            *problem = "was written by a newer zigzag (format " + std::to_string(format) + ")";
            return false;
        }
        if (format < 1) {
            *problem = "is damaged (its format number is missing)";
            return false;
        }
    }
    if (!openDatabase(connection, uriOf(path, "mode=ro"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, &why)) {
        *problem = "cannot be read: " + why;
        return false;
    }
    Statement check(connection.db, "PRAGMA quick_check");
    if (check.step() != SQLITE_ROW) {
        *problem = "is damaged (" + sqliteError(connection.db) + ")";
        return false;
    }
    const std::string verdict = check.text(0);
    if (verdict != "ok") {
        *problem = "is damaged (" + verdict + ")";
        return false;
    }
    return true;
}

// The meta table as JSON values; false with what is missing or unreadable.
bool readMeta(sqlite3* db, std::map<std::string, json>* meta, std::string* problem) {
    Statement statement(db, "SELECT key, value FROM meta");
    if (!statement) {
        *problem = "is damaged (" + sqliteError(db) + ")";
        return false;
    }
    int rc = SQLITE_ROW;
    while ((rc = statement.step()) == SQLITE_ROW) {
        const std::string key = statement.text(0);
        json value = json::parse(statement.text(1), nullptr, false);
        if (value.is_discarded()) {
            *problem = "is damaged (its \"" + key + "\" cannot be read)";
            return false;
        }
        (*meta)[key] = std::move(value);
    }
    if (rc != SQLITE_DONE) {
        *problem = "is damaged (" + sqliteError(db) + ")";
        return false;
    }
    for (const char* key : {"name", "created", "modified", "art", "seed", "document", "settings"})
        if (!meta->count(key)) {
            *problem = std::string("is damaged (its \"") + key + "\" is missing)";
            return false;
        }
    const auto kindIs = [&](const char* key, bool ok) {
        if (!ok) *problem = std::string("is damaged (its \"") + key + "\" is of the wrong kind)";
        return ok;
    };
    return kindIs("name", (*meta)["name"].is_string()) &&
           kindIs("created", (*meta)["created"].is_number_integer()) &&
           kindIs("modified", (*meta)["modified"].is_number_integer()) &&
           kindIs("art", (*meta)["art"].is_number_unsigned() || (*meta)["art"].is_number_integer()) &&
           kindIs("seed", (*meta)["seed"].is_number_unsigned() || (*meta)["seed"].is_number_integer()) &&
           kindIs("document", (*meta)["document"].is_object()) &&
           kindIs("settings", (*meta)["settings"].is_object());
}

// The files this process holds open as documents. They are never opened a second time here: closing a
// second descriptor of a file drops every POSIX lock the process holds on it, SQLite's own included.
// A forked child inherits the list but none of the files' locks: entries are the process's own by its id.
std::mutex openHereMutex;
std::set<std::pair<pid_t, std::string>>& openHere() {
    static std::set<std::pair<pid_t, std::string>> paths;
    return paths;
}
bool isOpenHere(const std::string& path) {
    std::lock_guard<std::mutex> lock(openHereMutex);
    return openHere().count({getpid(), path}) != 0;
}
// Claims the path for one DocumentFile of this process; false when one has it.
bool claimHere(const std::string& path) {
    std::lock_guard<std::mutex> lock(openHereMutex);
    return openHere().insert({getpid(), path}).second;
}
void releaseHere(const std::string& path) {
    std::lock_guard<std::mutex> lock(openHereMutex);
    openHere().erase({getpid(), path});
}

// The summary of an open document, read through `db`.
bool summarise(sqlite3* db, DocumentSummary* out) {
    std::map<std::string, json> meta;
    if (!readMeta(db, &meta, &out->problem)) return false;
    out->name = meta["name"].get<std::string>();
    out->created = meta["created"].get<int64_t>();
    out->modified = meta["modified"].get<int64_t>();
    if (meta.count("deleted") && meta["deleted"].is_number_integer())
        out->deleted = meta["deleted"].get<int64_t>();
    out->art = meta["art"].get<uint64_t>();
    out->steps = static_cast<uint64_t>(pragmaNumber(db, "SELECT count(*) FROM steps"));
    out->thumbnail = pragmaNumber(db, "SELECT count(*) FROM thumbnail") > 0;
    return true;
}

std::optional<std::string> thumbnailIn(sqlite3* db) {
    Statement statement(db, "SELECT png FROM thumbnail WHERE one = 1");
    if (statement.step() != SQLITE_ROW) return std::nullopt;
    return statement.blob(0);
}

bool validId(const std::string& id) {
    return id.size() == 16 && std::all_of(id.begin(), id.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

std::string randomId() {
    unsigned char bytes[8] = {};
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            // No random bytes: the clock and the process make a name unlikely to repeat.
            const auto now =
                static_cast<uint64_t>(nowMilliseconds()) ^ (static_cast<uint64_t>(getpid()) << 40);
            std::memcpy(bytes, &now, sizeof bytes);
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    static const char* const kHex = "0123456789abcdef";
    std::string id;
    for (const unsigned char b : bytes) {
        id += kHex[b >> 4];
        id += kHex[b & 15];
    }
    return id;
}

// An advisory lock on the file for as long as the descriptor is open; -1 with the reason when another
// holder has it. The descriptor must stay open while SQLite has the file open in this process: closing any
// descriptor of a file drops the process's POSIX locks on it, SQLite's included.
int lockFile(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno == ENOENT ? "there is no such document"
                                 : std::string("cannot be opened: ") + std::strerror(errno);
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        *error = "is open in another workbench";
        ::close(fd);
        return -1;
    }
    return fd;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    ::close(fd);
}

uint64_t bytesOnDisk(const std::string& path) {
    uint64_t total = 0;
    for (const char* suffix : {"", "-wal"}) {
        struct stat info {};
        if (::stat((path + suffix).c_str(), &info) == 0) total += static_cast<uint64_t>(info.st_size);
    }
    return total;
}

bool setMetaIn(sqlite3* db, const std::string& key, const json& value, std::string* error) {
    Statement statement(db, "INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)");
    statement.bind(1, key);
    statement.bind(2, value.dump());
    if (statement.step() == SQLITE_DONE) return true;
    if (error != nullptr) *error = sqliteError(db);
    return false;
}

// Runs `change` in one write transaction on a connection opened for writing; false with the reason.
template <typename Change> bool writeTransaction(sqlite3* db, Change&& change, std::string* error) {
    if (!exec(db, "BEGIN IMMEDIATE", error)) return false;
    if (!change() || !exec(db, "COMMIT", error)) {
        exec(db, "ROLLBACK", nullptr);
        return false;
    }
    return true;
}

bool openForWriting(Connection& connection, const std::string& path, std::string* error) {
    std::string why;
    if (!openDatabase(connection, path, SQLITE_OPEN_READWRITE, &why) ||
        !exec(connection.db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", &why)) {
        *error = "cannot be opened for writing: " + why;
        return false;
    }
    return true;
}

} // namespace

int64_t nowMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// ---- DocumentFile
// --------------------------------------------------------------------------------------------

DocumentFile::~DocumentFile() {
    sqlite3_close(db_);
    if (lockFd_ >= 0) ::close(lockFd_);
    if (registered_) releaseHere(path_);
}

DocumentSummary DocumentFile::summary() {
    DocumentSummary out;
    out.id = id_;
    out.bytes = bytesOnDisk(path_);
    if (!summarise(db_, &out)) out.name = name_;
    return out;
}

std::optional<std::string> DocumentFile::thumbnail() {
    return thumbnailIn(db_);
}

bool DocumentFile::storeThumbnail(const std::string& png, std::string* error) {
    return writeTransaction(
        db_,
        [&] {
            Statement statement(db_, "INSERT OR REPLACE INTO thumbnail(one, png) VALUES(1, ?)");
            statement.bindBlob(1, png);
            if (statement.step() == SQLITE_DONE) return true;
            if (error != nullptr) *error = sqliteError(db_);
            return false;
        },
        error);
}

bool DocumentFile::append(const std::vector<json>& events, uint64_t art, std::string* error) {
    return writeTransaction(
        db_,
        [&] {
            Statement insert(db_, "INSERT INTO steps(events) VALUES(?)");
            insert.bind(1, json(events).dump());
            if (insert.step() != SQLITE_DONE) {
                if (error != nullptr) *error = sqliteError(db_);
                return false;
            }
            return setMetaIn(db_, "art", art, error) && setMetaIn(db_, "modified", nowMilliseconds(), error);
        },
        error);
}

bool DocumentFile::setMeta(const std::string& key, const json& value, std::string* error) {
    return writeTransaction(
        db_, [&] { return setMetaIn(db_, key, value, error); }, error);
}

bool DocumentFile::rename(const std::string& name, std::string* error) {
    if (!setMeta("name", name, error)) return false;
    name_ = name;
    return true;
}

bool DocumentFile::setDeleted(bool deleted, std::string* error) {
    return setMeta("deleted", deleted ? json(nowMilliseconds()) : json(nullptr), error);
}

// ---- DocumentFolder
// ------------------------------------------------------------------------------------------

std::string DocumentFolder::defaultPath() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
        return std::string(data) + "/zigzag/documents";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/zigzag/documents";
    return "zigzag-documents";
}

bool DocumentFolder::prepare(std::string* error) {
    std::error_code code;
    fs::create_directories(path_, code);
    if (!fs::is_directory(path_, code)) {
        if (error != nullptr)
            *error =
                "the documents folder " + path_ + " cannot be made" + (code ? ": " + code.message() : "");
        return false;
    }
    return true;
}

std::optional<std::string> DocumentFolder::fileOf(const std::string& id) const {
    if (!validId(id)) return std::nullopt;
    return path_ + "/" + id + kExtension;
}

std::optional<DocumentSummary> DocumentFolder::summary(const std::string& id, DocumentFile* here) const {
    const std::optional<std::string> path = fileOf(id);
    if (!path) return std::nullopt;
    if (here != nullptr && here->path() == *path) return here->summary();
    std::error_code code;
    if (!fs::is_regular_file(*path, code)) return std::nullopt;
    DocumentSummary out;
    out.id = id;
    out.bytes = bytesOnDisk(*path);
    Connection connection;
    if (isOpenHere(*path)) {
        out.name = id + kExtension;
        out.problem = "is open in this workbench";
    } else if (!openChecked(connection, *path, &out.problem) || !summarise(connection.db, &out)) {
        out.name = id + kExtension;
    }
    return out;
}

std::vector<DocumentSummary> DocumentFolder::list(DocumentFile* here) const {
    std::vector<DocumentSummary> out;
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(path_, code)) {
        const fs::path& file = entry.path();
        if (file.extension() != kExtension) continue;
        const std::string id = file.stem().string();
        if (!validId(id)) {
            DocumentSummary foreign;
            foreign.id = id;
            foreign.name = file.filename().string();
            foreign.problem = "is not named as a zigzag document";
            out.push_back(std::move(foreign));
            continue;
        }
        if (std::optional<DocumentSummary> one = summary(id, here)) out.push_back(std::move(*one));
    }
    std::sort(out.begin(), out.end(), [](const DocumentSummary& a, const DocumentSummary& b) {
        return a.modified != b.modified ? a.modified > b.modified : a.id < b.id;
    });
    return out;
}

std::string DocumentFolder::freeName(const std::string& base, DocumentFile* here) const {
    std::vector<std::string> names;
    for (const DocumentSummary& one : list(here))
        if (one.problem.empty()) names.push_back(one.name);
    const auto used = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (!used(base)) return base;
    for (int n = 2;; ++n)
        if (const std::string name = base + " " + std::to_string(n); !used(name)) return name;
}

std::unique_ptr<DocumentFile> DocumentFolder::create(const std::string& name, const DocumentStart& start,
                                                     std::string* error) {
    if (!prepare(error)) return nullptr;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string id = randomId();
        const std::string path = *fileOf(id);
        const std::string temporary = path_ + "/." + id + ".new";
        std::string why;
        bool written = false;
        {
            Connection connection;
            const int64_t now = nowMilliseconds();
            written = openDatabase(connection, temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &why) &&
                      exec(connection.db,
                           ("PRAGMA application_id=" + std::to_string(kApplicationId) +
                            "; PRAGMA user_version=" + std::to_string(kFormat) + "; PRAGMA synchronous=FULL")
                               .c_str(),
                           &why) &&
                      writeTransaction(
                          connection.db,
                          [&] {
                              return exec(connection.db, kSchema, &why) &&
                                     setMetaIn(connection.db, "name", name, &why) &&
                                     setMetaIn(connection.db, "created", now, &why) &&
                                     setMetaIn(connection.db, "modified", now, &why) &&
                                     setMetaIn(connection.db, "deleted", nullptr, &why) &&
                                     setMetaIn(connection.db, "art", 0, &why) &&
                                     setMetaIn(connection.db, "seed", start.seed, &why) &&
                                     setMetaIn(connection.db, "document", start.document, &why) &&
                                     setMetaIn(connection.db, "settings", start.settings, &why);
                          },
                          &why) &&
                      exec(connection.db, "PRAGMA journal_mode=WAL", &why);
        }
        // The finished file takes its name only if nothing has it: link never replaces a file.
        const bool linked = written && ::link(temporary.c_str(), path.c_str()) == 0;
        const int linkError = errno;
        ::unlink(temporary.c_str());
        if (!written) {
            if (error != nullptr) *error = "the document cannot be written in " + path_ + ": " + why;
            return nullptr;
        }
        if (!linked) {
            if (linkError == EEXIST) continue;
            if (error != nullptr)
                *error = "the document cannot be written in " + path_ + ": " + std::strerror(linkError);
            return nullptr;
        }
        syncFolder(path_);
        return open(id, error);
    }
    if (error != nullptr) *error = "no free document name was found in " + path_;
    return nullptr;
}

std::unique_ptr<DocumentFile> DocumentFolder::open(const std::string& id, std::string* error) {
    const std::optional<std::string> path = fileOf(id);
    const auto fail = [&](const std::string& why) -> std::unique_ptr<DocumentFile> {
        if (error != nullptr) *error = "the document " + id + " " + why;
        return nullptr;
    };
    if (!path) return fail("is no document's name");
    std::unique_ptr<DocumentFile> file(new DocumentFile);
    if (!claimHere(*path)) return fail("is open in this workbench");
    file->registered_ = true;
    file->path_ = *path;
    std::string why;
    file->lockFd_ = lockFile(*path, &why);
    if (file->lockFd_ < 0) return fail(why);
    std::map<std::string, json> meta;
    std::vector<json> events;
    {
        Connection reader;
        if (!openChecked(reader, *path, &why) || !readMeta(reader.db, &meta, &why)) return fail(why);
        Statement steps(reader.db, "SELECT events FROM steps ORDER BY seq");
        int rc = SQLITE_ROW;
        while ((rc = steps.step()) == SQLITE_ROW) {
            json step = json::parse(steps.text(0), nullptr, false);
            if (!step.is_array()) return fail("is damaged (a step cannot be read)");
            for (json& event : step) {
                if (!event.is_object() || !event.contains("do") || !event["do"].is_string())
                    return fail("is damaged (a step holds no event)");
                events.push_back(std::move(event));
            }
        }
        if (rc != SQLITE_DONE) return fail("is damaged (" + sqliteError(reader.db) + ")");
    }
    Connection writer;
    if (!openForWriting(writer, *path, &why)) return fail(why);
    file->db_ = writer.release();
    file->id_ = id;
    file->name_ = meta["name"].get<std::string>();
    file->start_.seed = static_cast<uint32_t>(meta["seed"].get<uint64_t>());
    file->start_.document = std::move(meta["document"]);
    file->start_.settings = std::move(meta["settings"]);
    file->events_ = std::move(events);
    return file;
}

namespace {

// Writes the database `from` to the new file `temporary` as a document named `name`, made and changed now.
bool writeCopy(sqlite3* from, const std::string& temporary, const std::string& name, std::string* why) {
    Connection copy;
    if (!openDatabase(copy, temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, why)) return false;
    sqlite3_backup* backup = sqlite3_backup_init(copy.db, "main", from, "main");
    const bool written = backup != nullptr && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
    sqlite3_backup_finish(backup);
    if (!written) *why = sqliteError(copy.db);
    const int64_t now = nowMilliseconds();
    return written && exec(copy.db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", why) &&
           writeTransaction(
               copy.db,
               [&] {
                   return setMetaIn(copy.db, "name", name, why) && setMetaIn(copy.db, "created", now, why) &&
                          setMetaIn(copy.db, "modified", now, why) &&
                          setMetaIn(copy.db, "deleted", nullptr, why);
               },
               why) &&
           exec(copy.db, "PRAGMA journal_mode=WAL", why);
}

} // namespace

std::optional<std::string> DocumentFolder::duplicate(const std::string& id, const std::string& name,
                                                     std::string* error, DocumentFile* here) {
    const std::optional<std::string> path = fileOf(id);
    std::string why;
    Connection source;
    sqlite3* from = nullptr;
    if (path && here != nullptr && here->path() == *path) {
        from = here->db_;
    } else if (path && isOpenHere(*path)) {
        why = "is open in this workbench";
    } else if (path && openChecked(source, *path, &why)) {
        from = source.db;
    }
    if (from == nullptr) {
        if (error != nullptr) *error = "the document " + id + " " + (path ? why : "is no document's name");
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string copyId = randomId();
        const std::string copyPath = *fileOf(copyId);
        const std::string temporary = path_ + "/." + copyId + ".new";
        const bool written = writeCopy(from, temporary, name, &why);
        const bool linked = written && ::link(temporary.c_str(), copyPath.c_str()) == 0;
        const int linkError = errno;
        ::unlink(temporary.c_str());
        ::unlink((temporary + "-journal").c_str());
        if (!written || (!linked && linkError != EEXIST)) {
            if (error != nullptr)
                *error = "the copy cannot be written in " + path_ + ": " +
                         (written ? std::strerror(linkError) : why);
            return std::nullopt;
        }
        if (!linked) continue;
        syncFolder(path_);
        return copyId;
    }
    if (error != nullptr) *error = "no free document name was found in " + path_;
    return std::nullopt;
}

bool DocumentFolder::rename(const std::string& id, const std::string& name, std::string* error) {
    std::unique_ptr<DocumentFile> file = open(id, error);
    return file != nullptr && file->rename(name, error);
}

bool DocumentFolder::setDeleted(const std::string& id, bool deleted, std::string* error) {
    std::unique_ptr<DocumentFile> file = open(id, error);
    return file != nullptr && file->setDeleted(deleted, error);
}

std::optional<std::string> DocumentFolder::thumbnail(const std::string& id) const {
    const std::optional<std::string> path = fileOf(id);
    std::string why;
    Connection connection;
    if (!path || isOpenHere(*path) || !openChecked(connection, *path, &why)) return std::nullopt;
    return thumbnailIn(connection.db);
}

bool DocumentFolder::storeThumbnail(const std::string& id, const std::string& png, std::string* error) {
    const std::optional<std::string> path = fileOf(id);
    if (!path || isOpenHere(*path)) {
        if (error != nullptr) *error = "the document " + id + " is open or no document's name";
        return false;
    }
    std::unique_ptr<DocumentFile> file(new DocumentFile);
    if (!claimHere(*path)) return false;
    file->registered_ = true;
    file->path_ = *path;
    std::string why;
    file->lockFd_ = lockFile(*path, &why);
    Connection check, writer;
    if (file->lockFd_ < 0 || !openChecked(check, *path, &why) || !openForWriting(writer, *path, &why)) {
        if (error != nullptr) *error = "the document " + id + " " + why;
        return false;
    }
    file->db_ = writer.release();
    return file->storeThumbnail(png, error);
}

// ---- scripts
// -------------------------------------------------------------------------------------------------

json documentScript(const DocumentStart& start, const std::vector<json>& events) {
    json all = json::array({{{"do", "startup"}}, {{"do", "settings"}, {"set", start.settings}}});
    for (const json& event : events)
        all.push_back(event);
    return {{"seed", start.seed}, {"document", start.document}, {"events", std::move(all)}};
}

std::optional<json> readDocumentScript(const std::string& path, std::string* error) {
    std::string why;
    Connection reader;
    std::map<std::string, json> meta;
    if (!openChecked(reader, path, &why) || !readMeta(reader.db, &meta, &why)) {
        if (error != nullptr) *error = path + " " + why;
        return std::nullopt;
    }
    std::vector<json> events;
    Statement steps(reader.db, "SELECT events FROM steps ORDER BY seq");
    int rc = SQLITE_ROW;
    while ((rc = steps.step()) == SQLITE_ROW) {
        json step = json::parse(steps.text(0), nullptr, false);
        if (!step.is_array()) {
            if (error != nullptr) *error = path + " is damaged (a step cannot be read)";
            return std::nullopt;
        }
        for (json& event : step)
            events.push_back(std::move(event));
    }
    DocumentStart start;
    start.seed = static_cast<uint32_t>(meta["seed"].get<uint64_t>());
    start.document = meta["document"];
    start.settings = meta["settings"];
    return documentScript(start, events);
}

bool looksLikeDocument(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char magic[16] = {};
    return file.read(magic, sizeof magic) && std::memcmp(magic, "SQLite format 3", 16) == 0;
}

} // namespace zz

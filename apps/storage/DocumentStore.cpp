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
    // Whatever a file's schema says, nothing in it runs: no trigger fires, no view is read, and no function
    // with side effects is called from it.
    sqlite3* db = connection.db;
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
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

uint64_t bytesOnDisk(const std::string& path) {
    uint64_t total = 0;
    for (const char* suffix : {"", "-wal"}) {
        struct stat info {};
        if (::stat((path + suffix).c_str(), &info) == 0) total += static_cast<uint64_t>(info.st_size);
    }
    return total;
}

// What is wrong with a link that cannot be followed, from the errno of following it.
std::string brokenLink(int error) {
    if (error == ELOOP) return "is a link that leads round in a loop, not a document file";
    if (error == ENOENT) return "is a link to nothing, not a document file";
    return std::string("is a link that cannot be followed: ") + std::strerror(error);
}

// Why `path` cannot be a document, looked at without opening it (a pipe or a device would block a reader):
// anything but a regular file within a document's size. A symbolic link is followed only when
// `followLinks`; in a folder of documents it is refused, as nothing that is not ours is ever written.
std::optional<std::string> fileKindProblem(const std::string& path, bool followLinks) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? "does not exist" : std::string("cannot be read: ") + std::strerror(errno);
    if (S_ISLNK(info.st_mode)) {
        if (::stat(path.c_str(), &info) != 0) return brokenLink(errno);
        if (!followLinks) return "is a symbolic link, not a document file";
    }
    if (S_ISDIR(info.st_mode)) return "is a directory, not a document file";
    if (S_ISFIFO(info.st_mode)) return "is a named pipe (FIFO), not a document file";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device, not a document file";
    if (S_ISSOCK(info.st_mode)) return "is a socket, not a document file";
    if (!S_ISREG(info.st_mode)) return "is not a regular file";
    if (const uint64_t bytes = bytesOnDisk(path); bytes > kMaxDocumentBytes)
        return "is too big for a document (" + std::to_string(bytes) + " bytes; a document holds at most " +
               std::to_string(kMaxDocumentBytes) + ")";
    return std::nullopt;
}

// How deeply JSON text nests lists and objects, strings skipped, counted up to `limit` + 1 at most. Reading
// is cheap this way for any depth, where building and copying a nested value recurses once per level.
int nestingDepth(const std::string& text, int limit) {
    int depth = 0, deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size() && deepest <= limit; ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// The schema of a document, object by object as sqlite_schema lists them: the three tables and the index
// SQLite keeps for meta's key. A table's text is kSchema's, statement by statement.
struct SchemaObject {
    std::string type, name, table, sql;
};
std::vector<SchemaObject> ourSchema() {
    std::vector<SchemaObject> objects;
    const std::string all = kSchema;
    for (std::size_t at = 0, end = 0; (end = all.find(';', at)) != std::string::npos; at = end + 1) {
        const std::string sql = all.substr(at, end - at);
        const std::size_t name = std::strlen("CREATE TABLE ");
        const std::string table = sql.substr(name, sql.find('(') - name);
        objects.push_back({"table", table, table, sql});
    }
    objects.push_back({"index", "sqlite_autoindex_meta_1", "meta", ""});
    return objects;
}

// Whether the schema is exactly ours; false with what else it holds, or what is missing or changed.
bool schemaIsOurs(sqlite3* db, std::string* problem) {
    const std::vector<SchemaObject> expected = ourSchema();
    std::vector<bool> seen(expected.size(), false);
    Statement rows(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
    int rc = SQLITE_ROW;
    while ((rc = rows.step()) == SQLITE_ROW) {
        const SchemaObject found{rows.text(0), rows.text(1), rows.text(2), rows.text(3)};
        const auto ours = std::find_if(expected.begin(), expected.end(),
                                       [&](const SchemaObject& one) { return one.name == found.name; });
        if (ours == expected.end() || ours->type != found.type) {
            *problem = "holds a " + found.type + " \"" + found.name + "\", which zigzag documents never hold";
            return false;
        }
        if (ours->table != found.table || ours->sql != found.sql) {
            *problem =
                "is damaged (its " + found.type + " \"" + found.name + "\" is not laid out as a document's)";
            return false;
        }
        seen[static_cast<std::size_t>(ours - expected.begin())] = true;
    }
    if (rc != SQLITE_DONE) {
        *problem = "is damaged (" + sqliteError(db) + ")";
        return false;
    }
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (!seen[i]) {
            *problem = "is damaged (its " + expected[i].type + " \"" + expected[i].name + "\" is missing)";
            return false;
        }
    return true;
}

// Whether the file's header is a zigzag document's of a format this program reads, read as an unchanging
// file: no lock is taken and nothing is recovered. False with what is wrong.
bool headerIsOurs(const std::string& path, int noFollow, std::string* problem) {
    std::string why;
    Connection probe;
    if (!openDatabase(probe, uriOf(path, "immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | noFollow,
                      &why)) {
        *problem = "cannot be read: " + why;
        return false;
    }
    const int64_t id = pragmaNumber(probe.db, "PRAGMA application_id");
    if (id == -1) {
        // A database cut short or overwritten is damaged; anything else is not a database at all.
        *problem =
            (sqlite3_errcode(probe.db) == SQLITE_CORRUPT ? "is damaged (" : "is not a zigzag document (") +
            sqliteError(probe.db) + ")";
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
    return true;
}

// Opens a file read-only after checking that it is a document of ours in good order; false with what is
// wrong in the user's words. Nothing is written to the file, whatever it holds.
bool openChecked(Connection& connection, const std::string& path, std::string* problem,
                 bool followLinks = false) {
    if (const std::optional<std::string> kind = fileKindProblem(path, followLinks)) {
        *problem = *kind;
        return false;
    }
    const int noFollow = followLinks ? 0 : SQLITE_OPEN_NOFOLLOW;
    if (!headerIsOurs(path, noFollow, problem)) return false;
    // Without a write-ahead log the file holds everything, and is read as unchanging: a read-only connection
    // to a database in write-ahead mode would leave a log and an index beside it.
    struct stat log {};
    const bool logged = ::stat((path + "-wal").c_str(), &log) == 0;
    std::string why;
    if (!openDatabase(connection, uriOf(path, logged ? "mode=ro" : "immutable=1"),
                      SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | noFollow, &why)) {
        *problem = "cannot be read: " + why;
        return false;
    }
    // The schema as this connection reads it, the write-ahead log's changes included.
    if (!schemaIsOurs(connection.db, problem)) return false;
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

// The fields that set how much one drag draws, each with the range the options dialog gives it. A document
// begins with settings a person could have chosen; larger ones would hold the workbench for minutes.
struct SettingBound {
    const char* field;
    int64_t low, high;
};
constexpr SettingBound kSettingBounds[] = {{"zigzagElements", 1, 400},    {"numberOfReflections", 0, 100},
                                           {"maxPointsPerGroup", 1, 99},  {"maxPointsPerZigzag", 1, 9999},
                                           {"applySlowdown", 0, 100},     {"fillCycleLength", 0, 1000},
                                           {"strokeCycleLength", 0, 1000}};

bool settingsWithinBounds(const json& settings, std::string* problem) {
    if (!settings.is_object()) return true; // named as of the wrong kind by the caller
    for (const SettingBound& bound : kSettingBounds) {
        const auto value = settings.find(bound.field);
        if (value == settings.end()) continue;
        const bool whole = value->is_number_integer() || value->is_number_unsigned();
        // Unsigned values past int64's range read as negative here and are refused all the same.
        if (!whole || value->get<int64_t>() < bound.low || value->get<int64_t>() > bound.high) {
            *problem = std::string("is refused: its setting \"") + bound.field + "\" is " + value->dump() +
                       ", beyond the options dialog's " + std::to_string(bound.low) + " to " +
                       std::to_string(bound.high);
            return false;
        }
    }
    return true;
}

// The art count kept when the document was last saved: one past what a session may make cannot be drawn
// again.
bool artWithinBounds(const json& art, std::string* problem) {
    if (!art.is_number_unsigned() || art.get<uint64_t>() <= kMaxDocumentArt) return true;
    *problem = "is too big to open (" + art.dump() + " art objects; at most " +
               std::to_string(kMaxDocumentArt) + ")";
    return false;
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
           settingsWithinBounds((*meta)["settings"], problem) &&
           kindIs("created", (*meta)["created"].is_number_integer()) &&
           kindIs("modified", (*meta)["modified"].is_number_integer()) &&
           kindIs("art", (*meta)["art"].is_number_unsigned() || (*meta)["art"].is_number_integer()) &&
           kindIs("seed", (*meta)["seed"].is_number_unsigned() || (*meta)["seed"].is_number_integer()) &&
           kindIs("document", (*meta)["document"].is_object()) &&
           kindIs("settings", (*meta)["settings"].is_object()) && artWithinBounds((*meta)["art"], problem);
}

// Reads the finished changes in order into `events`, each checked: a list of events of the kinds documents
// hold, nested no deeper than a document's, and no more of them than a document may hold. False with what
// is wrong; reading stops at the first fault.
bool readEvents(sqlite3* db, std::vector<json>* events, std::string* problem) {
    Statement steps(db, "SELECT events FROM steps ORDER BY seq");
    int rc = SQLITE_ROW;
    while ((rc = steps.step()) == SQLITE_ROW) {
        const std::string text = steps.text(0);
        if (nestingDepth(text, kMaxDocumentNesting) > kMaxDocumentNesting) {
            *problem =
                "is damaged (a step nests deeper than " + std::to_string(kMaxDocumentNesting) + " levels)";
            return false;
        }
        json step = json::parse(text, nullptr, false);
        if (!step.is_array()) {
            *problem = "is damaged (a step cannot be read)";
            return false;
        }
        for (json& event : step) {
            if (!event.is_object() || !event.contains("do") || !event["do"].is_string()) {
                *problem = "is damaged (a step holds no event)";
                return false;
            }
            if (!isDocumentEvent(event)) {
                *problem =
                    "holds a \"" + event["do"].get<std::string>() + "\" event, which documents never hold";
                return false;
            }
            if (events->size() == kMaxDocumentEvents) {
                *problem =
                    "is too long to open (more than " + std::to_string(kMaxDocumentEvents) + " events)";
                return false;
            }
            events->push_back(std::move(event));
        }
    }
    if (rc != SQLITE_DONE) {
        *problem = "is damaged (" + sqliteError(db) + ")";
        return false;
    }
    return true;
}

// Opens a file read-only after checking all of it: the file, its schema, its meta (into *meta when given)
// and every event (into *events when given). False with what is wrong.
bool openWholeChecked(Connection& connection, const std::string& path, std::string* problem,
                      std::map<std::string, json>* meta = nullptr, std::vector<json>* events = nullptr,
                      bool followLinks = false) {
    std::map<std::string, json> metaHere;
    std::vector<json> eventsHere;
    return openChecked(connection, path, problem, followLinks) &&
           readMeta(connection.db, meta != nullptr ? meta : &metaHere, problem) &&
           readEvents(connection.db, events != nullptr ? events : &eventsHere, problem);
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
    // Without blocking on a pipe or following a link: either is refused below, before SQLite sees the path.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) {
        *error = errno == ENOENT ? "there is no such document"
                                 : fileKindProblem(path, false)
                                       .value_or(std::string("cannot be opened: ") + std::strerror(errno));
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *error = fileKindProblem(path, false).value_or("is not a regular file");
        ::close(fd);
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
    // Checked again as written: the file may have changed since it was read.
    return schemaIsOurs(connection.db, error);
}

} // namespace

bool isDocumentEvent(const json& event) {
    static const char* const kKinds[] = {"mouseDown", "drag", "mouseUp", "abandon",
                                         "undo",      "redo", "seed",    "editOptions"};
    const auto name = event.find("do");
    return name != event.end() && name->is_string() &&
           std::any_of(std::begin(kKinds), std::end(kKinds),
                       [&](const char* kind) { return name->get_ref<const std::string&>() == kind; });
}

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
    struct stat info {};
    if (::lstat(path->c_str(), &info) != 0) return std::nullopt;
    DocumentSummary out;
    out.id = id;
    out.bytes = bytesOnDisk(*path);
    Connection connection;
    if (isOpenHere(*path)) {
        out.name = id + kExtension;
        out.problem = "is open in this workbench";
    } else if (!openWholeChecked(connection, *path, &out.problem) || !summarise(connection.db, &out)) {
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
        if (!openWholeChecked(reader, *path, &why, &meta, &events)) return fail(why);
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
    } else if (path && openWholeChecked(source, *path, &why)) {
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
    if (file->lockFd_ < 0 || !openWholeChecked(check, *path, &why) || !openForWriting(writer, *path, &why)) {
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
    std::vector<json> events;
    if (!openWholeChecked(reader, path, &why, &meta, &events, true)) {
        if (error != nullptr) *error = path + " " + why;
        return std::nullopt;
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

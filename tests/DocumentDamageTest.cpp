// Damaged, hostile and absurd document files: each is listed by the folder with its fault, refused by open
// and by `zigzag run`, read without blocking, crashing or running anything, and left exactly as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>

#include <sqlite3.h>

#include "apps/script/RunCommand.h"
#include "apps/storage/DocumentStore.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

void execute(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string why = message != nullptr ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << why;
}

// One step of the history holding `events` as its text says.
std::string stepInsert(const std::string& text) {
    std::string quoted;
    for (const char c : text)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return "INSERT INTO steps(events) VALUES('" + quoted + "');";
}

// What `zigzag run` does with a file, in a child process so that a crash or a hang shows as such: its exit
// status (or -SIGNAL, or -1 when it had not ended after 20 s) and what it wrote on standard error.
struct RunOutcome {
    int status = 0;
    std::string err;
};
RunOutcome runInChild(const std::string& file, const fs::path& scratch) {
    const fs::path errFile = scratch / "run-err.txt";
    const pid_t child = fork();
    if (child == 0) {
        std::ostringstream out, err;
        const int status = runRunCommand({file}, test::modulePath(), out, err, readDocumentScript);
        std::ofstream(errFile) << err.str();
        _exit(status);
    }
    RunOutcome outcome;
    int wstatus = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (waitpid(child, &wstatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &wstatus, 0);
            outcome.status = -1;
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
    outcome.err = test::readFile(errFile);
    return outcome;
}

class DocumentDamage : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = scratch_.path() / "documents";
        fs::create_directories(folder_);
        DocumentFolder folder(folder_.string());
        std::string why;
        DocumentStart start;
        start.settings = {{"zigzagElements", 12}, {"numberOfReflections", 2}};
        std::unique_ptr<DocumentFile> file = folder.create("Good", start, &why);
        ASSERT_NE(file, nullptr) << why;
        const std::vector<json> drag = {{{"do", "mouseDown"}, {"at", {100, 100}}},
                                        {{"do", "drag"}, {"to", {200, 250}}},
                                        {{"do", "mouseUp"}}};
        ASSERT_TRUE(file->append(drag, 12, &why)) << why;
        good_ = file->path();
        goodId_ = file->id();
    }

    // A copy of the good document under `id`, then changed by `sql`.
    fs::path plant(const std::string& id, const std::string& sql) {
        const fs::path file = folder_ / (id + ".zigzag");
        fs::copy_file(good_, file);
        if (!sql.empty()) execute(file, sql);
        return file;
    }

    test::ScratchDir scratch_;
    fs::path folder_, good_;
    std::string goodId_;
};

TEST_F(DocumentDamage, HostileAbsurdAndBrokenFilesAreListedWithTheirFaultRefusedAndLeftAsTheyWere) {
    const std::string renameTrigger =
        "CREATE TRIGGER takeover AFTER INSERT ON steps BEGIN UPDATE meta SET value = '\"pwned\"' WHERE key = "
        "'name'; END;";
    std::string deep;
    for (int i = 0; i < 200000; ++i)
        deep += '[';
    std::string tooMany = "[";
    for (std::size_t i = 0; i <= kMaxDocumentEvents; ++i)
        tooMany += std::string(i == 0 ? "" : ",") + R"({"do":"abandon"})";
    tooMany += "]";
    const std::string exported = (scratch_.path() / "written-by-a-document.svg").string();

    // Each file, and a part of the fault it must be named with.
    std::map<std::string, std::string> faults;
    const auto expect = [&](const std::string& id, const std::string& fault) { faults[id] = fault; };
    plant("00000000000000a1", renameTrigger);
    expect("00000000000000a1", "holds a trigger \"takeover\", which zigzag documents never hold");
    plant("00000000000000a2", "CREATE VIEW everything AS SELECT * FROM meta;");
    expect("00000000000000a2", "holds a view \"everything\"");
    plant("00000000000000a3", "CREATE TABLE extra(x);");
    expect("00000000000000a3", "holds a table \"extra\"");
    plant("00000000000000a4", "CREATE INDEX byEvents ON steps(events);");
    expect("00000000000000a4", "holds a index \"byEvents\"");
    // A view in place of the history, whose rows never end.
    plant("00000000000000a5",
          "DROP TABLE steps; CREATE VIEW steps(seq, events) AS WITH RECURSIVE n(i) AS "
          "(SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i, '[{\"do\":\"undo\"}]' FROM n;");
    expect("00000000000000a5", "holds a view \"steps\"");
    plant("00000000000000a6", "DROP TABLE thumbnail;");
    expect("00000000000000a6", "is damaged (its table \"thumbnail\" is missing)");
    plant("00000000000000b1", stepInsert(json::array({{{"do", "export"}, {"svg", exported}}}).dump()));
    expect("00000000000000b1", "holds a \"export\" event, which documents never hold");
    plant("00000000000000b2", stepInsert(R"([{"do":"fault","suite":"x","op":"y","code":1}])"));
    expect("00000000000000b2", "holds a \"fault\" event");
    plant("00000000000000b3", stepInsert(R"([{"do":"settings","set":{"zigzagElements":5000}}])"));
    expect("00000000000000b3", "holds a \"settings\" event");
    plant("00000000000000b4", stepInsert(deep));
    expect("00000000000000b4", "is damaged (a step nests deeper than");
    plant("00000000000000b5", stepInsert(tooMany));
    expect("00000000000000b5", "is too long to open (more than 99998 events)");
    plant(
        "00000000000000c1",
        "UPDATE meta SET value = json_set(value, '$.numberOfReflections', 1000000) WHERE key = 'settings';");
    expect("00000000000000c1",
           "its setting \"numberOfReflections\" is 1000000, beyond the options dialog's 0 "
           "to 100");
    plant("00000000000000c2",
          "UPDATE meta SET value = json_set(value, '$.zigzagElements', 1e9) WHERE key = 'settings';");
    expect("00000000000000c2", "its setting \"zigzagElements\"");
    plant("00000000000000c3", "UPDATE meta SET value = '799600' WHERE key = 'art';");
    expect("00000000000000c3", "is too big to open (799600 art objects");
    // The file cut short, a text, a huge file, and things that are no files.
    const std::string goodBytes = test::readFile(good_);
    ASSERT_GT(goodBytes.size(), 3 * 4096u);
    std::ofstream(folder_ / "00000000000000d1.zigzag", std::ios::binary) << goodBytes.substr(0, 2 * 4096);
    expect("00000000000000d1", "is damaged");
    std::ofstream(folder_ / "00000000000000d2.zigzag") << "not a database, only words";
    expect("00000000000000d2", "is not a zigzag document");
    fs::copy_file(good_, folder_ / "00000000000000d3.zigzag");
    fs::resize_file(folder_ / "00000000000000d3.zigzag", kMaxDocumentBytes + 4096);
    expect("00000000000000d3", "is too big for a document");
    ASSERT_EQ(mkfifo((folder_ / "00000000000000e1.zigzag").c_str(), 0600), 0);
    expect("00000000000000e1", "is a named pipe (FIFO), not a document file");
    fs::create_directory(folder_ / "00000000000000e2.zigzag");
    expect("00000000000000e2", "is a directory, not a document file");
    fs::create_symlink("00000000000000e3.zigzag", folder_ / "00000000000000e3.zigzag");
    expect("00000000000000e3", "is a link that leads round in a loop");
    fs::create_symlink(good_.filename(), folder_ / "00000000000000e4.zigzag");
    expect("00000000000000e4", "is a symbolic link, not a document file");

    std::map<fs::path, std::pair<std::string, fs::file_time_type>> before;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
        if (fs::is_regular_file(entry.symlink_status()))
            before[entry.path()] = {test::readFile(entry.path()), fs::last_write_time(entry.path())};

    DocumentFolder folder(folder_.string());
    std::map<std::string, std::string> listed;
    for (const DocumentSummary& one : folder.list())
        listed[one.id] = one.problem;
    EXPECT_EQ(listed[goodId_], "") << "the good document is sound";
    for (const auto& [id, fault] : faults) {
        SCOPED_TRACE(id);
        ASSERT_EQ(listed.count(id), 1u) << "left out of the list";
        EXPECT_NE(listed[id].find(fault), std::string::npos) << listed[id];
        std::string why;
        EXPECT_EQ(folder.open(id, &why), nullptr);
        EXPECT_NE(why.find(fault), std::string::npos) << why;
        EXPECT_FALSE(folder.rename(id, "mine now", &why));
        EXPECT_FALSE(folder.setDeleted(id, true, &why));
        EXPECT_FALSE(folder.storeThumbnail(id, "png", &why));
    }
    // The good document still opens, and writing to it touches nothing else.
    std::string why;
    ASSERT_NE(folder.open(goodId_, &why), nullptr) << why;
    for (const auto& [path, was] : before) {
        if (path == good_) continue;
        EXPECT_TRUE(test::readFile(path) == was.first) << path << " was written";
        EXPECT_TRUE(fs::last_write_time(path) == was.second) << path << " was touched";
        for (const char* beside : {"-wal", "-shm", "-journal"})
            EXPECT_FALSE(fs::exists(path.string() + beside)) << path << beside;
    }
    EXPECT_TRUE(fs::is_fifo(fs::status(folder_ / "00000000000000e1.zigzag")));
    EXPECT_FALSE(fs::exists(exported));
}

TEST_F(DocumentDamage, ZigzagRunRefusesWhatTheWorkbenchRefusesWithoutHangingCrashingOrWriting) {
    const std::string exported = (scratch_.path() / "written-by-a-document.svg").string();
    // Well-formed JSON nested 200,000 deep inside an event of a kind documents hold.
    const std::string deep =
        R"([{"do":"undo","deep":)" + std::string(200000, '[') + std::string(200000, ']') + "}]";
    std::map<std::string, std::string> cases; // file, a part of the fault named
    cases[plant("00000000000000b1",
                stepInsert(json::array({{{"do", "export"}, {"svg", exported}}}).dump()))] =
        "holds a \"export\" event, which documents never hold";
    cases[plant("00000000000000b4", stepInsert(deep))] = "nests deeper than";
    cases[plant("00000000000000a1", "CREATE TRIGGER t AFTER INSERT ON steps BEGIN SELECT 1; END;")] =
        "holds a trigger \"t\"";
    cases[plant("00000000000000a5", "DROP TABLE steps; CREATE VIEW steps(seq, events) AS WITH RECURSIVE n(i) "
                                    "AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i, '[]' FROM n;")] =
        "holds a view \"steps\"";
    cases[plant("00000000000000c1", "UPDATE meta SET value = json_set(value, '$.zigzagElements', 100000) "
                                    "WHERE key = 'settings';")] = "its setting \"zigzagElements\" is 100000";
    const fs::path fifo = scratch_.path() / "pipe.zigzag";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases[fifo.string()] = "is a named pipe (FIFO)";
    cases[scratch_.path().string()] = "is a directory";
    const fs::path loop = scratch_.path() / "loop.zigzag";
    fs::create_symlink(loop.filename(), loop);
    cases[loop.string()] = "Too many levels of symbolic links";

    for (const auto& [file, fault] : cases) {
        SCOPED_TRACE(file);
        std::error_code code;
        const bool regular = fs::is_regular_file(file, code);
        const std::string was = regular ? test::readFile(file) : "";
        const RunOutcome outcome = runInChild(file, scratch_.path());
        EXPECT_EQ(outcome.status, kRunUsage) << "-1: hung; below 0: killed by that signal";
        EXPECT_NE(outcome.err.find(fault), std::string::npos) << outcome.err;
        if (regular) {
            EXPECT_TRUE(test::readFile(file) == was) << file << " was written";
        }
    }
    EXPECT_FALSE(fs::exists(exported)) << "the document's export event was played";

    // A link to a sound document is followed, and the document plays.
    const fs::path link = scratch_.path() / "good-link.zigzag";
    fs::create_symlink(good_, link);
    const RunOutcome played = runInChild(link.string(), scratch_.path());
    EXPECT_EQ(played.status, kRunOk) << played.err;
}

} // namespace
} // namespace zz

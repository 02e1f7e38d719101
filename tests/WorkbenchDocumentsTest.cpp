// Drawings kept on disk by the workbench's host thread with the real module: a stopped workbench opens the
// same drawing with its undo history, the kept history plays as a script to the same SVG, New keeps what was
// there, and files that are not documents, or that another workbench holds, are refused and left untouched.
#include <gtest/gtest.h>

#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include <sqlite3.h>

#include "apps/script/Session.h"
#include "apps/storage/DocumentStore.h"
#include "apps/workbench/HostLoop.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int32_t kPresetPopup = 3;

std::string readAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class WorkbenchDocuments : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("zz-documents-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        start();
    }
    void TearDown() override {
        loop_.reset();
        fs::remove_all(folder_);
    }

    void start() {
        Workbench::Options options;
        options.modulePath = test::modulePath();
        options.poll = 10ms;
        options.documentsPath = folder_.string();
        loop_ = std::make_unique<HostLoop>(options);
        std::string why;
        ASSERT_TRUE(loop_->start(&why)) << why;
    }
    void restart() {
        loop_.reset();
        start();
    }

    json request(const json& command) {
        const Reply reply = loop_->request(command.dump());
        json answer = json::parse(reply.body);
        answer["http"] = reply.status;
        return answer;
    }
    std::string svg() { return loop_->request(json{{"do", "export"}, {"format", "svg"}}.dump()).body; }
    json documents() { return request({{"do", "documents"}})["documents"]; }
    std::string current() { return request({{"do", "state"}})["file"]["id"].get<std::string>(); }

    void drag(double x0, double y0, double x1, double y1, json extra = json::object()) {
        json down = {{"do", "mouseDown"}, {"at", {x0, y0}}};
        down.update(extra);
        ASSERT_EQ(request(down)["http"], 200);
        for (int step = 1; step <= 4; ++step) {
            json move = {{"do", "drag"}, {"to", {x0 + (x1 - x0) * step / 4, y0 + (y1 - y0) * step / 4}}};
            move.update(extra);
            ASSERT_EQ(request(move)["http"], 200);
        }
        ASSERT_EQ(request({{"do", "mouseUp"}})["http"], 200);
    }
    // Opens the options, chooses a preset and closes the dialog with `item` (1 OK, 2 Cancel).
    void choosePreset(int32_t entry, int32_t item) {
        std::future<Reply> options = loop_->submit({{"do", "editOptions"}});
        for (int tries = 0;
             tries < 500 && request({{"do", "dialog"}, {"action", "state"}})["dialog"].is_null(); ++tries)
            std::this_thread::sleep_for(10ms);
        ASSERT_EQ(
            request(
                {{"do", "dialog"}, {"action", "select"}, {"item", kPresetPopup}, {"entry", entry}})["http"],
            200);
        ASSERT_EQ(request({{"do", "dialog"}, {"action", "click"}, {"item", item}})["http"], 200);
        ASSERT_EQ(options.wait_for(5s), std::future_status::ready);
    }

    fs::path folder_;
    std::unique_ptr<HostLoop> loop_;
};

TEST_F(WorkbenchDocuments, AStoppedWorkbenchOpensTheSameDrawingWithItsHistoryAndItPlaysAsAScript) {
    drag(100, 700, 300, 500);
    choosePreset(14, 1);
    drag(50, 50, 250, 300, {{"pointer", "pen"}, {"pressure", 90}});
    choosePreset(2, 2);
    ASSERT_EQ(request({{"do", "seed"}, {"seed", 77}})["http"], 200);
    drag(400, 100, 500, 600, {{"modifiers", 0x20}});
    const std::string beforeLast = svg();
    drag(200, 200, 420, 380);
    // A drag left open waits for its end before undo, and is ended where it is when its page goes away.
    ASSERT_EQ(request({{"do", "mouseDown"}, {"at", {10, 10}}})["http"], 200);
    ASSERT_EQ(request({{"do", "drag"}, {"to", {90, 60}}})["http"], 200);
    EXPECT_EQ(request({{"do", "undo"}})["http"], 409);
    ASSERT_EQ(request({{"do", "abandon"}})["abandoned"], true);
    ASSERT_EQ(request({{"do", "undo"}})["done"], true);
    const json before = request({{"do", "state"}});
    const std::string drawn = svg();
    const std::string script = loop_->request(json{{"do", "script"}}.dump()).body;

    restart();
    const json after = request({{"do", "state"}});
    EXPECT_EQ(after["file"], before["file"]);
    EXPECT_EQ(after["seed"], 77);
    EXPECT_EQ(after["undo"], before["undo"]);
    EXPECT_EQ(after["redo"], before["redo"]);
    EXPECT_EQ(svg(), drawn);
    ASSERT_EQ(request({{"do", "undo"}})["done"], true);
    EXPECT_EQ(svg(), beforeLast) << "the undo history came back with the drawing";

    // The same history played by `zigzag run` draws the same SVG (in a host of its own: the module is
    // loaded once a process).
    loop_.reset();
    json played = json::parse(script);
    const fs::path exported = folder_ / "played.svg";
    played["events"].push_back({{"do", "export"}, {"svg", exported.string()}});
    SessionError error;
    ASSERT_FALSE(runSession(played, test::modulePath(), &error).is_null()) << error.message;
    EXPECT_EQ(readAll(exported), drawn);
}

TEST_F(WorkbenchDocuments, NewKeepsTheDrawingBeforeAndDocumentsAreRenamedCopiedDeletedAndRestored) {
    drag(100, 700, 300, 500);
    const std::string first = current();
    const std::string drawn = svg();
    ASSERT_EQ(request({{"do", "newDocument"}, {"colorModel", "cmyk"}, {"page", {400, 300}}})["http"], 200);
    const std::string second = current();
    EXPECT_NE(second, first);
    drag(10, 10, 200, 200);

    json list = documents();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["id"], second) << "the latest change first";
    EXPECT_EQ(list[0]["name"], "Untitled 2");
    EXPECT_EQ(list[0]["current"], true);
    EXPECT_EQ(list[1]["name"], "Untitled");
    EXPECT_EQ(list[1]["art"], 1);

    ASSERT_EQ(request({{"do", "open"}, {"document", first}})["http"], 200);
    EXPECT_EQ(svg(), drawn);
    ASSERT_EQ(request({{"do", "rename"}, {"name", "  Waves \xE2\x80\x94 study  "}})["http"], 200);
    EXPECT_EQ(request({{"do", "rename"}, {"name", "two\nlines"}})["http"], 400);
    const json copy = request({{"do", "duplicate"}});
    ASSERT_EQ(copy["http"], 200);

    // Deleting the open document moves every page to the latest other one; it comes back restored.
    ASSERT_EQ(request({{"do", "delete"}, {"document", first}})["http"], 200);
    EXPECT_NE(current(), first);
    EXPECT_EQ(request({{"do", "open"}, {"document", first}})["http"], 409)
        << "a deleted document opens once restored";
    ASSERT_EQ(request({{"do", "restore"}, {"document", first}})["http"], 200);
    ASSERT_EQ(request({{"do", "open"}, {"document", copy["copy"].get<std::string>()}})["http"], 200);
    EXPECT_EQ(svg(), drawn) << "the copy is the same drawing";
    list = documents();
    ASSERT_EQ(list.size(), 3u);
    std::vector<std::string> names;
    for (const json& one : list)
        names.push_back(one["name"]);
    EXPECT_NE(std::find(names.begin(), names.end(), "Waves \xE2\x80\x94 study"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "Waves \xE2\x80\x94 study copy"), names.end());
    for (const json& one : list)
        EXPECT_TRUE(one["deleted"].is_null()) << one;
}

TEST_F(WorkbenchDocuments, FilesThatAreNoDocumentsAreNamedWithTheirFaultAndNeverWritten) {
    drag(100, 700, 300, 500);
    const std::string good = current();
    ASSERT_EQ(request({{"do", "newDocument"}})["http"], 200);
    const fs::path goodFile = folder_ / (good + ".zigzag");

    // Another program's database, text, a damaged copy of a document, and one holding an export event.
    const fs::path foreign = folder_ / "00000000000000aa.zigzag";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(t TEXT); INSERT INTO notes VALUES('mine')", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const fs::path text = folder_ / "00000000000000bb.zigzag";
    std::ofstream(text) << "shopping list";
    const fs::path damaged = folder_ / "00000000000000cc.zigzag";
    std::string bytes = readAll(goodFile);
    ASSERT_GT(bytes.size(), 4096u);
    for (std::size_t i = 4096 + 16; i < bytes.size(); i += 7)
        bytes[i] = static_cast<char>(0xA5);
    std::ofstream(damaged, std::ios::binary) << bytes;
    const fs::path planted = folder_ / "00000000000000dd.zigzag";
    {
        DocumentFolder folder(folder_.string());
        std::string why;
        DocumentStart start;
        start.settings = json::object();
        std::unique_ptr<DocumentFile> file = folder.create("Planted", start, &why);
        ASSERT_NE(file, nullptr) << why;
        ASSERT_TRUE(file->append({{{"do", "export"}, {"svg", (folder_ / "planted.svg").string()}}}, 0, &why))
            << why;
        const fs::path made = file->path();
        file.reset();
        fs::rename(made, planted);
    }
    std::map<fs::path, std::string> untouched;
    for (const fs::path& path : {foreign, text, damaged, planted})
        untouched[path] = readAll(path);

    std::map<std::string, std::string> problems;
    for (const json& one : documents())
        if (!one["problem"].is_null()) problems[one["id"]] = one["problem"];
    EXPECT_EQ(problems["00000000000000aa"], "is not a zigzag document (a database of another program)");
    EXPECT_EQ(problems["00000000000000bb"].rfind("is not a zigzag document", 0), 0u)
        << problems["00000000000000bb"];
    EXPECT_EQ(problems["00000000000000cc"].rfind("is damaged", 0), 0u) << problems["00000000000000cc"];
    EXPECT_EQ(problems["00000000000000dd"], "holds a \"export\" event, which documents never hold");

    for (const char* id : {"00000000000000aa", "00000000000000bb", "00000000000000cc"})
        EXPECT_EQ(request({{"do", "open"}, {"document", id}})["http"], 409) << id;
    const json refused = request({{"do", "open"}, {"document", "00000000000000dd"}});
    EXPECT_EQ(refused["http"], 409);
    EXPECT_NE(refused["error"].get<std::string>().find("holds a \"export\" event"), std::string::npos)
        << refused;
    EXPECT_FALSE(fs::exists(folder_ / "planted.svg"));
    for (const char* id : {"00000000000000aa", "00000000000000bb", "00000000000000cc"}) {
        EXPECT_EQ(request({{"do", "rename"}, {"document", id}, {"name", "x"}})["http"], 409) << id;
        EXPECT_EQ(request({{"do", "delete"}, {"document", id}})["http"], 409) << id;
    }
    restart(); // and a workbench starting among them opens the latest good document
    for (const auto& [path, content] : untouched)
        EXPECT_EQ(readAll(path), content) << path << " was written";
    EXPECT_FALSE(fs::exists(folder_ / "00000000000000aa.zigzag-wal"));
}

TEST_F(WorkbenchDocuments, ARefusedOpenLeavesTheOpenDrawingAsItWas) {
    // A document whose second event cannot be played: undo while its drag is open.
    {
        DocumentFolder folder(folder_.string());
        std::string why;
        std::unique_ptr<DocumentFile> file = folder.create("Unplayable", DocumentStart{}, &why);
        ASSERT_NE(file, nullptr) << why;
        ASSERT_TRUE(file->append({{{"do", "mouseDown"}, {"at", {10, 10}}}, {{"do", "undo"}}}, 0, &why))
            << why;
    }
    std::string unplayable;
    for (const json& one : documents())
        if (one["name"] == "Unplayable") unplayable = one["id"];
    ASSERT_FALSE(unplayable.empty());
    ASSERT_EQ(request({{"do", "newDocument"}})["http"], 200);
    const std::string open = current();
    drag(100, 700, 300, 500);
    drag(50, 50, 250, 300);
    drag(400, 100, 500, 600);
    ASSERT_EQ(request({{"do", "undo"}})["done"], true);
    const json before = request({{"do", "state"}});
    const std::string drawn = svg();
    ASSERT_EQ(before["undo"], 2);
    ASSERT_EQ(before["redo"], 1);

    const json refused = request({{"do", "open"}, {"document", unplayable}});
    EXPECT_EQ(refused["http"], 409);
    EXPECT_NE(refused["error"].get<std::string>().find("cannot be played again"), std::string::npos)
        << refused;
    const json after = request({{"do", "state"}});
    EXPECT_EQ(after["file"], before["file"]);
    EXPECT_EQ(after["undo"], 2);
    EXPECT_EQ(after["redo"], 1);
    EXPECT_EQ(svg(), drawn);
    // It goes on being written as before: a restart opens the same drawing with the same history.
    ASSERT_EQ(request({{"do", "redo"}})["done"], true);
    const std::string redone = svg();
    restart();
    EXPECT_EQ(current(), open);
    EXPECT_EQ(svg(), redone);
    EXPECT_EQ(request({{"do", "state"}})["undo"], 3);
}

TEST_F(WorkbenchDocuments, PipesDirectoriesAndLinksInTheFolderAreListedAndNeverWaitedOn) {
    drag(100, 700, 300, 500);
    const std::string good = current();
    ASSERT_EQ(mkfifo((folder_ / "00000000000000e1.zigzag").c_str(), 0600), 0);
    fs::create_directory(folder_ / "00000000000000e2.zigzag");
    fs::create_symlink("00000000000000e3.zigzag", folder_ / "00000000000000e3.zigzag");
    // A workbench starting among them opens the good document, and lists them with their faults.
    fs::create_symlink(good + ".zigzag", folder_ / "00000000000000e4.zigzag");
    restart();
    EXPECT_EQ(current(), good);
    std::map<std::string, std::string> problems;
    for (const json& one : documents())
        if (!one["problem"].is_null()) problems[one["id"]] = one["problem"];
    EXPECT_EQ(problems["00000000000000e1"], "is a named pipe (FIFO), not a document file");
    EXPECT_EQ(problems["00000000000000e2"], "is a directory, not a document file");
    EXPECT_EQ(problems["00000000000000e3"], "is a link that leads round in a loop, not a document file");
    EXPECT_EQ(problems["00000000000000e4"], "is a symbolic link, not a document file");
    for (const char* id : {"00000000000000e1", "00000000000000e2", "00000000000000e3", "00000000000000e4"})
        EXPECT_EQ(request({{"do", "open"}, {"document", id}})["http"], 409) << id;
    EXPECT_TRUE(fs::is_fifo(fs::status(folder_ / "00000000000000e1.zigzag")));
}

TEST_F(WorkbenchDocuments, ADocumentIsWrittenByOneWorkbenchAtATime) {
    drag(100, 700, 300, 500);
    const std::string id = current();
    // Another process (as a second server on the same folder would) is refused the open document but may
    // list it and open the others.
    ASSERT_EQ(request({{"do", "newDocument"}})["http"], 200);
    const std::string other = current();
    ASSERT_EQ(request({{"do", "open"}, {"document", id}})["http"], 200);
    const pid_t child = fork();
    if (child == 0) {
        DocumentFolder folder(folder_.string());
        std::string why;
        const bool refused =
            folder.open(id, &why) == nullptr && why.find("open in another workbench") != std::string::npos;
        const bool opened = folder.open(other, &why) != nullptr;
        const bool listed = folder.list().size() == 2;
        _exit(refused && opened && listed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(WorkbenchServe, AStopSignalWhileTheLastDocumentOpensStopsTheWorkbenchAtOnce) {
    // A long drag of heavy art: playing it again takes minutes.
    test::ScratchDir scratch;
    const fs::path folder = scratch.path() / "documents";
    fs::create_directories(folder);
    {
        DocumentFolder documents(folder.string());
        std::string why;
        DocumentStart start;
        start.settings = {{"zigzagElements", 400}, {"separateElements", 1}, {"numberOfReflections", 20}};
        std::unique_ptr<DocumentFile> file = documents.create("Heavy", start, &why);
        ASSERT_NE(file, nullptr) << why;
        std::vector<json> events = {{{"do", "mouseDown"}, {"at", {100, 100}}}};
        for (int step = 0; step < 40000; ++step)
            events.push_back({{"do", "drag"}, {"to", {200 + step % 200, 300 + step % 150}}});
        events.push_back({{"do", "mouseUp"}});
        ASSERT_TRUE(file->append(events, 0, &why)) << why;
    }
    const fs::path printed = scratch.path() / "out.txt";
    const pid_t child = fork();
    if (child == 0) {
        const std::string zigzag = besideExecutable("zigzag");
        const int fd = ::open(printed.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(zigzag.c_str(), zigzag.c_str(), "serve", "--port", "0", "--documents", folder.c_str(), nullptr);
        _exit(127);
    }
    std::this_thread::sleep_for(1500ms);
    // Still opening: the address is printed once the document is open.
    EXPECT_EQ(readAll(printed).find("Workbench: http"), std::string::npos) << readAll(printed);
    ASSERT_EQ(kill(child, SIGTERM), 0);
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the workbench was still opening its document 20 s after the stop signal";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readAll(printed);
    EXPECT_NE(readAll(printed).find("Workbench stopped"), std::string::npos) << readAll(printed);
}

} // namespace
} // namespace zz

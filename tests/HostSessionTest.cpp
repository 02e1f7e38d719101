// The host as front ends use it: the tool session, the dialog observer, the suite boundary that no exception
// crosses, and the services each thread sees.
#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "ADMDialog.h"
#include "AIPath.h"
#include "host/core/ToolSession.h"
#include "apps/script/RunCommand.h"
#include "apps/script/ScriptDialogs.h"
#include "apps/script/SettingsJson.h"
#include "host/suites/ArtLimits.h"
#include "host/suites/SuiteAdapter.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

ToolInput at(float h, float v) {
    ToolInput input;
    input.point = {h, v};
    return input;
}

class ToolSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(session.load(test::modulePath(), &why)) << why;
        ASSERT_EQ(session.startup(), kSPNoError);
        ASSERT_NE(session.tool(), nullptr);
    }
    size_t art() { return session.document().layerArtCount(); }
    ToolSession session;
};

TEST_F(ToolSessionTest, ADragIsOneUndoStepAndRedoBringsItBack) {
    session.mouseDown(at(100, 600));
    EXPECT_TRUE(session.dragging());
    EXPECT_EQ(session.drag(at(300, 300)), kSPNoError);
    EXPECT_EQ(session.drag(at(320, 280)), kSPNoError);
    session.mouseUp(at(320, 280));
    EXPECT_FALSE(session.dragging());
    ASSERT_EQ(art(), 1u); // trail off: each event replaced the one before
    const std::vector<AIPathSegment> drawn = session.document().layer().firstChild()->data().segments;

    EXPECT_TRUE(session.undo());
    EXPECT_EQ(art(), 0u);
    EXPECT_FALSE(session.undo());
    EXPECT_TRUE(session.redo());
    ASSERT_EQ(art(), 1u);
    EXPECT_EQ(session.document().layer().firstChild()->data().segments.size(), drawn.size());
}

TEST_F(ToolSessionTest, ArtPastTheLimitsIsRefusedAsOutOfMemoryAndArtTakenBackIsNotCounted) {
    ToolSettings& settings = *settingsBlock(session.host());
    settings.separateElements = 1;
    settings.zigzagElements = 40;
    {
        // Each event replaces the one before: 40 separate paths at a time stay within 50, however many
        // events.
        const ArtAllowance allowance({50, 0});
        session.mouseDown(at(100, 600));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(session.drag(at(300.0f + static_cast<float>(i), 300)), kSPNoError);
        session.mouseUp(at(304, 300));
        EXPECT_FALSE(allowance.exceeded());
        EXPECT_EQ(art(), 40u);
        // A second drag would hold 80: the host runs out at the 51st object and makes nothing more.
        session.mouseDown(at(100, 600));
        EXPECT_EQ(session.drag(at(300, 300)), kSPOutOfMemoryError);
        session.mouseUp(at(300, 300));
        EXPECT_EQ(allowance.exceeded(), "50 art objects");
        EXPECT_EQ(art(), 50u);
    }
    {
        const ArtAllowance allowance({0, 100}); // segments alone
        session.mouseDown(at(100, 600));
        EXPECT_EQ(session.drag(at(300, 300)), kSPOutOfMemoryError);
        EXPECT_EQ(allowance.exceeded(), "100 path segments");
        session.mouseUp(at(300, 300));
    }
    // Outside an allowance nothing is limited.
    session.mouseDown(at(100, 600));
    EXPECT_EQ(session.drag(at(300, 300)), kSPNoError);
    session.mouseUp(at(300, 300));
}

TEST_F(ToolSessionTest, UndoAndRedoWaitForTheOpenDragAndLeaveItOneStep) {
    session.mouseDown(at(100, 600));
    session.drag(at(300, 300));
    session.mouseUp(at(300, 300));
    EXPECT_EQ(session.historyRefusal(), std::nullopt);

    session.mouseDown(at(0, 600));
    session.drag(at(200, 300));
    EXPECT_NE(session.historyRefusal(), std::nullopt);
    EXPECT_FALSE(session.undo());
    EXPECT_FALSE(session.redo());
    EXPECT_TRUE(session.document().undoContextOpen());
    EXPECT_EQ(session.drag(at(220, 280)), kSPNoError);
    EXPECT_EQ(art(), 2u); // the second event replaced the first's art
    session.mouseUp(at(220, 280));
    EXPECT_TRUE(session.undo());
    EXPECT_EQ(art(), 1u); // the whole second drag, the first one stays
    EXPECT_TRUE(session.undo());
    EXPECT_EQ(art(), 0u);
}

TEST_F(ToolSessionTest, AnAbandonedDragClosesItsUndoContextSoTheDrawingStaysWhole) {
    session.mouseDown(at(100, 600));
    session.drag(at(300, 300));
    session.abandonDrag(); // the pointer went away: no mouse up will come
    EXPECT_FALSE(session.dragging());
    EXPECT_FALSE(session.document().undoContextOpen());
    EXPECT_EQ(art(), 1u);
    EXPECT_TRUE(session.undo());
    EXPECT_EQ(art(), 0u);
}

TEST_F(ToolSessionTest, ANewDocumentEndsTheDragAndStartsEmptyWithItsFacts) {
    session.mouseDown(at(100, 600));
    session.drag(at(300, 300));
    DocumentFacts facts;
    facts.colorModel = kDocCMYKColor;
    session.newDocument(facts);
    EXPECT_FALSE(session.dragging());
    EXPECT_EQ(art(), 0u);
    EXPECT_EQ(session.document().facts().colorModel, kDocCMYKColor);
    EXPECT_FALSE(session.undo());
}

TEST_F(ToolSessionTest, TheGlobalsWordSurvivesUnloadAndReloadAndShutdownClearsIt) {
    ToolSettings* before = settingsBlock(session.host());
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(session.unload(), kSPNoError);
    EXPECT_FALSE(session.loaded());
    EXPECT_EQ(session.globals(), before); // the plug-in handed its block to the host
    SPErr reloaded = -1;
    std::string why;
    ASSERT_TRUE(session.reload(&reloaded, &why)) << why;
    EXPECT_EQ(reloaded, kSPNoError);
    session.mouseDown(at(100, 600));
    EXPECT_EQ(session.drag(at(300, 300)), kSPNoError); // the reloaded module still has its settings
    session.mouseUp(at(300, 300));
    EXPECT_EQ(art(), 1u);
    EXPECT_EQ(session.shutdown(), kSPNoError);
    EXPECT_EQ(session.globals(), nullptr);
}

// ---- loading as a host does ----

// A copy of the built module with the first `from` after `after` replaced by `to` (same length).
std::string patchedModule(const test::ScratchDir& dir, const std::string& after, const std::string& from,
                          const std::string& to) {
    std::string bytes = test::readFile(test::modulePath());
    const std::size_t anchor = bytes.find(after);
    const std::size_t at = anchor == std::string::npos ? anchor : bytes.find(from, anchor);
    EXPECT_NE(at, std::string::npos) << "the module has no " << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    const std::string path = dir.file("patched.aip");
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(ModuleLoading, ModulesThatDoNotDeclareThemselvesAPluginWithAnEntryAreRefusedBeforeAnyCodeRuns) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string after, from, to;
        const char* says;
    };
    const Case cases[] = {
        {"no property list", "", "P\0I\0P\0L\0"s, "X\0I\0P\0L\0"s, "no property list"},
        {"another kind", "", "AEPS", "XEPS", "kind"},
        {"a missing entry", "68xw", "PluginMain", "PluginMaiX", "PluginMaiX"},
    };
    for (const Case& each : cases) {
        test::ScratchDir dir;
        const std::string module = patchedModule(dir, each.after, each.from, each.to);
        ToolSession session;
        std::string why;
        EXPECT_FALSE(session.load(module, &why)) << each.what;
        EXPECT_NE(why.find(each.says), std::string::npos) << each.what << ": " << why;
        EXPECT_FALSE(session.loaded());

        // The command exits 1, naming the module's fault.
        std::ofstream(dir.file("s.json")) << R"({"events":[{"do":"startup"}]})";
        std::ostringstream out, err;
        EXPECT_EQ(runRunCommand({dir.file("s.json"), "--module", module}, test::modulePath(), out, err),
                  kRunFailed)
            << each.what;
        EXPECT_NE(err.str().find(each.says), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
}

// ---- dialogs ----

TEST(DialogRecorderTest, NestedDialogsAreRecordedInTheOrderTheyOpenedWithTheirOwnResults) {
    DialogRecorder recorder;
    AdmDialog outer;
    auto label = std::make_unique<AdmItem>();
    label->id = 5;
    label->text = "outer";
    outer.items.push_back(std::move(label));
    recorder.opened("Options", 16201);
    recorder.shown(outer);
    recorder.opened("Error", 16051); // opened from a notifier of the first
    recorder.ended(-1);              // could not be made
    recorder.ended(2);
    ASSERT_EQ(recorder.records().size(), 2u);
    EXPECT_EQ(recorder.records()[0].name, "Options");
    EXPECT_EQ(recorder.records()[0].result, 2);
    EXPECT_EQ(recorder.records()[0].items.at(5), "outer");
    EXPECT_EQ(recorder.records()[1].resource, 16051);
    EXPECT_EQ(recorder.records()[1].result, -1);
    EXPECT_TRUE(recorder.records()[1].items.empty());
}

// ---- the suite boundary ----

SPErr SPAPI runsOutOfMemory(int32_t) {
    throw std::bad_alloc();
}
SPErr SPAPI failsInside(int32_t) {
    throw std::runtime_error("host fault");
}
void* SPAPI pointerFailsInside() {
    throw std::bad_alloc();
}

TEST(SuiteBoundary, NoExceptionCrossesIntoThePluginAndEachBecomesAStatus) {
    // Hooks of operations no table offers, under the basic suite's name, so that the catalogue of real suites
    // stays as it is.
    Host host;
    CurrentHost scope(host);
    using OutOfMemory = OpHook<"SP Basic Suite", "RunsOutOfMemory", SPErr(SPAPI*)(int32_t), runsOutOfMemory>;
    using Fails = OpHook<"SP Basic Suite", "FailsInside", SPErr(SPAPI*)(int32_t), failsInside>;
    using Pointer = OpHook<"SP Basic Suite", "PointerFailsInside", void*(SPAPI*)(), pointerFailsInside>;
    EXPECT_EQ(OutOfMemory::call(1), kSPOutOfMemoryError);
    EXPECT_EQ(Fails::call(1), kSPHostFailureError);
    EXPECT_EQ(Pointer::call(), nullptr);
    static_assert(noexcept(OutOfMemory::call(1)));
}

TEST(SuiteBoundary, EachThreadSeesTheServicesItMadeCurrentAndNoneOutsideACall) {
    Host first;
    Host second;
    HostServices* seenByOther = &first;
    HostServices* seenOutside = &first;
    {
        CurrentHost scope(first);
        std::thread other([&] {
            seenOutside = HostServices::current();
            CurrentHost inner(second);
            seenByOther = HostServices::current();
        });
        other.join();
        EXPECT_EQ(HostServices::current(), &first);
    }
    EXPECT_EQ(seenOutside, nullptr);
    EXPECT_EQ(seenByOther, &second);
    EXPECT_EQ(HostServices::current(), nullptr);
}

} // namespace
} // namespace zz

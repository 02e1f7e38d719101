// The tool cursor through LoadCursorA and SetCursor, as the plug-in calls them, and the host's question which
// cursor is current.
#include <gtest/gtest.h>

#include "host/core/ModuleLoader.h"
#include "host/resources/ModuleInstance.h"
#include "tests/ResourceTestSupport.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "ZZUser32.h"
#endif

namespace zz {
namespace {

class CursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        installCursorLoader();
        std::string error;
        ASSERT_TRUE(loaded_.open(test::modulePath(), kSPPluginMainName, &error)) << error;
        instance_ = std::make_unique<ModuleInstance>(loaded_.nativeHandle(), loaded_.path());
        ASSERT_NE(instance_->resources(), nullptr) << instance_->resourceError();
        SetCursor(nullptr);
    }
    void TearDown() override { SetCursor(nullptr); }

    HINSTANCE handle() { return static_cast<HINSTANCE>(instance_->defaultModule()); }

    LoadedModule loaded_;
    std::unique_ptr<ModuleInstance> instance_;
};

TEST_F(CursorTest, ToolCursorBecomesCurrentAndIsReported) {
    EXPECT_EQ(currentCursorResource(), std::nullopt);
    const HCURSOR cursor = LoadCursorA(handle(), MAKEINTRESOURCEA(16001));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LoadCursorA(handle(), MAKEINTRESOURCEA(16001)), cursor); // one handle per cursor
    SetCursor(cursor);
    EXPECT_EQ(currentCursorResource(), 16001);
    SetCursor(nullptr);
    EXPECT_EQ(currentCursorResource(), std::nullopt);
}

TEST_F(CursorTest, MissingCursorsAndUnknownModulesGiveNoCursor) {
    EXPECT_EQ(LoadCursorA(handle(), MAKEINTRESOURCEA(16002)), nullptr);
    EXPECT_EQ(LoadCursorA(handle(), MAKEINTRESOURCEA(16051)), nullptr); // an icon group, not a cursor group
    EXPECT_EQ(ModuleInstance::fromDefaultModule(handle()), instance_.get());
#if !defined(_WIN32)
    // Only handles of live module records are followed.
    int notAModule = 0;
    EXPECT_EQ(LoadCursorA(&notAModule, MAKEINTRESOURCEA(16001)), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(16001)), nullptr);
    EXPECT_EQ(LoadCursorA(handle(), "CROSS"), nullptr);
    EXPECT_EQ(ModuleInstance::fromDefaultModule(&notAModule), nullptr);
#endif
}

TEST_F(CursorTest, ACursorOfAnotherKindIsNotReported) {
#if defined(_WIN32)
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // the system's arrow
#else
    int foreign = 0;
    SetCursor(static_cast<HCURSOR>(&foreign));
#endif
    EXPECT_EQ(currentCursorResource(), std::nullopt);
}

#if !defined(_WIN32)
TEST_F(CursorTest, HandlesOutliveTheModuleRecord) {
    const HCURSOR cursor = LoadCursorA(handle(), MAKEINTRESOURCEA(16001));
    ASSERT_NE(cursor, nullptr);
    SetCursor(cursor);
    void* oldHandle = handle();
    instance_.reset();
    // The current cursor is still known; the gone module's handle loads nothing any more.
    EXPECT_EQ(currentCursorResource(), 16001);
    EXPECT_EQ(LoadCursorA(static_cast<HINSTANCE>(oldHandle), MAKEINTRESOURCEA(16001)), nullptr);
    // A new record of the same module hands out its own handle.
    ModuleInstance again(loaded_.nativeHandle(), loaded_.path());
    const HCURSOR second =
        LoadCursorA(static_cast<HINSTANCE>(again.defaultModule()), MAKEINTRESOURCEA(16001));
    ASSERT_NE(second, nullptr);
    SetCursor(second);
    EXPECT_EQ(currentCursorResource(), 16001);
}
#endif

TEST(ModuleInstanceRecord, ModuleWithoutResourcesStillLoads) {
    ModuleInstance missing(nullptr, "/no/such/module.aip");
    EXPECT_EQ(missing.resources(), nullptr);
    EXPECT_FALSE(missing.resourceError().empty());
    EXPECT_EQ(LoadCursorA(static_cast<HINSTANCE>(missing.defaultModule()), MAKEINTRESOURCEA(16001)), nullptr);
}

} // namespace
} // namespace zz

#include <gtest/gtest.h>

#include "frmimport.h"
#include "seam.h"
#include "state.h"
#include "toolscommands.h"
#include "toolshost.h"

using namespace vm;

namespace {

class RestartTest : public testing::Test {
protected:
    void SetUp() override {
        Seam::get().reset();
        Seam::get().setScripted(true);
        toolsHost = {};
        toolsHost.saveBeforeEnd = [this] { order.push_back("save"); };
        // The program ends only once Windows has taken the request.
        toolsHost.endProgram = [this] { order.push_back(Seam::get().requests().empty() ? "end first" : "end"); };
    }
    void TearDown() override {
        Seam::get().reset();
        Seam::get().setScripted(false);
        toolsHost = {};
        identity.OSCode = "NT4";
    }
    std::vector<std::string> kinds() {
        std::vector<std::string> k = order;
        for (const SeamRequest& r : Seam::get().requests()) k.push_back(r.kind);
        return k;
    }
    std::vector<std::string> order;
};

} // namespace

TEST_F(RestartTest, SavesAsksWindowsToRestartThenEndsTheProgram) {
    identity.OSCode = "2000";
    EXPECT_TRUE(procRestartWindows());
    EXPECT_EQ(kinds(), (std::vector<std::string>{"save", "end", "ExitWindows"}));
    EXPECT_EQ(Seam::get().requests().back().style, EWX_REBOOT | EWX_FORCE);
}

TEST_F(RestartTest, ARefusedRestartSaysWhyInWordsAndTheProgramGoesOn) {
    identity.OSCode = "98";
    Seam::get().queueCode(0);
    EXPECT_FALSE(procRestartWindows());
    ASSERT_EQ(kinds(), (std::vector<std::string>{"save", "ExitWindows", "MsgBox"}));
    const std::string told = Seam::get().requests().back().prompt;
    EXPECT_EQ(told.rfind("Windows could not be restarted: ", 0), 0u) << told;
}

TEST(CreateIconCommand, ASecondCallBringsTheOpenWindowForward) {
    procShowCreateIcon();
    ASSERT_TRUE(frmImport().IsLoaded());
    HWND first = frmImport().hWnd();
    procShowCreateIcon();
    EXPECT_EQ(frmImport().hWnd(), first);
    EXPECT_TRUE(frmImport().Visible());
    frmImport().Unload();
}

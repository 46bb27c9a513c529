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
        toolsHost.endProgram = [this] { order.push_back("end"); };
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

TEST_F(RestartTest, EndsTheProgramThenAsksWindowsToRestart) {
    identity.OSCode = "2000";
    procRestartWindows();
    EXPECT_EQ(kinds(), (std::vector<std::string>{"end", "ExitWindows"}));
    EXPECT_EQ(Seam::get().requests().back().style, EWX_REBOOT | EWX_FORCE);
}

TEST_F(RestartTest, ARefusedRestartShowsItsErrorNumber) {
    identity.OSCode = "98";
    Seam::get().queueCode(0);
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    procRestartWindows();
    ASSERT_EQ(kinds(), (std::vector<std::string>{"end", "ExitWindows", "MsgBox"}));
    EXPECT_EQ(Seam::get().requests().back().style, vbOKOnly);
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

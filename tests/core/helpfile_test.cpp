#include <gtest/gtest.h>

#include "helpfile.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"

using namespace vm;

namespace {

struct HelpFileTest : ::testing::Test {
    vmtest::ScratchDir dir;
    std::string kept = paths.DataPath;
    HelpFileTest() {
        paths.DataPath = dir.path() + "\\";
        Seam::get().reset();
        Seam::get().setScripted(true);
    }
    ~HelpFileTest() override {
        paths.DataPath = kept;
        Seam::get().reset();
        Seam::get().setScripted(false);
    }
    const SeamRequest& last() const { return Seam::get().requests().back(); }
};

// A window's context goes to HTML Help as a context; the start page, which the
// help file maps to no context, as the help's default topic.
TEST_F(HelpFileTest, AsksForTheWindowsPageOrTheStartPage) {
    procShowHelp(nullptr, HelpContext::Scan);
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(last().kind, "HtmlHelp");
    EXPECT_EQ(last().prompt, dir.file("Vellumar.chm"));
    EXPECT_EQ(last().style, 11);
    EXPECT_EQ(last().detail, "15");
    procShowHelp(nullptr, HelpContext::Start);
    EXPECT_EQ(last().style, 0);
    EXPECT_EQ(last().detail, "0");
    EXPECT_EQ(InfoTabHelpContext(4), HelpContext::InfoContact);
}

// When HTML Help shows nothing, a message says why and names the file.
TEST_F(HelpFileTest, SaysWhenTheHelpCannotBeShown) {
    Seam::get().queueCode(0);
    procShowHelp(nullptr, HelpContext::Zoom);
    EXPECT_EQ(last().kind, "MsgBox");
    EXPECT_EQ(last().prompt, "The help cannot be shown: the help file is missing.\r\r" + dir.file("Vellumar.chm"));
    vmtest::writeFile(dir.file("Vellumar.chm"), "ITSF");
    Seam::get().queueCode(0);
    procShowHelp(nullptr, HelpContext::Zoom);
    EXPECT_EQ(last().kind, "MsgBox");
    EXPECT_EQ(last().prompt, "The help cannot be shown: this system lacks HTML Help, or the HTML engine that draws "
                             "its pages.\r\r" + dir.file("Vellumar.chm"));
    EXPECT_EQ(last().title, "Help");
}

} // namespace

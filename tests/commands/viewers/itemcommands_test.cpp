// Extract, Run, Edit With and Properties through the seam: nothing is started.
#include <gtest/gtest.h>

#include <windows.h>

#include "browserstate.h"
#include "frmprop.h"
#include "ico_fixtures.h"
#include "itemcommands.h"
#include "menu.h"
#include "registry.h"
#include "resultentry.h"
#include "seam.h"
#include "state.h"
#include "viewerform.h"
#include "viewerhost.h"
#include "zipwriter.h"

using namespace vm;

namespace {

class ItemCommandsTest : public viewertest::ViewerTest {
protected:
    void setting(const char* name, const std::string& value) {
        procRegCreateKey(kSettingsKey, HKEY_CURRENT_USER);
        procRegSetValue(kSettingsKey, name, Variant(value), REG_SZ);
    }
    // An icon of a ZIP archive whose member lies in a folder of the archive.
    std::string zipItem() {
        archive = scratch.file("set.zip");
        namespace ico = vmtest::ico;
        EXPECT_TRUE(vmtest::writeFile(archive, vmtest::makeZipArchive({{"a.ico", ico::icoFile({ico::dib(16, 16, 4)})}})));
        const std::string entry = FileEntry({scratch.file("tmp\\a.ico"), archive, "0", "x"}, '1', kKindZip);
        form.addItem("a", "16 Color Icon", RGB(0, 0, 255), entry).SetSubItems(2, "ZIP File");
        return entry;
    }
    std::string archive;
};

} // namespace

TEST_F(ItemCommandsTest, ExtractAsksForAFolderAndAsksBeforeReplacingAFile) {
    zipItem();
    CreateDirectoryA(scratch.file("out").c_str(), nullptr);
    // Cancelled: nothing else happens.
    Seam::get().queueCancel();
    mnuFileExtract_Click();
    ASSERT_EQ(requestsOf("Folder").size(), 1u);
    EXPECT_EQ(requestsOf("Folder")[0].prompt, kExtractPrompt);
    EXPECT_TRUE(requestsOf("MsgBox").empty());

    Seam::get().queueText(scratch.file("out"));
    mnuFileExtract_Click();
    EXPECT_TRUE(vmtest::fileExists(scratch.file("out\\a.ico")));
    EXPECT_EQ(Chunks.UnzipResult, 1);
    EXPECT_TRUE(requestsOf("MsgBox").empty());

    // The file is there now: the user is asked, and No leaves it.
    ASSERT_TRUE(vmtest::writeFile(scratch.file("out\\a.ico"), "mine"));
    Seam::get().queueText(scratch.file("out"));
    Seam::get().queueCode(vbNo);
    mnuFileExtract_Click();
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(vmtest::readFile(scratch.file("out\\a.ico")), "mine");
    Seam::get().queueText(scratch.file("out"));
    Seam::get().queueCode(vbYes);
    mnuFileExtract_Click();
    EXPECT_NE(vmtest::readFile(scratch.file("out\\a.ico")), "mine");
}

TEST_F(ItemCommandsTest, AFailedExtractionIsReportedEvenAfterASuccessfulOne) {
    const std::string entry = zipItem();
    Chunks.UnzipResult = 1; // left by an earlier call
    DeleteFileA(archive.c_str());
    Seam::get().queueText(scratch.path());
    mnuFileExtract_Click();
    const auto shown = requestsOf("MsgBox");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Zip Extraction Error");
    EXPECT_EQ(shown[0].prompt, "An error occured while extracting\r" + scratch.file("tmp\\a.ico") + " from\r" + archive);
    EXPECT_NE(Chunks.UnzipResult, 1);
    EXPECT_EQ(joinPath("C:\\", "a.ico"), "C:\\a.ico");
    EXPECT_EQ(joinPath("C:\\out", "a.ico"), "C:\\out\\a.ico");
}

TEST_F(ItemCommandsTest, RunOpensTheArchiveOrStartsTheShortcutsTargetQuotedAndReportsFailures) {
    zipItem();
    MenuItem run(&form);
    run.create(form, "Open ZIP &Archive...", false);
    mnuFileRun_Click(run);
    ASSERT_EQ(requestsOf("Shell").size(), 1u);
    EXPECT_EQ(requestsOf("Shell")[0].prompt, archive);

    form.addItem("app", "Shortcut Icon", RGB(0, 0, 255),
                 FileEntry({"c:\\links\\app.lnk", "0", "c:\\program files\\app.exe"}, '1', kKindShortcut));
    run.SetCaption("&Run Shortcut...");
    mnuFileRun_Click(run);
    ASSERT_EQ(requestsOf("Start").size(), 1u);
    EXPECT_EQ(requestsOf("Start")[0].prompt, "\"c:\\program files\\app.exe\"");
    EXPECT_TRUE(requestsOf("MsgBox").empty());
    Seam::get().queueCode(ERROR_FILE_NOT_FOUND);
    mnuFileRun_Click(run);
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].prompt, "The program c:\\program files\\app.exe could not be started.");
}

TEST_F(ItemCommandsTest, EditWithWritesTheTemporaryIconAndStartsTheEditorOnItQuoted) {
    form.addItem("boat", "256 Color Icon");
    int saves = 0;
    Viewers.saveAs = [&] {
        ++saves;
        EXPECT_TRUE(Exports.EditWithMode);
    };
    mnuFileEditWith_Click();
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].title, "Edit With Error");
    EXPECT_EQ(requestsOf("MsgBox")[0].prompt.substr(0, 39), "Please specify an External Icon Editor:");
    EXPECT_EQ(saves, 0);

    setting("ExtEditFolder", "c:\\my tools\\");
    setting("ExtEditFile", "paint it.exe");
    Seam::get().reset();
    mnuFileEditWith_Click();
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(Exports.EditWithMode);
    ASSERT_EQ(requestsOf("Start").size(), 1u);
    EXPECT_EQ(requestsOf("Start")[0].prompt, "\"c:\\my tools\\paint it.exe\" \"" + paths.TempPath + "VMTemp.ico\"");
    EXPECT_TRUE(requestsOf("MsgBox").empty());

    Seam::get().queueCode(ERROR_FILE_NOT_FOUND);
    mnuFileEditWith_Click();
    ASSERT_EQ(requestsOf("MsgBox").size(), 1u);
    EXPECT_EQ(requestsOf("MsgBox")[0].prompt.substr(0, 46), "Please specify a valid External Icon Editor:\r\r");
    Seam::get().queueCode(ERROR_ACCESS_DENIED);
    mnuFileEditWith_Click();
    ASSERT_EQ(requestsOf("MsgBox").size(), 2u);
    EXPECT_EQ(requestsOf("MsgBox")[1].title, "Edit With Error");
    EXPECT_EQ(requestsOf("MsgBox")[1].prompt.substr(0, 12), "Error Nr. 5 ");
}

TEST_F(ItemCommandsTest, PropertiesOpenTheWindowForLibraryAndDefaultIconsAndTheSheetForFiles) {
    auto forms = [&] {
        std::vector<std::string> names;
        for (const SeamRequest& r : requestsOf("Form")) names.push_back(r.prompt);
        return names;
    };
    form.addItem("boat", "256 Color Icon", RGB(0, 0, 255), "4:12:21book").SetSubItems(2, "Vellumar Library 1");
    mnuFileProperties_Click();
    EXPECT_EQ(forms(), std::vector<std::string>{"frmProp"});
    frmProp().Unload();

    form.addItem("txt", "File Type Icon", RGB(0, 0, 255), FileEntry({"c:\\x.dll", "1", "txt"}, '1', kKindFileType))
        .SetSubItems(2, "Windows Default");
    mnuFileProperties_Click();
    EXPECT_EQ(forms(), (std::vector<std::string>{"frmProp", "frmProp"}));
    EXPECT_EQ(frmProp().txtFile.Caption(), "Windows Default");
    EXPECT_EQ(frmProp().txtKeywords.Text(), "");
    frmProp().Unload();
    EXPECT_EQ(Screen::MousePointer(), vbDefault);
}

#include <gtest/gtest.h>

#include "damagedfiles.h"
#include "libfixtures.h"
#include "inputlimits.h"
#include "libraryindex.h"
#include "processmemory.h"
#include "scratch.h"
#include "seam.h"
#include "state.h"
#include "patience.h"

using namespace vm;
using vmtest::fileExists;
using vmtest::readFile;
using vmtest::writeFile;

namespace {

// The library folder as the program folder, with the three keyword lists of
// the windows and everything the loader reports.
struct IndexFixture : ::testing::Test {
    vmtest::ScratchDir dir;
    KeywordState keywords;
    UserReferences refs;
    HiddenList cmbSearch, addSearch, lstKey;
    ListOf<HiddenList> search{cmbSearch}, add{addSearch}, key{lstKey};
    std::vector<std::string> status, counts;
    BrowserHost host;

    void SetUp() override {
        paths.DataPath = dir.path() + "\\";
        identity.ProductName = "Vellumar";
        Seam::get().reset();
        Seam::get().setScripted(true);
        host.setStatusText = [this](const std::string& t) { status.push_back(t); };
        host.setCountPanel = [this](const std::string& t) { counts.push_back(t); };
    }
    void TearDown() override { Seam::get().setScripted(false); }

    void fill(int size) {
        keywords.IconSize = size;
        procFillSearch(keywords, refs, {&search, &add, &key}, host);
    }
    std::string file(const std::string& name) const { return dir.file(name); }
};

} // namespace

TEST_F(IndexFixture, LoadsIndexThenUserKeywordsThenReferences) {
    vmtest::writeSampleLibrary(dir.path());
    fill(32);
    ASSERT_EQ(cmbSearch.ListCount(), 8);
    EXPECT_EQ(cmbSearch.List(0), "apple");
    EXPECT_EQ(cmbSearch.List(1), "Bird"); // file order, not sorted
    for (int i = 0; i < 8; ++i) EXPECT_EQ(cmbSearch.ItemData(i), i);
    EXPECT_EQ(keywords.KeywordNames[0], "apple");
    EXPECT_EQ(keywords.KeywordIcons[0], "1:0:00;1:1:11;1:2:22;");
    EXPECT_EQ(keywords.KeywordNames[6], "mine");
    EXPECT_EQ(keywords.KeywordNames[7], "Bicycle");
    EXPECT_EQ(keywords.KeywordIcons[7], "");
    EXPECT_EQ(addSearch.ListCount(), 8);
    ASSERT_EQ(lstKey.ListCount(), 2);
    EXPECT_EQ(lstKey.List(1), "Bicycle");
    EXPECT_EQ(lstKey.ItemData(0), 6);
    EXPECT_EQ(lstKey.ItemData(1), 7);

    // A reference line is split at its first ";" only.
    ASSERT_EQ(refs.lstUser.ListCount(), 4);
    EXPECT_EQ(refs.lstUser.List(1), "mine");
    EXPECT_EQ(refs.cmbUser.List(1), "C:\\icons\\b.dll;4;#5 of 9;2user");
    EXPECT_EQ(refs.lstUser.ItemData(3), 3);
    EXPECT_EQ(refs.cmbUser.ItemData(3), 3);

    EXPECT_EQ(status, (std::vector<std::string>{"Getting 32*32 icon index...", "Getting user keywords...",
                                                "Getting user icon index..."}));
    EXPECT_EQ(counts.back(), "8 Keywords");
    EXPECT_EQ(identity.ProductName, "Vellumar");
    EXPECT_TRUE(Seam::get().requests().empty());
}

TEST_F(IndexFixture, MissingIndexDisablesTheLibraryForTheRestOfTheRun) {
    vmtest::writeSampleLibrary(dir.path(), {.index16 = true, .index32 = false});
    fill(32);
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    const SeamRequest& shown = Seam::get().requests()[0];
    EXPECT_EQ(shown.title, "Vellumar error");
    EXPECT_EQ(shown.prompt, "Vellumar Index file " + file("Icondata-32.dat") +
                                " was not found.\rThe Vellumar icon features will be disabled.");
    EXPECT_EQ(shown.style, vbExclamation);
    EXPECT_EQ(identity.ProductName, "");
    ASSERT_EQ(cmbSearch.ListCount(), 2);
    EXPECT_EQ(cmbSearch.ItemData(0), 0);
    EXPECT_EQ(cmbSearch.ItemData(1), 1);
    EXPECT_EQ(counts.back(), "2 Keywords");
    EXPECT_EQ(refs.cmbUser.ListCount(), 4);

    // The other data set has its index: its keywords load, the library stays off,
    // and the keyword editor holds only that data set's (no) user keywords.
    fill(16);
    EXPECT_EQ(cmbSearch.ListCount(), 3);
    EXPECT_EQ(lstKey.ListCount(), 0);
    EXPECT_EQ(refs.lstUser.ListCount(), 0);
    EXPECT_EQ(identity.ProductName, "");
    EXPECT_EQ(status.front(), "Getting 32*32 icon index...");
    EXPECT_EQ(status[3], "Getting 16*16 icon index...");
}

TEST_F(IndexFixture, OldNamesMoveToThe32DataSetOnlyWhenTheNewNameIsFree) {
    writeFile(file("Icondata.dat"), "old;1:0:00\r\n");
    writeFile(file("Iconlib.res"), "zip");
    writeFile(file("Keyuser.dat"), "kept\r\n");
    writeFile(file("Keyuser-32.dat"), "newer\r\n");
    fill(16); // the old files are the 32 x 32 set whatever the data set in force
    EXPECT_FALSE(fileExists(file("Icondata.dat")));
    EXPECT_EQ(readFile(file("Icondata-32.dat")), "old;1:0:00\r\n");
    EXPECT_EQ(readFile(file("Iconlib-32.res")), "zip");
    EXPECT_EQ(readFile(file("Keyuser.dat")), "kept\r\n");
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), "newer\r\n");
}

TEST_F(IndexFixture, DamagedLinesAreSkippedAndNamedOnce) {
    // Every kind of damaged line, between good ones: the load goes on past them.
    std::string index = "one;1:0:00\r\n";
    for (const std::string& bad : vmtest::damaged::indexLines()) index += bad + "\r\n";
    index += "three;1:1:00;2:3:45\r\n";
    writeFile(file("Icondata-32.dat"), index);
    writeFile(file("Keyuser-32.dat"), "mine\r\n\r\nBicycle\r\n");
    writeFile(file("Iconuser-32.dat"), "mine;C:\\a.ico;0;x;1user\r\nbroken\r\nmine;C:\\b.ico;0;x;1open\r\n"
                                       "Bicycle;C:\\c.ico;1;y;2user\r\n");
    fill(32);
    ASSERT_EQ(cmbSearch.ListCount(), 4);
    EXPECT_EQ(keywords.KeywordNames[1], "three");
    EXPECT_EQ(keywords.KeywordIcons[1], "1:1:00;2:3:45;");
    EXPECT_EQ(keywords.KeywordNames[3], "Bicycle");
    EXPECT_EQ(refs.cmbUser.ListCount(), 2);
    EXPECT_EQ(refs.lstUser.List(1), "Bicycle");
    EXPECT_EQ(counts.back(), "4 Keywords");

    const size_t badCount = vmtest::damaged::indexLines().size();
    const auto& shown = Seam::get().requests();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].title, "Vellumar error");
    EXPECT_EQ(shown[0].prompt, "The file " + file("Icondata-32.dat") + " is damaged.\rLine 2 could not be read; " +
                                   std::to_string(badCount) + " lines were skipped.");
    EXPECT_EQ(shown[1].prompt,
              "The file " + file("Keyuser-32.dat") + " is damaged.\rLine 2 could not be read; 1 line was skipped.");
    EXPECT_EQ(shown[2].prompt, "The file " + file("Iconuser-32.dat") +
                                   " is damaged.\rLine 2 could not be read; 2 lines were skipped.");
}

TEST_F(IndexFixture, AUserFileLongerThanTheTablesIsSaidSoAndNeverWrittenOver) {
    std::string index;
    for (int i = 0; i < 3000; ++i) index += std::to_string(i) + "k;1:0:00\r\n";
    writeFile(file("Icondata-32.dat"), index);
    const std::string userKeywords = "last\r\ntoo many\r\nmore\r\n";
    writeFile(file("Keyuser-32.dat"), userKeywords);
    fill(32);
    ASSERT_EQ(cmbSearch.ListCount(), 3001);
    EXPECT_EQ(keywords.KeywordNames[3000], "last");
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].prompt, "The file " + file("Keyuser-32.dat") +
                                                    " is longer than the program can hold: 2 lines were not loaded.");
    EXPECT_EQ(counts.back(), "3001 Keywords");

    // A keyword deleted: the file keeps every line, and the user is told once why.
    lstKey.RemoveItem(0);
    for (int save = 0; save < 2; ++save) {
        keywords.KeywordsChanged = true;
        procSaveUserData("32", keywords, refs, &key);
    }
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), userKeywords);
    EXPECT_FALSE(fileExists(file("Keyuser-32.bak")));
    ASSERT_EQ(Seam::get().requests().size(), 2u);
    EXPECT_EQ(Seam::get().requests()[1].prompt,
              "Your changes to the keywords cannot be saved: the file " + file("Keyuser-32.dat") +
                  " holds more than 3001 keywords with those of the icon library, more than the program can hold."
                  "\rThe file is kept as it is.");

    // Damaged lines, and a keyword longer than any box takes, are not lost either.
    writeFile(file("Icondata-32.dat"), "one;1:0:00\r\n");
    const std::string damaged = "mine\r\nbad\x01line\r\n" + std::string(300, 'k') + "\r\n";
    writeFile(file("Keyuser-32.dat"), damaged);
    fill(32);
    EXPECT_EQ(lstKey.ListCount(), 1);
    lstKey.AddItem("new");
    keywords.KeywordsChanged = true;
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), damaged);
    EXPECT_NE(Seam::get().requests().back().prompt.find("has lines that could not be read"), std::string::npos);
}

TEST_F(IndexFixture, AnEmptyIndexSaysSoOnce) {
    for (const char* content : {"", "\r\n\r\n", "no keywords here\r\n"}) {
        Seam::get().reset();
        Seam::get().setScripted(true);
        writeFile(file("Icondata-32.dat"), content);
        fill(32);
        ASSERT_EQ(Seam::get().requests().size(), 1u) << content;
        EXPECT_EQ(Seam::get().requests()[0].prompt, "Vellumar Index file " + file("Icondata-32.dat") +
                                                        " holds no keywords.");
        EXPECT_EQ(cmbSearch.ListCount(), 0);
    }
}

TEST_F(IndexFixture, SavingWritesTheFilesBackByteForByteAndRotatesTheBackup) {
    vmtest::writeSampleLibrary(dir.path());
    fill(32);
    keywords.KeywordsChanged = keywords.UserIconsChanged = true;
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_FALSE(keywords.KeywordsChanged);
    EXPECT_FALSE(keywords.UserIconsChanged);
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), vmtest::kSampleUserKeywords);
    EXPECT_EQ(readFile(file("Iconuser-32.dat")), vmtest::kSampleReferences);
    EXPECT_EQ(readFile(file("Keyuser-32.bak")), vmtest::kSampleUserKeywords);
    EXPECT_EQ(readFile(file("Iconuser-32.bak")), vmtest::kSampleReferences);

    // A second save: the backup is the file as it was before this save.
    lstKey.AddItem("third");
    refs.lstUser.RemoveItem(0);
    refs.cmbUser.RemoveItem(0);
    keywords.KeywordsChanged = keywords.UserIconsChanged = true;
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), std::string(vmtest::kSampleUserKeywords) + "third\r\n");
    EXPECT_EQ(readFile(file("Keyuser-32.bak")), vmtest::kSampleUserKeywords);
    EXPECT_EQ(readFile(file("Iconuser-32.dat")),
              std::string(vmtest::kSampleReferences).substr(std::string(vmtest::kSampleReferences).find("\r\n") + 2));
    EXPECT_FALSE(fileExists(file("Keyuser-32.dat.new")));
    EXPECT_FALSE(fileExists(file("Iconuser-32.dat.new")));

    // Unchanged flags write nothing.
    writeFile(file("Keyuser-32.dat"), "untouched\r\n");
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), "untouched\r\n");
}

TEST_F(IndexFixture, FirstSaveCreatesTheFileWithoutBackup) {
    lstKey.AddItem("fresh");
    keywords.KeywordsChanged = true;
    procSaveUserData("16", keywords, refs, &key);
    EXPECT_EQ(readFile(file("Keyuser-16.dat")), "fresh\r\n");
    EXPECT_FALSE(fileExists(file("Keyuser-16.bak")));
    EXPECT_FALSE(fileExists(file("Iconuser-16.dat")));
}

TEST_F(IndexFixture, AFailedSaveKeepsTheFileAndTheFlagAndSaysWhy) {
    const std::string path = file("Iconuser-32.dat");
    writeFile(path, "old;C:\\a.ico;0;x;0user\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    refs.lstUser.AddItem("new");
    refs.cmbUser.AddItem("C:\\b.ico;0;x;0user");
    keywords.UserIconsChanged = true;
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_TRUE(keywords.UserIconsChanged);
    EXPECT_EQ(readFile(path), "old;C:\\a.ico;0;x;0user\r\n");
    EXPECT_FALSE(fileExists(file("Iconuser-32.bak")));
    ASSERT_EQ(Seam::get().requests().size(), 1u);
    EXPECT_EQ(Seam::get().requests()[0].prompt, "The file " + path +
                                                    " could not be written: the file is read-only.\r"
                                                    "Your changes to the references were not saved.");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(IndexFixture, UserFilesWrittenBeforeInTheAnsiCodePageAreReadAsSuchAndSavedInUtf8) {
    vmtest::writeSampleLibrary(dir.path());
    // Windows-1252 "Café" and "Ünï", as an earlier version wrote them.
    writeFile(file("Keyuser-32.dat"), "Caf\xE9\r\n");
    writeFile(file("Iconuser-32.dat"), "\xDCn\xEF;C:\\icons\\\xDCn\xEF.ico;0;x;1user\r\n");
    fill(32);
    EXPECT_EQ(lstKey.List(0), "Café");
    ASSERT_EQ(refs.lstUser.ListCount(), 1);
    EXPECT_EQ(refs.lstUser.List(0), "Ünï");
    EXPECT_EQ(refs.cmbUser.List(0), "C:\\icons\\Ünï.ico;0;x;1user");

    lstKey.AddItem("图标");
    keywords.KeywordsChanged = keywords.UserIconsChanged = true;
    procSaveUserData("32", keywords, refs, &key);
    EXPECT_EQ(readFile(file("Keyuser-32.dat")), "Café\r\n图标\r\n"); // UTF-8, no byte-order mark
    EXPECT_EQ(readFile(file("Iconuser-32.dat")), "Ünï;C:\\icons\\Ünï.ico;0;x;1user\r\n");
}

TEST_F(IndexFixture, AKeywordIsAsLongInCharactersInEveryScript) {
    std::string longest;
    for (int i = 0; i < kMaxKeywordLength; ++i) longest += "ж";
    writeFile(file("Keyuser-32.dat"), longest + "\r\n" + longest + "ж\r\n");
    fill(32);
    ASSERT_EQ(lstKey.ListCount(), 1);
    EXPECT_EQ(lstKey.List(0), longest);
}

TEST_F(IndexFixture, AThreeMegabyteLineAndRandomBytesInTheUserFilesAreSkippedQuickly) {
    vmtest::writeSampleLibrary(dir.path());
    std::string noise(64 * 1024, '\0');
    std::uint32_t state = 107;
    for (char& c : noise) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    const std::string longLine(3u << 20, 'k');
    writeFile(file("Keyuser-32.dat"), "mine\r\n" + longLine + "\r\n" + noise + "\r\nBicycle\r\n");
    writeFile(file("Iconuser-32.dat"), "mine;C:\\a.ico;0;x;1user\r\n" + longLine + ";C:\\b.ico;0;x;1user\r\n" +
                                           noise + "\r\nBicycle;C:\\c.ico;1;y;2user\r\n");
    const std::size_t before = vmtest::PeakCommittedBytes();
    const vmtest::CpuStopwatch work;
    fill(32);
    EXPECT_LT(work.ms(), 5000u);
    EXPECT_LT(vmtest::PeakGrowthSince(before), 128u << 20);
    // The whole keywords are there; every damaged file was named.
    EXPECT_EQ(keywords.KeywordNames[6], "mine");
    EXPECT_EQ(refs.lstUser.List(0), "mine");
    for (const auto& r : Seam::get().requests()) EXPECT_LT(r.prompt.size(), 400u);
    EXPECT_GE(Seam::get().requests().size(), 1u);
}

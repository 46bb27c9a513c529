// Damaged files as a user meets them: a cut library archive, an index with
// lines that cannot be read, references to damaged modules, icons and
// animations. The window shows a message or a placeholder and goes on answering.
#include "scenario.h"

#include "damagedfiles.h"
#include "iclfile.h"
#include "ico_fixtures.h"
#include "seam.h"

using namespace vm;
using namespace vmscenario;

namespace {

using Texts = std::vector<std::string>;

bool answering() {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(vm::frmMain().hWnd(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

// How many messages the seam was asked to show whose text holds `part`.
int shown(const std::string& part) {
    int n = 0;
    for (const auto& r : Seam::get().requests()) n += r.prompt.find(part) != std::string::npos;
    return n;
}

class DamagedLibraryScenario : public LibraryScenario {
protected:
    void prepare() override {
        LibraryScenario::prepare();
        const std::string index = dir.file("Icondata-32.dat");
        std::string lines = vmtest::readFile(index);
        for (const auto& bad : vmtest::damaged::indexLines()) lines += bad + "\r\n";
        lines += "late;1:2:22\r\n";
        ASSERT_TRUE(vmtest::writeFile(index, lines));

        const std::string archive = dir.file("Iconlib1-32.res");
        const std::string whole = vmtest::readFile(archive);
        ASSERT_TRUE(vmtest::writeFile(archive, whole.substr(0, whole.size() - 30)));

        namespace fx = vmtest::ico;
        const std::string good = dir.file("good.dll");
        ASSERT_TRUE(fx::makeIconModule(good, {{1, "", {fx::dib(16, 16, 4), fx::dib(32, 32, 8)}}}));
        auto samples = vmtest::damaged::modules(vmtest::readFile(good));
        for (auto& s : vmtest::damaged::iconFiles()) samples.push_back(std::move(s));
        for (auto& s : vmtest::damaged::animationFiles()) samples.push_back(std::move(s));
        for (auto& s : vmtest::icl::damagedLibraries({{1, "", {fx::dib(32, 32, 4)}}, {0, "TWO", {fx::dib(32, 32, 8)}}}))
            samples.push_back(std::move(s));
        std::string references = vmtest::readFile(dir.file("Iconuser-32.dat"));
        for (const auto& s : samples) {
            ASSERT_TRUE(vmtest::writeFile(dir.file(s.name), s.bytes));
            const bool animation = s.name.size() > 4 && s.name.substr(s.name.size() - 4) == ".ani";
            references += "wreck;" + dir.file(s.name) + ";0;" + s.name + ";" + (animation ? "a" : "1") + "user\r\n";
        }
        referenceCount = static_cast<int>(samples.size());
        ASSERT_TRUE(vmtest::writeFile(dir.file("Iconuser-32.dat"), references));
        ASSERT_TRUE(vmtest::writeFile(dir.file("Keyuser-32.dat"), vmtest::readFile(dir.file("Keyuser-32.dat")) + "wreck\r\n"));
        answerAtStart("Vellumar error", {clickOn("OK")});
    }
    int referenceCount = 0;
};

TEST_F(DamagedLibraryScenario, AnIndexWithDamagedLinesSaysSoOnceAndTheRestIsFound) {
    ASSERT_EQ(shown("Icondata-32.dat is damaged."), 1);
    EXPECT_TRUE(atStart().seen().shows("The file " + dir.file("Icondata-32.dat") +
                                       " is damaged.\rLine 7 could not be read; " +
                                       std::to_string(vmtest::damaged::indexLines().size()) + " lines were skipped."));
    typeInto(w().cmbSearch, "late");
    press(VK_RETURN);
    EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"late"}));
    EXPECT_TRUE(answering());
}

TEST_F(DamagedLibraryScenario, ACutArchiveShowsPlaceholdersAndSaysSoOnce) {
    Answer once("Vellumar error", {clickOn("OK")});
    for (int round = 0; round < 2; ++round) {
        typeInto(w().cmbSearch, "addon");
        press(VK_RETURN);
        EXPECT_EQ(itemTexts(w().pnlResult), (Texts{"addon", "addon"}));
    }
    EXPECT_TRUE(once.seen().shows("Vellumar library archive " + dir.file("Iconlib1-32.res") +
                                  " is damaged.\rIts icons are shown as placeholders."));
    EXPECT_EQ(shown("Iconlib1-32.res is damaged."), 1);
    EXPECT_TRUE(answering());
}

TEST_F(DamagedLibraryScenario, ReferencesToDamagedFilesListPageAndSelect) {
    typeInto(w().cmbSearch, "wreck");
    press(VK_RETURN);
    EXPECT_EQ(panelText("count"), std::to_string(referenceCount) + " Icon(s)");
    int seen = 0;
    for (int page = 0; seen < referenceCount && page < referenceCount; ++page) {
        const int items = static_cast<int>(itemTexts(w().pnlResult).size());
        ASSERT_GT(items, 0);
        for (int i = 1; i <= items; ++i) {
            const DWORD start = GetTickCount();
            clickItem(w().pnlResult, i);
            EXPECT_LT(GetTickCount() - start, 5000u) << itemTexts(w().pnlResult)[static_cast<size_t>(i - 1)];
            EXPECT_EQ(selectedItem(w().pnlResult), i);
            ASSERT_TRUE(answering());
        }
        seen += items;
        clickButton(w().pnlToolbar, "nextpage");
    }
    EXPECT_EQ(seen, referenceCount);
}

} // namespace

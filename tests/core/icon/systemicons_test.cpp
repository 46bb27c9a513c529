// Icons nobody here wrote: every icon group of modules of the Windows
// installation loads, and each of its images makes a handle that draws.
#include <gtest/gtest.h>

#include "cfileicon.h"
#include "cresources.h"
#include "scratch.h"
#include "icon_testutil.h"

namespace {

using vm::cFileIcon;
using vm::cResources;

std::string systemFile(const char* name) {
    char dir[MAX_PATH + 1];
    UINT n = GetSystemDirectoryA(dir, MAX_PATH);
    return std::string(dir, n) + "\\" + name;
}

TEST(SystemIcons, EveryGroupOfSystemModulesLoadsAndDraws) {
    vmtest::Canvas canvas(256, 256);
    vmtest::ScratchDir dir;
    int groupCount = 0, largeCount = 0;
    for (const char* name : {"shell32.dll", "user32.dll", "comdlg32.dll", "explorer.exe"}) {
        const std::string path = systemFile(name);
        cResources res;
        res.file(path);
        ASSERT_NE(res.hModule(), nullptr) << path;
        res.GetResourceTypes();
        const int t = res.IndexOfResourceType(14);
        if (t == 0) continue;
        res.GetResourceNames(t);
        const int names = res.ResourceNameCount(t);
        res.UnloadModule();
        for (int n = 1; n <= names; ++n) {
            const auto key = res.ResourceName(t, n);
            cFileIcon icon;
            const auto* id = std::get_if<std::int32_t>(&key);
            ASSERT_TRUE(id ? icon.LoadIconFromEXE(path, *id, "")
                           : icon.LoadIconFromEXE(path, 0, std::get<std::string>(key)))
                << path << " group " << n;
            ++groupCount;
            ASSERT_GT(icon.ImageCount(), 0);
            for (int i = 1; i <= icon.ImageCount(); ++i) {
                HICON h = icon.IconHandle(canvas.dc(), i);
                ASSERT_NE(h, nullptr) << path << " group " << n << " image " << i;
                EXPECT_TRUE(DrawIconEx(canvas.dc(), 0, 0, h, 0, 0, 0, nullptr, DI_NORMAL));
                DestroyIcon(h);
                icon.DrawIconImage(canvas.dc(), i, false, 0, 0, 0, 0, SRCCOPY);
                EXPECT_GT(icon.ImageColourCount(i), 0);
            }
            // Saved and read back, every image keeps its format and size.
            ASSERT_TRUE(icon.SaveIcon(dir.file("g.ico")));
            cFileIcon saved;
            ASSERT_TRUE(saved.LoadIcon(dir.file("g.ico")));
            ASSERT_EQ(saved.ImageCount(), icon.ImageCount());
            for (int i = 1; i <= saved.ImageCount(); ++i) {
                EXPECT_EQ(saved.ImageSize(i), icon.ImageSize(i));
                EXPECT_EQ(saved.ImageColourCount(i), icon.ImageColourCount(i));
                largeCount += saved.ImageWidth(i) == 256;
            }
        }
    }
    EXPECT_GT(groupCount, 20);
    EXPECT_GT(largeCount, 0); // the 256 x 256 images
    RecordProperty("groups", groupCount);
}

} // namespace

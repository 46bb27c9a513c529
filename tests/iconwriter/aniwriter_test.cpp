// Animated cursors joined from frame files: their RIFF layout, and that
// Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "orvexbind.h"
#include "scratch.h"
#include "writertestsupport.h"

using orvextest::u32;

namespace {

// A one-dimensional safe array, destroyed with the object.
class Array {
public:
    Array(VARTYPE type, LONG lowerBound, ULONG count) {
        SAFEARRAYBOUND bound{count, lowerBound};
        array_ = SafeArrayCreate(type, 1, &bound);
    }
    ~Array() { SafeArrayDestroy(array_); }
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
    SAFEARRAY** get() { return &array_; }

    // File names go over as ANSI bytes in each string, as the program converts them.
    static Array names(const std::vector<std::string>& texts, LONG lowerBound = 0) {
        Array a(VT_BSTR, lowerBound, static_cast<ULONG>(texts.size()));
        for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
            BSTR s = SysAllocStringByteLen(texts[i].c_str(), static_cast<UINT>(texts[i].size()));
            LONG index = lowerBound + i;
            SafeArrayPutElement(a.array_, &index, s); // copies the string
            SysFreeString(s);
        }
        return a;
    }
    static Array rates(const std::vector<int32_t>& values, LONG lowerBound = 0) {
        Array a(VT_I4, lowerBound, static_cast<ULONG>(values.size()));
        for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
            LONG index = lowerBound + i;
            int32_t v = values[i];
            SafeArrayPutElement(a.array_, &index, &v);
        }
        return a;
    }

private:
    Array(Array&& other) noexcept : array_(other.array_) { other.array_ = nullptr; }
    SAFEARRAY* array_ = nullptr;
};

class AniWriter : public testing::Test {
protected:
    // Three 32 x 32 4-bit frames of 766 bytes, each of its own colour.
    void SetUp() override {
        const COLORREF colors[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
        for (int i = 0; i < 3; ++i) {
            orvextest::Canvas color(32, 32, colors[i]), mask(32, 32, RGB(0, 0, 0));
            frames.push_back(dir.file(std::to_string(i) + "frame.cur"));
            ASSERT_EQ(orvexbind::SaveAsCursor(color.dc(), mask.dc(), 32, 32, 4, 1, 2, frames.back().c_str()), -1);
            frameBytes.push_back(vmtest::readFile(frames.back()));
            ASSERT_EQ(frameBytes.back().size(), 766u);
        }
    }

    int32_t save(const std::vector<std::string>& names, const std::vector<int32_t>& rates, const std::string& target,
                 int32_t flag = 0) {
        Array n = Array::names(names), r = Array::rates(rates);
        return orvexbind::SaveAsANI(n.get(), r.get(), target.c_str(), &flag);
    }

    // The frames' chunks from offset at on, each "icon", its size, its bytes.
    void expectFrames(const std::string& b, size_t at, size_t count) {
        for (size_t i = 0; i < count; ++i, at += 774) {
            EXPECT_EQ(b.substr(at, 4), "icon");
            EXPECT_EQ(u32(b, at + 4), 766u);
            EXPECT_EQ(b.substr(at + 8, 766), frameBytes[i]) << i;
        }
        EXPECT_EQ(at, b.size());
    }

    vmtest::ScratchDir dir;
    std::vector<std::string> frames;
    std::vector<std::string> frameBytes;
};

TEST_F(AniWriter, OneRatePerFrameGivesARateChunk) {
    const std::string path = dir.file("a.ani");
    ASSERT_EQ(save(frames, {10, 20, 30}, path), -1);
    const std::string b = vmtest::readFile(path);
    ASSERT_EQ(b.size(), 2410u);
    EXPECT_EQ(b.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(b, 4), 2402u);
    EXPECT_EQ(b.substr(8, 8), "ACONanih");
    const uint32_t anih[] = {36, 36, 3, 3, 0, 0, 0, 0, 10, 1};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(u32(b, 16 + 4 * i), anih[i]) << i;
    EXPECT_EQ(b.substr(56, 4), "rate");
    EXPECT_EQ(u32(b, 60), 12u);
    EXPECT_EQ(u32(b, 64), 10u);
    EXPECT_EQ(u32(b, 68), 20u);
    EXPECT_EQ(u32(b, 72), 30u);
    EXPECT_EQ(b.substr(76, 4), "LIST");
    EXPECT_EQ(u32(b, 80), 2326u);
    EXPECT_EQ(b.substr(84, 4), "fram");
    expectFrames(b, 88, 3);

    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(cursor, nullptr);
    if (cursor) DestroyCursor(cursor);
    cursor = LoadCursorFromFileA(path.c_str());
    EXPECT_NE(cursor, nullptr);
    if (cursor) DestroyCursor(cursor);
}

TEST_F(AniWriter, WithoutOneRatePerFrameEveryFrameTakesTheFirst) {
    for (const std::vector<int32_t>& rates : {std::vector<int32_t>{7}, std::vector<int32_t>{7, 9}}) {
        const std::string path = dir.file(std::to_string(rates.size()) + "rates.ani");
        ASSERT_EQ(save(frames, rates, path), -1);
        const std::string b = vmtest::readFile(path);
        ASSERT_EQ(b.size(), 2410u - 20);
        EXPECT_EQ(u32(b, 4), b.size() - 8);
        EXPECT_EQ(u32(b, 24), 3u);
        EXPECT_EQ(u32(b, 48), 7u);
        EXPECT_EQ(b.substr(56, 4), "LIST");
        EXPECT_EQ(u32(b, 60), 2326u);
        expectFrames(b, 68, 3);
    }

    // One frame never gets a rate chunk, and the first rate is the first element
    // whatever the array's lower bound.
    const std::string one = dir.file("one.ani");
    Array n = Array::names({frames[0]}, 1), r = Array::rates({5}, 1);
    int32_t flag = 0;
    ASSERT_EQ(orvexbind::SaveAsANI(n.get(), r.get(), one.c_str(), &flag), -1);
    const std::string b = vmtest::readFile(one);
    ASSERT_EQ(b.size(), 68u + 774);
    EXPECT_EQ(u32(b, 4), b.size() - 8);
    EXPECT_EQ(u32(b, 24), 1u);
    EXPECT_EQ(u32(b, 28), 1u);
    EXPECT_EQ(u32(b, 48), 5u);
    EXPECT_EQ(b.substr(56, 4), "LIST");
    EXPECT_EQ(u32(b, 60), 4u + 774);
    expectFrames(b, 68, 1);

    HCURSOR cursor = LoadCursorFromFileA(one.c_str());
    EXPECT_NE(cursor, nullptr);
    if (cursor) DestroyCursor(cursor);
}

TEST_F(AniWriter, ReplaceFlag) {
    const std::string path = dir.file("t.ani");
    ASSERT_TRUE(vmtest::writeFile(path, "old"));
    EXPECT_EQ(save(frames, {1}, path, 1), 0);
    EXPECT_EQ(vmtest::readFile(path), "old");
    EXPECT_EQ(save(frames, {1}, path, 0), -1);
    EXPECT_EQ(vmtest::readFile(path).size(), 2390u);

    const std::string fresh = dir.file("new.ani");
    EXPECT_EQ(save(frames, {1}, fresh, -1), -1);
    EXPECT_EQ(vmtest::readFile(fresh), vmtest::readFile(path));
}

TEST_F(AniWriter, FailuresLeaveNoTraceAndTheTargetAlone) {
    const std::string kept = dir.file("kept.ani");
    const std::string absent = dir.file("absent.ani");
    ASSERT_TRUE(vmtest::writeFile(kept, "old"));
    const std::vector<std::string> before = orvextest::filesIn(dir.path());

    const std::vector<std::string> missingSecond{frames[0], dir.file("nothere.cur"), frames[2]};
    EXPECT_EQ(save(missingSecond, {1, 2, 3}, kept), 0);
    EXPECT_EQ(save(missingSecond, {1, 2, 3}, absent), 0);
    EXPECT_EQ(save(frames, {1}, dir.file("missing\\x.ani")), 0);
    EXPECT_EQ(save({}, {1}, absent), 0);
    EXPECT_EQ(save(frames, {}, absent), 0);

    int32_t flag = 0;
    Array n = Array::names(frames), r = Array::rates({1});
    EXPECT_EQ(orvexbind::SaveAsANI(nullptr, r.get(), absent.c_str(), &flag), 0);
    EXPECT_EQ(orvexbind::SaveAsANI(n.get(), nullptr, absent.c_str(), &flag), 0);
    EXPECT_EQ(orvexbind::SaveAsANI(n.get(), r.get(), nullptr, &flag), 0);
    EXPECT_EQ(orvexbind::SaveAsANI(n.get(), r.get(), absent.c_str(), nullptr), 0);
    // Arrays of other element types are refused rather than misread, also
    // when their elements have the expected size.
    Array shorts(VT_I2, 0, 3), floats(VT_R4, 0, 3), numbers(VT_I8, 0, 3);
    for (LONG i = 0; i < 3; ++i) {
        LONGLONG v = 16 + i; // read as a string, this would be a wild pointer
        SafeArrayPutElement(*numbers.get(), &i, &v);
    }
    EXPECT_EQ(orvexbind::SaveAsANI(n.get(), shorts.get(), absent.c_str(), &flag), 0);
    EXPECT_EQ(orvexbind::SaveAsANI(n.get(), floats.get(), absent.c_str(), &flag), 0);
    EXPECT_EQ(orvexbind::SaveAsANI(numbers.get(), r.get(), absent.c_str(), &flag), 0);

    EXPECT_EQ(vmtest::readFile(kept), "old");
    EXPECT_EQ(orvextest::filesIn(dir.path()), before);
}

TEST_F(AniWriter, AFrameMayBeTheTargetItself) {
    const std::string path = frames[0];
    ASSERT_EQ(save({frames[0], frames[1]}, {1}, path), -1);
    const std::string b = vmtest::readFile(path);
    ASSERT_EQ(b.size(), 68u + 2 * 774);
    expectFrames(b, 68, 2);
}

} // namespace

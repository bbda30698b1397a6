#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/media_search.h"
#include "temp_tree.h"

namespace {

// A name no real directory on the way up to / is expected to hold.
const std::string kLeaf = "qf_probe_7f3a.bmp";
const std::wstring kWideLeaf = L"qf_probe_7f3a.bmp";

struct Found {
    HRESULT code;
    std::wstring path;
};

Found Find(const std::wstring& name, size_t count = MAX_PATH) {
    WCHAR dest[MAX_PATH];
    HRESULT code = FindMediaFile(dest, count, name.c_str());
    return {code, dest};
}

TEST(ProbeNearExecutable, TriesTheEightCandidatesInOrder) {
    TempTree tree;
    tree.MakeDirs("w1/w2");
    tree.MakeDirs("e1/e2/bin");
    tree.EnterDir("w1/w2");
    std::wstring exeDir = WindowsForm(tree.Path("e1/e2/bin"));
    const std::vector<std::pair<std::string, std::wstring>> places = {
        {"w1/w2/", kWideLeaf},
        {"w1/", L"..\\" + kWideLeaf},
        {"", L"..\\..\\" + kWideLeaf},
        {"e1/e2/bin/", exeDir + L"\\" + kWideLeaf},
        {"e1/e2/", exeDir + L"\\..\\" + kWideLeaf},
        {"e1/", exeDir + L"\\..\\..\\" + kWideLeaf},
        {"e1/e2/run/", exeDir + L"\\..\\run\\" + kWideLeaf},
        {"e1/run/", exeDir + L"\\..\\..\\run\\" + kWideLeaf},
    };
    for (const auto& place : places) tree.MakeFile(place.first + kLeaf);
    WCHAR dest[MAX_PATH];
    // Removing each winner in turn shows the next candidate in the order.
    for (const auto& place : places) {
        ASSERT_TRUE(ProbeNearExecutable(dest, MAX_PATH, kWideLeaf.c_str(), exeDir.c_str(), L"run"));
        EXPECT_EQ(place.second, dest);
        tree.Remove(place.first + kLeaf);
    }
    EXPECT_FALSE(ProbeNearExecutable(dest, MAX_PATH, kWideLeaf.c_str(), exeDir.c_str(), L"run"));
}

TEST(ProbeParentDirectories, WalksUpAndReturnsTheFullPath) {
    TempTree tree;
    tree.MakeDirs("a/b/c");
    tree.MakeFile("a/" + kLeaf);
    WCHAR dest[MAX_PATH];
    std::wstring start = WindowsForm(tree.Path("a/b/c"));
    ASSERT_TRUE(ProbeParentDirectories(dest, MAX_PATH, start.c_str(), kWideLeaf.c_str()));
    EXPECT_EQ(WindowsForm(tree.Path("a/" + kLeaf)), dest);

    // A full path that does not fit the destination is no answer.
    std::wstring full = WindowsForm(tree.Path("a/" + kLeaf));
    EXPECT_TRUE(ProbeParentDirectories(dest, full.size() + 1, start.c_str(), kWideLeaf.c_str()));
    EXPECT_FALSE(ProbeParentDirectories(dest, full.size(), start.c_str(), kWideLeaf.c_str()));

    tree.Remove("a/" + kLeaf);
    EXPECT_FALSE(ProbeParentDirectories(dest, MAX_PATH, start.c_str(), kWideLeaf.c_str()));
    EXPECT_FALSE(ProbeParentDirectories(dest, MAX_PATH, L"", kWideLeaf.c_str()));
}

class MediaSearch : public ::testing::Test {
protected:
    void SetUp() override {
        tree.MakeDirs("a/b/c");
        tree.EnterDir("a/b/c");
    }
    std::wstring Full(const std::string& relative) const { return WindowsForm(tree.Path(relative)); }
    TempTree tree;
};

TEST_F(MediaSearch, MediaFolderNearTheWorkingDirectoryBeatsTheParentWalk) {
    tree.MakeFile(kLeaf);  // the tree's root: only the parent walk reaches it
    tree.MakeFile("a/media/" + kLeaf);
    EXPECT_EQ(L"..\\..\\media\\" + kWideLeaf, Find(kWideLeaf).path);
    tree.Remove("a/media");
    EXPECT_EQ(Full(kLeaf), Find(kWideLeaf).path);
}

TEST_F(MediaSearch, ADirectoryOfThatNameMatchesAndNothingLeavesTheBareName) {
    Found none = Find(kWideLeaf);
    EXPECT_EQ(static_cast<HRESULT>(0x80040903u), none.code);
    EXPECT_EQ(kWideLeaf, none.path);
    tree.MakeDirs("media/" + kLeaf);
    EXPECT_EQ(S_OK, Find(kWideLeaf).code);
    EXPECT_EQ(Full("media/" + kLeaf), Find(kWideLeaf).path);
}

TEST_F(MediaSearch, CandidatesCutOffAtTheCapacityAreNotTested) {
    // With room for nine characters the first candidate would read "qf_probe_",
    // and the ones near the program would stop at one of its parent folders.
    tree.MakeFile("a/b/c/qf_probe_");
    tree.MakeFile("a/b/c/" + kLeaf);
    Found f = Find(kWideLeaf, 10);
    EXPECT_EQ(kMediaNotFound, f.code);
    EXPECT_EQ(L"qf_probe_", f.path);  // the bare name, cut to fit
    // The same file is found once the capacity holds its name.
    EXPECT_EQ(S_OK, Find(kWideLeaf, kWideLeaf.size() + 1).code);
    EXPECT_EQ(kMediaNotFound, Find(kWideLeaf, kWideLeaf.size()).code);
}

TEST_F(MediaSearch, BadArgumentsAreRefusedBeforeAnyWrite) {
    WCHAR dest[MAX_PATH];
    dest[0] = L'#';
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, 9, L"tiles.bmp"));
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, MAX_PATH, L""));
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, size_t(0x80000000u), L"tiles.bmp"));
    EXPECT_EQ(L'#', dest[0]);
}

// Builds a working directory whose '\' form is exactly length characters.
std::string DeepDir(const TempTree& tree, size_t length) {
    std::string relative;
    size_t total = tree.Root().size();
    while (total + 1 < length) {
        size_t part = std::min<size_t>(100, length - total - 1);
        relative += std::string(part, 'd') + "/";
        total += part + 1;
    }
    relative.pop_back();
    tree.MakeDirs(relative);
    return relative;
}

TEST(MediaSearchLongPaths, TheWalkEndsWhenTheParentNameNoLongerFits) {
    // At 257 characters "dir\.." is cut to "dir\." and names dir again.
    for (size_t length : {257u, 258u, 259u, 300u}) {
        TempTree tree;
        std::string deep = DeepDir(tree, length);
        ASSERT_EQ(length, tree.Path(deep).size());
        tree.EnterDir(deep);
        WCHAR dest[MAX_PATH];
        EXPECT_FALSE(ProbeParentDirectories(dest, MAX_PATH, L".", kWideLeaf.c_str())) << length;
        EXPECT_EQ(kMediaNotFound, Find(kWideLeaf).code) << length;
    }
}

}  // namespace

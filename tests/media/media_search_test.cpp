#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/media_search.h"
#include "support/temp_tree.h"

namespace {

// A name no real directory on the way up to / is expected to hold.
const std::string kLeaf = "qf_probe_7f3a.bmp";
const std::wstring kWideLeaf(kLeaf.begin(), kLeaf.end());

std::pair<HRESULT, std::wstring> Find(const std::wstring& name, size_t count = MAX_PATH) {
    WCHAR dest[MAX_PATH];
    HRESULT code = FindMediaFile(dest, count, name.c_str());
    return {code, dest};
}

// Each case starts in <root>/a/b/c.
class MediaSearch : public ::testing::Test {
protected:
    void SetUp() override {
        tree.MakeDirs("a/b/c");
        tree.EnterDir("a/b/c");
    }
    std::wstring Full(const std::string& relative) const { return WindowsForm(tree.Path(relative)); }
    TempTree tree;
};

TEST_F(MediaSearch, NearExecutableTriesTheEightCandidatesInOrder) {
    std::wstring exe = Full("e1/e2/bin");
    const std::vector<std::pair<std::string, std::wstring>> places = {
        {"a/b/c/", kWideLeaf},
        {"a/b/", L"..\\" + kWideLeaf},
        {"a/", L"..\\..\\" + kWideLeaf},
        {"e1/e2/bin/", exe + L"\\" + kWideLeaf},
        {"e1/e2/", exe + L"\\..\\" + kWideLeaf},
        {"e1/", exe + L"\\..\\..\\" + kWideLeaf},
        {"e1/e2/run/", exe + L"\\..\\run\\" + kWideLeaf},
        {"e1/run/", exe + L"\\..\\..\\run\\" + kWideLeaf},
    };
    for (const auto& place : places) tree.MakeFile(place.first + kLeaf);
    WCHAR dest[MAX_PATH];
    // Removing each winner in turn shows the next candidate in the order.
    for (const auto& place : places) {
        ASSERT_TRUE(ProbeNearExecutable(dest, MAX_PATH, kWideLeaf.c_str(), exe.c_str(), L"run"));
        EXPECT_EQ(place.second, dest);
        tree.Remove(place.first + kLeaf);
    }
    EXPECT_FALSE(ProbeNearExecutable(dest, MAX_PATH, kWideLeaf.c_str(), exe.c_str(), L"run"));
}

TEST_F(MediaSearch, MediaFolderBeatsTheParentWalkWhichGivesAFullPathThatMustFit) {
    tree.MakeFile(kLeaf);  // the tree's root: only the parent walk reaches it
    tree.MakeFile("a/media/" + kLeaf);
    EXPECT_EQ(L"..\\..\\media\\" + kWideLeaf, Find(kWideLeaf).second);
    tree.Remove("a/media");
    std::wstring full = Full(kLeaf);
    EXPECT_EQ(std::make_pair(S_OK, full), Find(kWideLeaf));
    WCHAR dest[MAX_PATH];
    EXPECT_TRUE(ProbeParentDirectories(dest, full.size() + 1, L".", kWideLeaf.c_str()));
    EXPECT_FALSE(ProbeParentDirectories(dest, full.size(), L".", kWideLeaf.c_str()));
}

TEST_F(MediaSearch, ADirectoryOfThatNameMatchesAndNothingLeavesTheBareName) {
    EXPECT_EQ(std::make_pair(kMediaNotFound, kWideLeaf), Find(kWideLeaf));
    tree.MakeDirs("media/" + kLeaf);
    EXPECT_EQ(std::make_pair(S_OK, Full("media/" + kLeaf)), Find(kWideLeaf));
}

TEST_F(MediaSearch, CandidatesCutOffAtTheCapacityAreNotTested) {
    // With room for nine characters the first candidate would read "qf_probe_",
    // and the ones near the program would stop at one of its parent folders.
    tree.MakeFile("a/b/c/qf_probe_");
    tree.MakeFile("a/b/c/" + kLeaf);
    EXPECT_EQ(std::make_pair(kMediaNotFound, std::wstring(L"qf_probe_")), Find(kWideLeaf, 10));
    EXPECT_EQ(S_OK, Find(kWideLeaf, kWideLeaf.size() + 1).first);
    EXPECT_EQ(kMediaNotFound, Find(kWideLeaf, kWideLeaf.size()).first);
}

TEST_F(MediaSearch, BadArgumentsAreRefusedBeforeAnyWrite) {
    WCHAR dest[MAX_PATH];
    dest[0] = L'#';
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, 9, L"tiles.bmp"));
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, MAX_PATH, L""));
    EXPECT_EQ(E_INVALIDARG, FindMediaFile(dest, size_t(0x80000000u), L"tiles.bmp"));
    EXPECT_EQ(L'#', dest[0]);
}

TEST(MediaSearchLongPaths, TheWalkEndsWhenTheParentNameNoLongerFits) {
    // At 257 characters "dir\.." is cut to "dir\." and names dir again.
    for (size_t length : {257u, 258u, 259u, 300u}) {
        TempTree tree;
        std::string deep;
        for (size_t total = tree.Root().size(); total < length; total = tree.Path(deep).size())
            deep += (deep.empty() ? "" : "/") + std::string(std::min<size_t>(100, length - total - 1), 'd');
        tree.MakeDirs(deep);
        ASSERT_EQ(length, tree.Path(deep).size());
        tree.EnterDir(deep);
        WCHAR dest[MAX_PATH];
        EXPECT_FALSE(ProbeParentDirectories(dest, MAX_PATH, L".", kWideLeaf.c_str())) << length;
        EXPECT_EQ(kMediaNotFound, Find(kWideLeaf).first) << length;
    }
}

}  // namespace

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/windows.h"
#include "temp_tree.h"

namespace {

struct FullPathResult {
    DWORD returned;
    std::wstring path;
    std::wstring filePart;  // "<null>" when none
};

FullPathResult FullPath(const wchar_t* name) {
    WCHAR buffer[MAX_PATH];
    WCHAR* part = buffer;  // must be overwritten, also with null
    DWORD n = GetFullPathNameW(name, MAX_PATH, buffer, &part);
    if (n == 0 || n >= MAX_PATH) return {n, L"<failed>", L"<failed>"};
    return {n, buffer, part ? std::wstring(part) : L"<null>"};
}

TEST(FullPathName, ResolvesDotsAndParentsAgainstTheWorkingDirectory) {
    TempTree tree;
    tree.MakeDirs("a/b");
    tree.EnterDir("a/b");
    std::wstring root = WindowsForm(tree.Root());

    FullPathResult here = FullPath(L".");
    EXPECT_EQ(root + L"\\a\\b", here.path);
    EXPECT_EQ(L"b", here.filePart);
    EXPECT_EQ(here.path.size(), here.returned);

    EXPECT_EQ(root + L"\\a\\x\\y", FullPath(L"..\\x\\.\\y").path);
    EXPECT_EQ(L"y", FullPath(L"..\\x\\.\\y").filePart);
    EXPECT_EQ(root + L"\\a", FullPath(L"..//b/..\\\\.").path);  // both separators, doubled
    EXPECT_EQ(L"\\b", FullPath(L"\\a\\..\\b").path);
    EXPECT_EQ(root + L"\\a\\b\\c\\", FullPath(L"c\\").path);  // a trailing separator stays
    EXPECT_EQ(L"<null>", FullPath(L"c\\").filePart);
}

TEST(FullPathName, RootHasNoLastComponent) {
    for (const wchar_t* name : {L"\\", L"/", L"\\..", L"\\a\\..\\..\\.", L"/tmp/../../.."}) {
        FullPathResult r = FullPath(name);
        EXPECT_EQ(L"\\", r.path) << name;
        EXPECT_EQ(L"<null>", r.filePart) << name;
        EXPECT_EQ(1u, r.returned) << name;
    }
    EXPECT_EQ(0u, GetFullPathNameW(L"", MAX_PATH, nullptr, nullptr));
    EXPECT_EQ(0u, GetFullPathNameW(nullptr, MAX_PATH, nullptr, nullptr));
}

TEST(FullPathName, SmallBufferGetsTheRequiredSizeAndStaysUntouched) {
    const wchar_t* name = L"\\abc\\def";  // 8 characters
    WCHAR buffer[16];
    std::fill(buffer, buffer + 16, L'#');
    WCHAR* part = nullptr;
    EXPECT_EQ(9u, GetFullPathNameW(name, 8, buffer, &part));
    EXPECT_EQ(L'#', buffer[0]);
    EXPECT_EQ(nullptr, part);
    EXPECT_EQ(9u, GetFullPathNameW(name, 0, nullptr, nullptr));
    EXPECT_EQ(8u, GetFullPathNameW(name, 9, buffer, &part));
    EXPECT_EQ(std::wstring(name), buffer);
    EXPECT_EQ(buffer + 5, part);
    EXPECT_EQ(L'#', buffer[9]);
}

TEST(FileAttributes, FilesDirectoriesAndMissingNames) {
    TempTree tree;
    tree.MakeFile("d/f.txt");
    std::wstring root = WindowsForm(tree.Root());
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW((root + L"\\d").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"\\d\\f.txt").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"/d\\f.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((root + L"\\d\\g.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((root + L"\\d\\f.txt\\").c_str()));
    // Parents are resolved by name first, as on Windows: the missing folder does not matter.
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"\\missing\\..\\d\\f.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L""));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(nullptr));
}

TEST(FileAttributes, NonAsciiNamesRoundTrip) {
    TempTree tree;
    tree.MakeFile("caf\xc3\xa9/\xe4\xb8\xad.bmp");  // UTF-8 on disk
    tree.MakeDirs("raw\xff");                        // not UTF-8 at all
    std::wstring root = WindowsForm(tree.Root());
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"\\caf\u00e9\\\u4e2d.bmp").c_str()));

    tree.EnterDir("raw\xff");
    FullPathResult here = FullPath(L".");
    ASSERT_EQ(root + L"\\raw\xdcff", here.path);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW(here.path.c_str()));
}

TEST(ModuleFileName, NamesThisTestProgram) {
    char target[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", target, sizeof target - 1), 0);
    std::wstring expected = WindowsForm(target);
    ASSERT_GE(expected.size(), 11u);
    EXPECT_EQ(L"\\test_media", expected.substr(expected.size() - 11));

    WCHAR name[MAX_PATH];
    EXPECT_EQ(expected.size(), GetModuleFileNameW(nullptr, name, MAX_PATH));
    EXPECT_EQ(expected, name);

    WCHAR small[5];
    EXPECT_EQ(5u, GetModuleFileNameW(nullptr, small, 5));  // truncated: returns the size
    EXPECT_EQ(expected.substr(0, 4), small);
    EXPECT_EQ(0u, GetModuleFileNameW(nullptr, small, 0));
}

}  // namespace

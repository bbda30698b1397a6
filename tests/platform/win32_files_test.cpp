#include <gtest/gtest.h>

#include <string>

#include "platform/posix/file_path.h"
#include <mmsystem.h>
#include <windows.h>
#include "support/temp_tree.h"

namespace {

// The full path and its last component ("<null>" when none).
std::pair<std::wstring, std::wstring> FullPath(const wchar_t* name) {
    WCHAR buffer[MAX_PATH];
    WCHAR* part = buffer;  // must be overwritten, also with null
    DWORD n = GetFullPathNameW(name, MAX_PATH, buffer, &part);
    if (n == 0 || n >= MAX_PATH || n != std::wcslen(buffer)) return {L"<failed>", L""};
    return {buffer, part ? part : L"<null>"};
}

TEST(FullPathName, ResolvesDotsParentsAndTheRoot) {
    TempTree tree;
    tree.MakeDirs("a/b");
    tree.EnterDir("a/b");
    std::wstring root = WindowsForm(tree.Root());
    EXPECT_EQ(std::make_pair(root + L"\\a\\b", std::wstring(L"b")), FullPath(L"."));
    EXPECT_EQ(std::make_pair(root + L"\\a\\x\\y", std::wstring(L"y")), FullPath(L"..\\x\\.\\y"));
    EXPECT_EQ(root + L"\\a", FullPath(L"..//b/..\\\\.").first);  // both separators, doubled
    EXPECT_EQ(std::make_pair(root + L"\\a\\b\\c\\", std::wstring(L"<null>")), FullPath(L"c\\"));
    for (const wchar_t* top : {L"\\", L"/tmp/../../..", L"\\a\\..\\..\\."})
        EXPECT_EQ(std::make_pair(std::wstring(L"\\"), std::wstring(L"<null>")), FullPath(top)) << top;
    EXPECT_EQ(0u, GetFullPathNameW(L"", MAX_PATH, nullptr, nullptr));

    // Too small a buffer gets the required size and stays untouched.
    WCHAR buffer[16];
    std::fill(buffer, buffer + 16, L'#');
    WCHAR* part = nullptr;
    EXPECT_EQ(9u, GetFullPathNameW(L"\\abc\\def", 8, buffer, &part));
    EXPECT_EQ(L'#', buffer[0]);
    EXPECT_EQ(8u, GetFullPathNameW(L"\\abc\\def", 9, buffer, &part));
    EXPECT_EQ(std::make_pair(std::wstring(L"\\abc\\def"), buffer + 5), std::make_pair(std::wstring(buffer), part));
}

TEST(FileAttributes, FindsFilesAndFoldersByTheirWindowsForm) {
    TempTree tree;
    tree.MakeFile("d/f.txt");
    tree.MakeFile("caf\xc3\xa9/\xe4\xb8\xad.bmp");  // UTF-8 on disk
    tree.MakeDirs("raw\xff");                        // not UTF-8 at all
    std::wstring root = WindowsForm(tree.Root());
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW((root + L"\\d").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"/d\\f.txt").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"\\caf\u00e9\\\u4e2d.bmp").c_str()));
    // Like the loaders, ".." goes through real folders only.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((root + L"\\missing\\..\\d\\f.txt").c_str()));
    EXPECT_EQ(FILE_ATTRIBUTE_NORMAL, GetFileAttributesW((root + L"\\d\\..\\d\\f.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L""));

    tree.MakeFile("raw\xff/a.wav");
    tree.EnterDir("raw\xff");
    std::wstring here = FullPath(L".").first;
    EXPECT_EQ(root + L"\\raw\xdcff", here);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesW(here.c_str()));
    // What the search found there opens by the same name.
    std::wstring wave = here + L"\\a.wav";
    HMMIO file = mmioOpenW(wave.data(), nullptr, MMIO_READ);
    EXPECT_NE(nullptr, file);
    mmioClose(file, 0);
}

TEST(FilePath, AnyBytesSurviveTheTripAndUnnameableCharactersAreRefused) {
    // Valid UTF-8, stray and truncated bytes, an over-long '/', an encoded
    // surrogate, the last code point and one past it.
    for (std::string bytes :
         {"/caf\xc3\xa9/\xe4\xb8\xad", "\xff\x80/\xc3", "\xc0\xaf\xed\xa0\x80", "\xf4\x8f\xbf\xbf\xf4\x90\x80\x80" "a\xe4\xb8"}) {
        std::string back;
        EXPECT_TRUE(WidePathToPosix(PosixPathToWide(bytes).c_str(), back));
        EXPECT_EQ(bytes, back);
    }
    std::string out;
    for (std::wstring bad : {std::wstring(L"a\xd800"), std::wstring(L"\xdc7f"), std::wstring(1, wchar_t(0x110000)),
                             std::wstring(MAX_PATH, L'a'), std::wstring()})
        EXPECT_FALSE(WidePathToPosix(bad.c_str(), out)) << bad.size();
    EXPECT_FALSE(WidePathToPosix(nullptr, out));
    EXPECT_TRUE(WidePathToPosix(std::wstring(MAX_PATH - 1, L'a').c_str(), out));
}

}  // namespace

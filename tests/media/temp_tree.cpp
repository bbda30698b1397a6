#include "temp_tree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TempTree::TempTree() {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) savedCwd_ = cwd;
    char pattern[] = "/tmp/qf_media_XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) ADD_FAILURE() << "mkdtemp failed";
    // The walk up from here must see the real, symlink-free path.
    root_ = made ? fs::canonical(made).string() : "/nonexistent";
}

TempTree::~TempTree() {
    if (!savedCwd_.empty() && chdir(savedCwd_.c_str()) != 0) ADD_FAILURE() << "cannot restore cwd";
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void TempTree::MakeDirs(const std::string& relative) const { fs::create_directories(Path(relative)); }

void TempTree::MakeFile(const std::string& relative, const std::string& content) const {
    fs::create_directories(fs::path(Path(relative)).parent_path());
    std::ofstream(Path(relative), std::ios::binary) << content;
}

void TempTree::Remove(const std::string& relative) const { fs::remove_all(Path(relative)); }

void TempTree::EnterDir(const std::string& relative) const {
    if (chdir(Path(relative).c_str()) != 0) ADD_FAILURE() << "cannot enter " << relative;
}

std::wstring WindowsForm(const std::string& linuxPath) {
    std::wstring out;
    for (char c : linuxPath) out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

// A scratch directory tree for file-system tests: created under /tmp, removed
// afterwards, with the working directory restored.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempTree {
public:
    TempTree() : saved_(std::filesystem::current_path()) {
        char pattern[] = "/tmp/qf_test_XXXXXX";
        // The walk up from here must see the real, symlink-free path.
        if (mkdtemp(pattern)) root_ = std::filesystem::canonical(pattern).string();
        else ADD_FAILURE() << "mkdtemp failed";
    }
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::current_path(saved_, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    void MakeDirs(const std::string& relative) const { std::filesystem::create_directories(Path(relative)); }
    // Writes the bytes of any contiguous container (a string by default), making the folders on the way.
    template <typename Contents = std::string>
    void MakeFile(const std::string& relative, const Contents& contents = "x") const {
        std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
        std::ofstream file(Path(relative), std::ios::binary);
        file.write(reinterpret_cast<const char*>(contents.data()), static_cast<std::streamsize>(contents.size()));
        EXPECT_TRUE(file.good()) << relative;
    }
    void Remove(const std::string& relative) const { std::filesystem::remove_all(Path(relative)); }
    void EnterDir(const std::string& relative) const { ASSERT_EQ(0, chdir(Path(relative).c_str())) << relative; }

private:
    std::filesystem::path saved_;
    std::string root_ = "/nonexistent/qf_test";
};

inline std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// An ASCII path as the wide string the Windows-named calls take.
inline std::wstring Wide(const std::string& narrow) { return std::wstring(narrow.begin(), narrow.end()); }

// The '\' form the file layer hands back for an ASCII Linux path.
inline std::wstring WindowsForm(const std::string& linuxPath) {
    std::wstring out;
    for (char c : linuxPath) out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

// A scratch directory tree for file-system tests: created under /tmp, removed
// afterwards, with the working directory restored.
#pragma once

#include <string>

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
    void MakeDirs(const std::string& relative) const;
    void MakeFile(const std::string& relative, const std::string& content = "x") const;
    void Remove(const std::string& relative) const;
    void EnterDir(const std::string& relative) const;  // chdir; undone by the destructor

private:
    std::string root_;
    std::string savedCwd_;
};

// The '\' form the file layer hands back for an ASCII Linux path.
std::wstring WindowsForm(const std::string& linuxPath);

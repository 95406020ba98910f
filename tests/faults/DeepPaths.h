#pragma once

#include <string>
#include <utility>

namespace morvane::test {

// Folders and files at paths of any length, even beyond PATH_MAX, reached one name at a time
// from a folder descriptor, since the path-taking calls refuse such paths.

// An open folder descriptor, closed when it goes.
class FolderFd {
  public:
    explicit FolderFd(int fd) : fd_(fd) {}
    FolderFd(FolderFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FolderFd& operator=(FolderFd&& other) noexcept;
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    ~FolderFd();
    int get() const { return fd_; }

  private:
    int fd_;
};

// Creates the folders of `relative` ('/'-separated) below `base` as needed and opens the last.
FolderFd makeFolders(const std::string& base, const std::string& relative);

void writeFileAt(const FolderFd& folder, const std::string& name, const std::string& content);
std::string readFileAt(const FolderFd& folder, const std::string& name);

// Removes `path` and everything below it, however deep; write and search bits are given back
// on the way.
void removeDeep(const std::string& path);

// Removes a deep tree when it goes, also when a test stops early; a TempTree cannot reach below
// PATH_MAX.
class DeepRemoval {
  public:
    explicit DeepRemoval(std::string path) : path_(std::move(path)) {}
    DeepRemoval(const DeepRemoval&) = delete;
    DeepRemoval& operator=(const DeepRemoval&) = delete;
    ~DeepRemoval() { removeDeep(path_); }

  private:
    std::string path_;
};

}  // namespace morvane::test

#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace morvane::test {

inline std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A temporary folder removed with everything below it (write bits restored first). Standard
// library only, so that it serves the tests of every host.
class TempTree {
  public:
    TempTree() {
        std::random_device random;
        do {
            root_ =
                std::filesystem::temp_directory_path() / ("morvane-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(root_));
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    ~TempTree() {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (!it->is_symlink()) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ec);
            }
        }
        std::filesystem::remove_all(root_, ec);
    }

    const std::filesystem::path& root() const { return root_; }
    // `relative` may use '/': the path is given in the system's own separator.
    std::string path(const std::string& relative = {}) const {
        return relative.empty() ? root_.string() : (root_ / relative).make_preferred().string();
    }

    // Writes `content` to `relative`, creating the folders above it.
    std::string write(const std::string& relative, const std::string& content) const {
        const std::filesystem::path file = root_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file.string();
    }

    std::string read(const std::string& relative) const { return contentOf(root_ / relative); }

    bool exists(const std::string& relative) const {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(root_ / relative, ec));
    }

    void makeDir(const std::string& relative) const {
        std::filesystem::create_directories(root_ / relative);
    }

  private:
    std::filesystem::path root_;
};

}  // namespace morvane::test

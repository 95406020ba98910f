#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/Outcome.h"
#include "platform/FileHost.h"

namespace morvane::clean {

// The host a clean works through: every call is passed on to `host`, but a change to a file that
// could not be backed up is refused, saying why, so that the file is left as it is.
class GuardedHost : public FileHost {
  public:
    // `refused`: the paths of the files to leave alone, and why they are left.
    GuardedHost(FileHost& host, std::map<std::string, Reason> refused)
        : host_(host), refused_(std::move(refused)) {}

    RunStart beginChanges(const std::string& gameFolder,
                          std::optional<std::chrono::milliseconds> wait) override {
        return host_.beginChanges(gameFolder, wait);
    }
    void endChanges() override { host_.endChanges(); }
    char separator() const override { return host_.separator(); }
    Lookup lookupFile(const std::string& path) override { return host_.lookupFile(path); }
    bool isReadableFile(const std::string& path) override { return host_.isReadableFile(path); }
    bool sameContent(const std::string& path, const std::string& reference,
                     std::uint64_t limit) override {
        return host_.sameContent(path, reference, limit);
    }
    ChangeResult setAttributes(const std::string& path, Attributes value) override {
        return unlessRefused(path, [&] { return host_.setAttributes(path, value); });
    }
    ChangeResult setPermissions(const std::string& path, const Permissions& value) override {
        return unlessRefused(path, [&] { return host_.setPermissions(path, value); });
    }
    ChangeResult deleteFile(const std::string& path) override {
        return unlessRefused(path, [&] { return host_.deleteFile(path); });
    }
    ChangeResult copyFile(const std::string& source, const std::string& destination) override {
        return unlessRefused(destination, [&] { return host_.copyFile(source, destination); });
    }
    ChangeResult createLink(const std::string& path, const std::string& target) override {
        return unlessRefused(path, [&] { return host_.createLink(path, target); });
    }
    std::vector<Leftover> removeLeftovers(const std::string& folder) override {
        return host_.removeLeftovers(folder);
    }
    std::optional<std::uint64_t> folderSize(const std::string& folder) override {
        return host_.folderSize(folder);
    }
    std::optional<std::string> programFolder() override { return host_.programFolder(); }

  private:
    template <typename Change>
    ChangeResult unlessRefused(const std::string& path, Change change) {
        const auto found = refused_.find(path);
        if (found == refused_.end())
            return change();
        return ChangeResult::failure(
            reasonOf({path, Done::Failed, Cause::NotBackedUp, found->second}));
    }

    FileHost& host_;
    std::map<std::string, Reason> refused_;
};

}  // namespace morvane::clean

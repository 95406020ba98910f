#pragma once

#include <string>

#include "platform/FileHost.h"

namespace morvane::cli {

// Passes every operation to a host whose run the driver has begun itself, so that the removal run
// goes on inside it: beginning is a no-op that says begun, and ending is left to the driver. The
// driver's backup, its own changes and the removal run thus share one run and one lock.
class HeldRun : public FileHost {
  public:
    explicit HeldRun(FileHost& host) : host_(host) {}

    RunStart beginChanges(const std::string&, std::optional<std::chrono::milliseconds>) override {
        return RunStart::Begun;
    }
    void endChanges() override {}
    char separator() const override { return host_.separator(); }
    Lookup lookupFile(const std::string& path) override { return host_.lookupFile(path); }
    bool isReadableFile(const std::string& path) override { return host_.isReadableFile(path); }
    ChangeResult setAttributes(const std::string& path, Attributes value) override {
        return host_.setAttributes(path, value);
    }
    ChangeResult setPermissions(const std::string& path, const Permissions& value) override {
        return host_.setPermissions(path, value);
    }
    ChangeResult deleteFile(const std::string& path) override { return host_.deleteFile(path); }
    ChangeResult copyFile(const std::string& source, const std::string& destination) override {
        return host_.copyFile(source, destination);
    }
    std::optional<std::uint64_t> folderSize(const std::string& folder) override {
        return host_.folderSize(folder);
    }
    std::optional<std::string> programFolder() override { return host_.programFolder(); }

  private:
    FileHost& host_;
};

}  // namespace morvane::cli

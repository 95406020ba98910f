#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileHost.h"

namespace morvane::test {

// Passes every operation to a real host, records it, and makes the one with a given sequence
// number (counted from 0 over every recorded call) fail. A failed operation does nothing to the
// real host. Beginning and ending a run are passed on and not recorded.
class FaultyHost : public FileHost {
  public:
    enum class Op {
        Lookup,
        SetAttributes,
        Delete,
        Copy,
        FolderSize,
        ProgramFolder,
        ReadableCheck,
        SetPermissions,
        SameContent
    };

    struct Call {
        Op op;
        std::string path;    // the path, or the destination of a copy
        std::string source;  // the source of a copy, or the file a content is compared with
        bool failed = false;
    };

    explicit FaultyHost(FileHost& real) : real_(real) {}

    void failCall(std::size_t index) { failIndex_ = index; }
    const std::vector<Call>& calls() const { return calls_; }

    static constexpr const char* kInjected = "failed on purpose";

    RunStart beginChanges(const std::string& gameFolder,
                          std::optional<std::chrono::milliseconds> wait) override {
        return real_.beginChanges(gameFolder, wait);
    }
    void endChanges() override { real_.endChanges(); }
    char separator() const override { return real_.separator(); }

    Lookup lookupFile(const std::string& path) override {
        if (record(Op::Lookup, path))
            return Lookup::Failed;
        return real_.lookupFile(path);
    }
    bool isReadableFile(const std::string& path) override {
        return !record(Op::ReadableCheck, path) && real_.isReadableFile(path);
    }
    bool sameContent(const std::string& path, const std::string& reference,
                     std::uint64_t limit) override {
        return !record(Op::SameContent, path, reference) &&
               real_.sameContent(path, reference, limit);
    }
    ChangeResult setAttributes(const std::string& path, Attributes value) override {
        if (record(Op::SetAttributes, path))
            return ChangeResult::failure(Reason::text(kInjected));
        return real_.setAttributes(path, value);
    }
    ChangeResult setPermissions(const std::string& path, const Permissions& value) override {
        if (record(Op::SetPermissions, path))
            return ChangeResult::failure(Reason::text(kInjected));
        return real_.setPermissions(path, value);
    }
    ChangeResult deleteFile(const std::string& path) override {
        if (record(Op::Delete, path))
            return ChangeResult::failure(Reason::text(kInjected));
        return real_.deleteFile(path);
    }
    ChangeResult copyFile(const std::string& source, const std::string& destination) override {
        if (record(Op::Copy, destination, source))
            return ChangeResult::failure(Reason::text(kInjected));
        return real_.copyFile(source, destination);
    }
    // Not steps of the removal run: passed on, not recorded.
    ChangeResult createLink(const std::string& path, const std::string& target) override {
        return real_.createLink(path, target);
    }
    std::vector<Leftover> removeLeftovers(const std::string& folder) override {
        return real_.removeLeftovers(folder);
    }
    std::optional<std::uint64_t> folderSize(const std::string& folder) override {
        if (record(Op::FolderSize, folder))
            return std::nullopt;
        return real_.folderSize(folder);
    }
    std::optional<std::string> programFolder() override {
        if (record(Op::ProgramFolder, {}))
            return std::nullopt;
        return real_.programFolder();
    }

  private:
    // Records the call; true when it is to fail.
    bool record(Op op, std::string path, std::string source = {}) {
        const bool fail = failIndex_ == calls_.size();
        calls_.push_back({op, std::move(path), std::move(source), fail});
        return fail;
    }

    FileHost& real_;
    std::optional<std::size_t> failIndex_;
    std::vector<Call> calls_;
};

}  // namespace morvane::test

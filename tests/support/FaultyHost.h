#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "FileHost.h"

namespace morvane::test {

// Passes every operation to a real host, records it, and makes the one with a given sequence
// number (counted from 0 over every recorded call) fail. A failed operation does nothing to the
// real host.
class FaultyHost : public FileHost {
  public:
    enum class Op { Lookup, SetAttributes, Delete, Copy, FolderSize, ProgramFolder, ReadableCheck };

    struct Call {
        Op op;
        std::string path;    // the path, or the destination of a copy
        std::string source;  // the source of a copy
        bool failed = false;
    };

    explicit FaultyHost(FileHost& real) : real_(real) {}

    void failCall(std::size_t index) { failIndex_ = index; }
    const std::vector<Call>& calls() const { return calls_; }

    void confineChangesTo(const std::string& folder) override { real_.confineChangesTo(folder); }
    char separator() const override { return real_.separator(); }

    Lookup lookupFile(const std::string& path) override {
        if (record(Op::Lookup, path))
            return Lookup::Failed;
        return real_.lookupFile(path);
    }
    bool isReadableFile(const std::string& path) override {
        return !record(Op::ReadableCheck, path) && real_.isReadableFile(path);
    }
    bool setAttributes(const std::string& path, Attributes value) override {
        return !record(Op::SetAttributes, path) && real_.setAttributes(path, value);
    }
    bool deleteFile(const std::string& path) override {
        return !record(Op::Delete, path) && real_.deleteFile(path);
    }
    bool copyFile(const std::string& source, const std::string& destination) override {
        return !record(Op::Copy, destination, source) && real_.copyFile(source, destination);
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

#pragma once

#include <string_view>
#include <vector>

#include "core/keyvalues/KeyValues.h"
#include "core/scan/Family.h"

namespace morvane::scan {

// The lines of a file read as KeyValues, to name a finding by the line a key or value stands on.
class KeyValueLines {
  public:
    explicit KeyValueLines(const ScannedFile& file) : file_(file) {
        forEachTextLine(file.content, [&](const TextLine& line) { lines_.push_back(line); });
    }

    // A finding of `rule` on the line of `valueOf`'s value, spanning `entry`.
    Finding finding(const kv::Node& valueOf, const kv::Node& entry, const Rule* rule) const {
        const auto at = static_cast<std::size_t>(valueOf.valueLine - 1);
        const std::string_view text = at < lines_.size() ? lines_[at].text : std::string_view();
        return {file_.relative, valueOf.valueLine,        std::string(text),
                rule,           {entry.begin, entry.end}, file_.place};
    }

  private:
    const ScannedFile& file_;
    std::vector<TextLine> lines_;
};

}  // namespace morvane::scan

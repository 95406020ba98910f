#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/Toolkit.h"

namespace morvane::ui::test {

using Raised = std::pair<std::string, Event>;

// Every event a window raised, in order.
struct RecordingSink : EventSink {
    std::vector<Raised> events;
    std::function<void()> onEvent;  // optional, runs after recording

    void handle(std::string_view control, Event event) override {
        events.emplace_back(std::string(control), event);
        if (onEvent)
            onEvent();
    }
    std::vector<std::string> controlsWith(Event event) const {
        std::vector<std::string> names;
        for (const auto& [name, raised] : events) {
            if (raised == event)
                names.push_back(name);
        }
        return names;
    }
};

// A window's events, heard and forgotten: for pictures of windows, which nothing clicks.
struct SilentSink final : EventSink {
    void handle(std::string_view, Event) override {}
};

}  // namespace morvane::ui::test

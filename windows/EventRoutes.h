#pragma once

#include <span>
#include <string_view>

#include "platform/ui/Toolkit.h"

namespace morvane::ui {

// One row of a window's event table: which handler of `Form` answers (control, event).
template <class Form>
struct EventRoute {
    std::string_view control;
    Event event;
    void (Form::*handler)();
};

// Calls the handler routed for (control, event); events without a route are ignored, as a
// control without a handler ignores them.
template <class Form>
void dispatch(Form& form, std::span<const EventRoute<Form>> routes, std::string_view control,
              Event event) {
    for (const EventRoute<Form>& route : routes) {
        if (route.control == control && route.event == event) {
            (form.*route.handler)();
            return;
        }
    }
}

}  // namespace morvane::ui

#pragma once
// What the core asks a view to do once, rather than a state for it to mirror: bring the window
// to the front, minimise it, open a pop-up menu, move the keyboard focus. The core adds them;
// the view takes every waiting request after an event and does them in order, so it never
// writes the core's state to say it has done one.

#include <algorithm>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/ControlState.h"

namespace kestrune {

struct MinimizeWindow {
    friend bool operator==(const MinimizeWindow&, const MinimizeWindow&) = default;
};

// To the front, with the keyboard focus; out of the minimised state.
struct ActivateWindow {
    friend bool operator==(const ActivateWindow&, const ActivateWindow&) = default;
};

// The menu of that name ("mnuTray"), opened at the mouse cursor.
struct PopupMenu {
    std::string menu;
    friend bool operator==(const PopupMenu&, const PopupMenu&) = default;
};

// The keyboard focus to a field's value control.
struct FocusControl {
    const ControlState* control = nullptr;
    friend bool operator==(const FocusControl&, const FocusControl&) = default;
};

using ViewRequest = std::variant<MinimizeWindow, ActivateWindow, PopupMenu, FocusControl>;

class ViewRequests {
  public:
    // A new request replaces a waiting one of its kind and goes last: the view does each kind
    // at most once a take (one window can take one focus and show one pop-up), in the order
    // last asked, and a core that runs without a view does not pile them up.
    void Add(ViewRequest request) {
        std::erase_if(pending_, [&request](const ViewRequest& waiting) {
            return waiting.index() == request.index();
        });
        pending_.push_back(std::move(request));
    }

    // The requests made since the last take, oldest first.
    [[nodiscard]] std::vector<ViewRequest> Take() { return std::exchange(pending_, {}); }

    // Drops the waiting requests of one kind, such as a focus request for a control about to
    // be destroyed.
    template <class Request>
    void Withdraw() {
        std::erase_if(pending_, [](const ViewRequest& waiting) {
            return std::holds_alternative<Request>(waiting);
        });
    }

  private:
    std::vector<ViewRequest> pending_;
};

// The control that a list of requests moves the focus to; nullptr when none does.
inline const ControlState* FocusTarget(const std::vector<ViewRequest>& requests) {
    const ControlState* target = nullptr;
    for (const ViewRequest& request : requests) {
        if (const auto* focus = std::get_if<FocusControl>(&request)) {
            target = focus->control;
        }
    }
    return target;
}

}  // namespace kestrune

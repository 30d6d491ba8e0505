#include "base/ViewRequest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

const ControlState kFirst;
const ControlState kSecond;

struct QueueCase {
    std::string name;
    std::vector<ViewRequest> added;
    bool withdrawFocus;
    std::vector<ViewRequest> taken;
    const ControlState* focus;
};

TEST(ViewRequests, TakeGivesEachKindOnceInTheOrderLastAsked) {
    const std::vector<QueueCase> cases = {
        {"nothing asked", {}, false, {}, nullptr},
        {"kept in order",
         {ActivateWindow{}, PopupMenu{"mnuTray"}},
         false,
         {ActivateWindow{}, PopupMenu{"mnuTray"}},
         nullptr},
        {"a repeat goes last",
         {MinimizeWindow{}, ActivateWindow{}, MinimizeWindow{}},
         false,
         {ActivateWindow{}, MinimizeWindow{}},
         nullptr},
        {"the later pop-up wins",
         {PopupMenu{"mnuTray"}, PopupMenu{"mnuTab"}},
         false,
         {PopupMenu{"mnuTab"}},
         nullptr},
        {"the later focus wins",
         {FocusControl{&kFirst}, ActivateWindow{}, FocusControl{&kSecond}},
         false,
         {ActivateWindow{}, FocusControl{&kSecond}},
         &kSecond},
        {"withdrawn focus, the rest kept",
         {FocusControl{&kFirst}, MinimizeWindow{}, PopupMenu{"mnuTray"}},
         true,
         {MinimizeWindow{}, PopupMenu{"mnuTray"}},
         nullptr},
        {"withdrawing without a focus keeps everything",
         {ActivateWindow{}},
         true,
         {ActivateWindow{}},
         nullptr},
    };
    for (const QueueCase& c : cases) {
        SCOPED_TRACE(c.name);
        ViewRequests queue;
        for (const ViewRequest& request : c.added) {
            queue.Add(request);
        }
        if (c.withdrawFocus) {
            queue.Withdraw<FocusControl>();
        }
        const std::vector<ViewRequest> taken = queue.Take();
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(FocusTarget(taken), c.focus);
        EXPECT_EQ(queue.Take(), std::vector<ViewRequest>{}) << "a take empties the queue";
    }
}

TEST(ViewRequests, AddingAfterATakeStartsAfresh) {
    ViewRequests queue;
    queue.Add(FocusControl{&kFirst});
    EXPECT_EQ(FocusTarget(queue.Take()), &kFirst);
    queue.Add(ActivateWindow{});
    EXPECT_EQ(queue.Take(), std::vector<ViewRequest>{ActivateWindow{}});
}

}  // namespace
}  // namespace kestrune

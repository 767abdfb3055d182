// When the full-screen renderer gives up a screen whose keyboard is not its own.
#include "renderer/foreground_rule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using fulmina::ForegroundRule;

// Events as the window sees them: o/O a framed/full-screen opening, a the
// foreground gained, d lost, c the window being destroyed, k/K a frame that
// finds the foreground elsewhere/its own; each with a tick.
struct Event {
    char what;
    std::uint32_t tick;
};

bool endsAfter(const std::vector<Event>& events) {
    ForegroundRule rule;
    for (const Event& e : events) {
        switch (e.what) {
            case 'o': rule.opened(false, e.tick); break;
            case 'O': rule.opened(true, e.tick); break;
            case 'a': rule.activated(); break;
            case 'd': if (rule.deactivated()) return true; break;
            case 'c': rule.closed(); break;
            case 'k': case 'K': if (rule.keyboardCheck(e.what == 'K', e.tick)) return true; break;
            default: ADD_FAILURE() << "unknown event " << e.what;
        }
    }
    return false;
}

TEST(ForegroundRule, AFullScreenWindowEndsWhenTheKeyboardIsNotItsOwn) {
    const std::uint32_t wait = ForegroundRule::keyboardWaitMs;
    struct Case {
        const char* what;
        std::vector<Event> events;
        bool ends;
    } cases[] = {
        {"became active and lost it", {{'O', 0}, {'a', 10}, {'d', 5000}}, true},
        {"active through its frames", {{'O', 0}, {'a', 10}, {'k', 9000}}, false},
        {"found the foreground on a frame, then lost it", {{'O', 0}, {'K', 100}, {'d', 500}}, true},
        {"never active, within the wait", {{'O', 1000}, {'k', 1000 + wait - 1}}, false},
        {"never active, at the end of the wait", {{'O', 1000}, {'k', 1000 + wait}}, true},
        {"a deactivation before it was ever active ends nothing", {{'O', 0}, {'d', 50}}, false},
        {"its foreground late, but within the wait", {{'O', 0}, {'k', 1500}, {'K', 1900}, {'k', 60000}}, false},
        {"the wait across a tick-count wrap", {{'O', 0xFFFFFC00u}, {'k', 0x00000100u}}, false},
        {"past the wait across a wrap", {{'O', 0xFFFFFC00u}, {'k', 0x00000500u}}, true},
        {"closing: its deactivation is its own doing", {{'O', 0}, {'a', 10}, {'c', 20}, {'d', 30}}, false},
        {"closing: no wait for the keyboard", {{'O', 0}, {'c', 20}, {'k', 9000}}, false},
        {"framed: losing the foreground ends nothing", {{'o', 0}, {'a', 10}, {'d', 20}}, false},
        {"framed: never active ends nothing", {{'o', 0}, {'k', 60000}}, false},
        {"a display switch opens afresh: the new window waits again",
         {{'O', 0}, {'a', 10}, {'c', 900}, {'o', 1000}, {'c', 2000}, {'O', 2100}, {'k', 2100 + wait - 1}}, false},
        {"and ends when the new window never gets the keyboard",
         {{'O', 0}, {'a', 10}, {'c', 900}, {'O', 1000}, {'k', 1000 + wait}}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(endsAfter(c.events), c.ends) << c.what;
}

}  // namespace

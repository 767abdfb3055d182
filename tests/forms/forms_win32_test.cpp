// The forms layer on real windows under Wine: the life of forms, timers,
// windowless controls in z-order with the mouse, user controls, combo boxes
// across loads, and events that fail.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "forms/application_win32.h"
#include "forms/combo_box_win32.h"
#include "forms/form_win32.h"
#include "forms/label_win32.h"
#include "forms/user_control_win32.h"
#include "tests/support/message_pump_win32.h"

namespace {

using testing_support::pump;
using testing_support::pumpUntil;

using Log = std::vector<std::string>;

class LoggedForm : public forms::Form {
public:
    LoggedForm(Log& log, std::string name)
        : Form({L"forms test", WS_POPUP, 0, RGB(0, 0, 0)}), log(log), name(std::move(name)) {}

protected:
    void Form_Load() override { log.push_back(name + " load"); }
    void Form_QueryUnload() override { log.push_back(name + " query-unload"); }
    void Form_Unload() override { log.push_back(name + " unload"); }

private:
    Log& log;
    std::string name;
};

// A windowless control that logs its events; its hit test can leave a hole.
class Spot : public forms::Windowless {
public:
    Spot(forms::Container& c, Log& log, std::string name, RECT r, bool hole = false)
        : Windowless(c, r.left, r.top, r.right - r.left, r.bottom - r.top), log(log), name(std::move(name)), hole(hole) {}
    bool throwOnClick = false;

protected:
    bool UserControl_HitTest(int x, int) const override { return !hole || x >= 10; }
    void UserControl_Show() override { log.push_back(name + " show"); }
    void UserControl_Hide() override { log.push_back(name + " hide"); }
    void UserControl_MouseDown(int b, int, int, int) override { log.push_back(name + " down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, int, int) override { log.push_back(name + " up" + std::to_string(b)); }
    void UserControl_Click() override {
        log.push_back(name + " click");
        if (throwOnClick) throw std::runtime_error("a failing click");
    }

private:
    Log& log;
    std::string name;
    bool hole;
};

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

TEST(Forms, LoadAndUnloadRunTheirEventsInOrderAndTheLastFormEndsTheLoop) {
    Log log;
    {
        LoggedForm first(log, "first"), second(log, "second");
        ASSERT_TRUE(first.Load());
        ASSERT_TRUE(second.Load());
        EXPECT_EQ(forms::loadedFormCount(), 2);
        first.Unload();
        MSG quit;
        EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "one form is still loaded";
        SendMessageW(second.hwnd(), WM_CLOSE, 0, 0);  // the close box
        EXPECT_FALSE(second.isLoaded());
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the last form ended the loop";
    }
    EXPECT_EQ(log, (Log{"first load", "second load", "first query-unload", "first unload", "second query-unload",
                        "second unload"}));
}

TEST(Forms, ATimerNeverTicksOnceDisabledOrGone) {
    Log log;
    LoggedForm form(log, "form");
    ASSERT_TRUE(form.Load());
    int ticks = 0;
    forms::Timer timer(form, 5, true, [&] { ++ticks; });
    ASSERT_TRUE(pumpUntil([&] { return ticks > 0; }, 2000));
    timer.setEnabled(false);
    const int seen = ticks;
    pump(100);
    EXPECT_EQ(ticks, seen);

    // A timer that goes while its tick is due.
    int lateTicks = 0;
    auto late = std::make_unique<forms::Timer>(form, 1, true, [&] { ++lateTicks; });
    Sleep(20);
    late.reset();
    pump(100);
    EXPECT_EQ(lateTicks, 0);
    form.Unload();
}

// Windowless controls on a form, driven by the form's own mouse messages:
// A lies under B, and C has a hole in its hit test over A.
TEST(Forms, TheMouseGoesByZOrderAndAClickNeedsItsPressOnTheSameControl) {
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, POINT>> events;
        Log expected;
    };
    const Case cases[] = {
        {"a click on the topmost", {{WM_LBUTTONDOWN, {35, 15}}, {WM_LBUTTONUP, {35, 15}}}, {"B down1", "B up1", "B click"}},
        {"a click beside it", {{WM_LBUTTONDOWN, {5, 5}}, {WM_LBUTTONUP, {5, 5}}}, {"A down1", "A up1", "A click"}},
        {"through a hole", {{WM_LBUTTONDOWN, {72, 45}}, {WM_LBUTTONUP, {72, 45}}}, {"A down1", "A up1", "A click"}},
        {"a release without a press", {{WM_LBUTTONUP, {35, 15}}}, {}},
        {"a press on one, the release over another", {{WM_LBUTTONDOWN, {5, 5}}, {WM_LBUTTONUP, {35, 15}}},
         {"A down1", "A up1"}},
        {"a press, a drag off, the release outside", {{WM_LBUTTONDOWN, {35, 15}}, {WM_MOUSEMOVE, {150, 150}},
         {WM_LBUTTONUP, {150, 150}}}, {"B down1", "B up1"}},
        {"the right button", {{WM_RBUTTONDOWN, {35, 15}}, {WM_RBUTTONUP, {35, 15}}}, {"B down2", "B up2"}},
        {"a release of a button pressed elsewhere", {{WM_LBUTTONDOWN, {35, 15}}, {WM_RBUTTONUP, {35, 15}},
         {WM_LBUTTONUP, {35, 15}}}, {"B down1", "B up1", "B click"}},
    };
    for (const Case& c : cases) {
        Log log;
        LoggedForm form(log, "form");
        Spot a(form, log, "A", {0, 0, 100, 100});
        Spot b(form, log, "B", {30, 10, 60, 30});
        Spot hole(form, log, "C", {70, 40, 90, 60}, true);
        ASSERT_TRUE(form.Load());
        log.clear();
        for (const auto& [message, p] : c.events) {
            const WPARAM held = message == WM_LBUTTONDOWN ? MK_LBUTTON : message == WM_RBUTTONDOWN ? MK_RBUTTON : 0;
            SendMessageW(form.hwnd(), message, held, at(p.x, p.y));
            if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
                EXPECT_EQ(GetCapture(), form.hwnd()) << c.name << ": a press captures the mouse";
            }
        }
        EXPECT_EQ(log, c.expected) << c.name;
        EXPECT_NE(GetCapture(), form.hwnd()) << c.name << ": the capture ends with the last release";
        form.Unload();
    }
}

TEST(Forms, ShowingAndHidingAFormTellsItsWindowlessControls) {
    Log log;
    LoggedForm form(log, "form");
    Spot a(form, log, "A", {0, 0, 10, 10});
    form.Show();
    form.Show();  // already shown: nothing new
    form.Hide();
    form.Show();
    EXPECT_EQ(log, (Log{"form load", "A show", "A hide", "A show"}));
    form.Unload();
}

TEST(Forms, AFailingEventIsSkippedAndTheFormGoesOn) {
    Log log;
    LoggedForm form(log, "form");
    Spot a(form, log, "A", {0, 0, 50, 50});
    a.throwOnClick = true;
    ASSERT_TRUE(form.Load());
    for (int i = 0; i < 2; ++i) {
        SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
        SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, at(5, 5));
    }
    EXPECT_EQ(log, (Log{"form load", "A down1", "A up1", "A click", "A down1", "A up1", "A click"}));
    form.Unload();
}

// A user control's own mouse events, and those of its label, which takes
// only what it has handlers for.
class Pad : public forms::UserControl {
public:
    Pad(forms::Form& form, Log& log) : UserControl(form, 0, 0, 100, 40), caption(*this, 0, 0, 50, 20, "caption", forms::Label::Alignment::left), log(log) {
        caption.Click = [this] { this->log.push_back("caption click"); };
    }
    forms::Label caption;

protected:
    void UserControl_MouseDown(int b, int, double, double) override { log.push_back("pad down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, double, double) override { log.push_back("pad up" + std::to_string(b)); }

private:
    Log& log;
};

TEST(Forms, AUserControlIsToldAReleaseOnlyAfterItsPress) {
    Log log;
    LoggedForm form(log, "form");
    Pad pad(form, log);
    ASSERT_TRUE(form.Load());
    log.clear();
    const HWND w = pad.hwnd();
    ASSERT_NE(w, nullptr);
    SendMessageW(w, WM_LBUTTONUP, 0, at(80, 30));  // no press: nothing
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(80, 30));
    SendMessageW(w, WM_LBUTTONUP, 0, at(80, 30));
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));  // on the caption
    SendMessageW(w, WM_LBUTTONUP, 0, at(10, 10));
    SendMessageW(w, WM_RBUTTONUP, 0, at(80, 30));  // no press again
    EXPECT_EQ(log, (Log{"pad down1", "pad up1", "caption click"}));
    form.Unload();
}

TEST(Forms, AComboBoxKeepsItsTextAndListAcrossASecondLoad) {
    Log log;
    LoggedForm form(log, "form");
    forms::ComboBox box(form, 0, 0, 100, 20);
    box.AddItem("1");
    box.AddItem("2");
    box.setText("7");
    for (int load = 0; load < 2; ++load) {
        ASSERT_TRUE(form.Load());
        ASSERT_NE(box.hwnd(), nullptr) << "load " << load;
        EXPECT_TRUE(IsWindow(box.hwnd()));
        EXPECT_EQ(GetParent(box.hwnd()), form.hwnd());
        EXPECT_EQ(SendMessageW(box.hwnd(), CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(box.Text(), "7");
        form.Unload();
        EXPECT_EQ(box.hwnd(), nullptr) << "its window went with the form's";
    }
}

}  // namespace

// What a handler does at one step besides logging: fail, destroy its own
// control, or open a modal box (which disables the form, as a message box
// does; the button then comes up inside the box, not here).
enum class Misdeed { none, fail, destroy, modal };

struct Conduct {
    Conduct(Log* log, std::string name, std::string steps = "", Misdeed misdeed = Misdeed::none,
            std::function<void()> destroy = {}, HWND form = nullptr)
        : log(log), name(std::move(name)), steps(std::move(steps)), misdeed(misdeed), destroy(std::move(destroy)),
          form(form) {}
    Log* log;
    std::string name;
    std::string steps;  // d press, u release, c click, s show, h hide, r resize
    Misdeed misdeed;
    std::function<void()> destroy;
    HWND form;

    void operator()(char which, const std::string& what) {
        log->push_back(name + what);
        if (steps.find(which) == std::string::npos || misdeed == Misdeed::none) return;
        if (misdeed == Misdeed::fail) throw std::runtime_error("a failing handler");
        if (misdeed == Misdeed::destroy) return destroy();  // this control is gone now
        EnableWindow(form, FALSE);
        pump(20);
        EnableWindow(form, TRUE);
    }
};

class Unruly : public forms::Windowless {
public:
    Unruly(forms::Container& c, int left, Conduct conduct)
        : Windowless(c, left, 0, 20, 20), conduct(std::move(conduct)) {}

protected:
    void UserControl_MouseDown(int b, int, int, int) override { conduct('d', " down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, int, int) override { conduct('u', " up" + std::to_string(b)); }
    void UserControl_Click() override { conduct('c', " click"); }
    void UserControl_Show() override { conduct('s', " show"); }
    void UserControl_Hide() override { conduct('h', " hide"); }
    Conduct conduct;
};

class UnrulyPad : public forms::UserControl {
public:
    UnrulyPad(forms::Form& f, int left, Conduct conduct)
        : UserControl(f, left, 0, 30, 20), conduct(std::move(conduct)) {}

protected:
    void UserControl_MouseDown(int b, int, double, double) override { conduct('d', " down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, double, double) override { conduct('u', " up" + std::to_string(b)); }
    void UserControl_Resize() override { conduct('r', " resize"); }
    Conduct conduct;
};

// A click on A whose handler misbehaves, then one on B; "cap" after each
// message while a window holds the mouse.
template <typename Control>
std::string clicksAfterAMisdeed(const std::string& step, Misdeed misdeed) {
    Log log;
    LoggedForm form(log, "form");
    form.Load();
    std::unique_ptr<Control> a, b;
    a = std::make_unique<Control>(form, 0, Conduct{&log, "A", step, misdeed, [&a] { a.reset(); }, form.hwnd()});
    b = std::make_unique<Control>(form, 40, Conduct{&log, "B"});
    pump(20);
    log.clear();
    constexpr bool windowless = std::is_base_of_v<forms::Windowless, Control>;
    auto send = [&](Control* to, UINT message, WPARAM keys, int x) {
        HWND window = form.hwnd();
        if constexpr (!windowless) window = to != nullptr ? to->hwnd() : nullptr;
        if (window == nullptr) return;
        SendMessageW(window, message, keys, at(windowless && to == b.get() ? x + 40 : x, 5));
        if (GetCapture() != nullptr) log.push_back("cap");
    };
    send(a.get(), WM_LBUTTONDOWN, MK_LBUTTON, 5);
    if (!(step == "d" && misdeed == Misdeed::modal)) send(a.get(), WM_LBUTTONUP, 0, 5);
    send(b.get(), WM_LBUTTONDOWN, MK_LBUTTON, 5);
    send(b.get(), WM_LBUTTONUP, 0, 5);
    std::string out;
    for (const std::string& entry : log) out += entry + "|";
    form.Unload();
    return out;
}

TEST(Forms, AMouseHandlerThatFailsDestroysItsControlOrOpensAModalBoxLeavesTheMouseSound) {
    const std::string whole = "A down1|cap|A up1|A click|", pad = "A down1|cap|A up1|";
    struct Case {
        const char* step;
        Misdeed misdeed;
        std::string windowless, userControl;
    } cases[] = {
        {"", Misdeed::none, whole, pad},
        {"d", Misdeed::fail, whole, pad},
        {"u", Misdeed::fail, whole, pad},
        {"c", Misdeed::fail, whole, pad},
        {"d", Misdeed::destroy, "A down1|cap|", "A down1|"},
        {"u", Misdeed::destroy, "A down1|cap|A up1|", pad},
        {"c", Misdeed::destroy, whole, pad},
        {"d", Misdeed::modal, "A down1|", "A down1|"},
        {"u", Misdeed::modal, whole, pad},
        {"c", Misdeed::modal, whole, pad},
    };
    for (const Case& c : cases) {
        const int misdeed = static_cast<int>(c.misdeed);
        EXPECT_EQ(clicksAfterAMisdeed<Unruly>(c.step, c.misdeed), c.windowless + "B down1|cap|B up1|B click|")
            << "windowless, step " << c.step << ", misdeed " << misdeed;
        EXPECT_EQ(clicksAfterAMisdeed<UnrulyPad>(c.step, c.misdeed), c.userControl + "B down1|cap|B up1|")
            << "user control, step " << c.step << ", misdeed " << misdeed;
    }
}

// A user control whose GotFocus destroys it, given the focus by a left
// press: the press is told to nobody, and the next click elsewhere is whole.
TEST(Forms, AFocusHandlerThatDestroysItsUserControlEndsThatPressThere) {
    class FocusThief : public forms::UserControl {
    public:
        FocusThief(forms::Form& f, std::function<void()> gone) : UserControl(f, 0, 0, 30, 20), gone(std::move(gone)) {}

    protected:
        void UserControl_GotFocus() override { gone(); }
        void UserControl_MouseDown(int, int, double, double) override { ADD_FAILURE() << "a press told to the dead"; }
        std::function<void()> gone;
    };
    Log log;
    LoggedForm form(log, "form");
    ASSERT_TRUE(form.Load());
    // Its memory is spoilt once it is gone, so that a use after that fails.
    alignas(FocusThief) unsigned char memory[sizeof(FocusThief)];
    FocusThief* thief = nullptr;
    thief = new (memory) FocusThief(form, [&thief, &memory] {
        FocusThief* self = thief;
        unsigned char* spoilt = memory;
        thief = nullptr;
        self->~FocusThief();
        std::memset(spoilt, 0, sizeof(FocusThief));
    });
    UnrulyPad b(form, 40, Conduct{&log, "B"});
    pump(20);
    log.clear();
    SendMessageW(thief->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    ASSERT_EQ(thief, nullptr) << "the focus never came";
    SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, at(5, 5));
    EXPECT_EQ(log, (Log{"B down1", "B up1"}));
    EXPECT_EQ(GetCapture(), nullptr);
    form.Unload();
}

// A's show and hide destroy C and make a new control in its memory, as an
// allocator may give it out again at once: neither is told.
TEST(Forms, AShowOrHideHandlerThatDestroysAnotherControlLeavesItUntold) {
    Log log;
    LoggedForm form(log, "form");
    alignas(Unruly) unsigned char memory[sizeof(Unruly)];
    auto* victim = reinterpret_cast<Unruly*>(memory);
    int made = 0;
    auto replace = [&] {
        victim->~Unruly();
        new (victim) Unruly(form, 60, Conduct{&log, "new" + std::to_string(++made)});
    };
    Unruly a(form, 0, Conduct{&log, "A", "sh", Misdeed::destroy, replace});
    new (victim) Unruly(form, 60, Conduct{&log, "C"});
    form.Show();
    form.Hide();
    EXPECT_EQ(log, (Log{"form load", "A show", "A hide"}));
    victim->~Unruly();
    form.Unload();
}

TEST(Forms, AUserControlMadeAfterItsFormLoadedGetsItsFirstResize) {
    Log log;
    LoggedForm form(log, "form");
    UnrulyPad early(form, 0, Conduct{&log, "early"});
    ASSERT_TRUE(form.Load());
    UnrulyPad late(form, 40, Conduct{&log, "late"});
    pump(50);
    EXPECT_EQ(log, (Log{"early resize", "form load", "late resize"}));
    form.Unload();
}

// A WM_TIMER taken from the queue before its timer went, dispatched once a
// new timer lives at the same address, is not the new timer's tick.
TEST(Forms, AStaleTimerMessageDoesNotReachANewTimerAtTheSameAddress) {
    MSG stale;  // first the quits left by the forms of the tests before
    while (PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Log log;
    LoggedForm form(log, "form"), other(log, "other");
    ASSERT_TRUE(form.Load() && other.Load());
    forms::Timer keepsTheCallbackKnown(other, 60000, true, [] {});
    for (const auto& [host, enabled] :
         {std::pair<forms::Form*, bool>{&other, true}, {&form, false}, {&form, true}}) {
        alignas(forms::Timer) unsigned char memory[sizeof(forms::Timer)];
        int ticks = 0;
        auto* timer = new (memory) forms::Timer(form, 1, true, [&] { ++ticks; });
        const DWORD start = GetTickCount();
        while (!PeekMessageW(&stale, form.hwnd(), WM_TIMER, WM_TIMER, PM_REMOVE) && GetTickCount() - start < 2000)
            Sleep(2);
        ASSERT_EQ(stale.message, static_cast<UINT>(WM_TIMER));
        timer->~Timer();
        Sleep(20);  // the new timer starts after the stale tick was made
        timer = new (memory) forms::Timer(*host, 60000, enabled, [&] { ++ticks; });
        DispatchMessageW(&stale);
        EXPECT_EQ(ticks, 0) << (host != &form ? "on another window"
                                : enabled   ? "on the same window, running"
                                            : "on the same window, not enabled");
        timer->~Timer();
    }
    form.Unload();
    other.Unload();
}

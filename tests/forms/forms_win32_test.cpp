// The forms layer on real windows under Wine: the life of forms, timers,
// windowless controls in z-order with the mouse, user controls, combo boxes
// across loads, and events that fail.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
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

// What a handler of the mouse may do besides its work: fail, destroy its own
// control, or open a modal box (which disables the form, as a message box
// does, while the button is released in the box).
enum class Misdeed { none, fail, destroy, modal };

void openModalBox(HWND form) {
    HWND box = CreateWindowExW(0, L"Static", L"box", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, form, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    EnableWindow(form, FALSE);
    pump(20);
    EnableWindow(form, TRUE);
    DestroyWindow(box);
}

// A windowless control whose handler for one step misbehaves.
class Unruly : public forms::Windowless {
public:
    Unruly(forms::Container& c, Log& log, std::string name, int left, std::unique_ptr<Unruly>* self)
        : Windowless(c, left, 0, 20, 20), log(log), name(std::move(name)), self(self) {}
    char step = 0;  // 'd' down, 'u' up, 'c' click
    Misdeed misdeed = Misdeed::none;

protected:
    void UserControl_MouseDown(int b, int, int, int) override { event('d', " down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, int, int) override { event('u', " up" + std::to_string(b)); }
    void UserControl_Click() override { event('c', " click"); }
    void UserControl_Show() override { log.push_back(name + " show"); }
    void UserControl_Hide() override { log.push_back(name + " hide"); }

private:
    void event(char which, const std::string& what) {
        log.push_back(name + what);
        if (which != step) return;
        switch (misdeed) {
            case Misdeed::fail: throw std::runtime_error("a failing handler");
            case Misdeed::destroy: self->reset(); return;  // this control is gone now
            case Misdeed::modal: openModalBox(containerWindow()); return;
            case Misdeed::none: return;
        }
    }
    Log& log;
    std::string name;
    std::unique_ptr<Unruly>* self;
};

struct MisdeedCase {
    const char* name;
    char step;
    Misdeed misdeed;
    Log expected;
};

// After each message: "cap" while a window of the test holds the mouse.
void send(Log& log, HWND window, UINT message, WPARAM keys, LPARAM at) {
    if (!IsWindow(window)) return;
    SendMessageW(window, message, keys, at);
    if (GetCapture() != nullptr) log.push_back("cap");
}

TEST(Forms, AWindowlessHandlerThatFailsDestroysItsControlOrOpensAModalBoxLeavesTheMouseSound) {
    const Log whole{"A down1", "cap", "A up1", "A click", "B down1", "cap", "B up1", "B click"};
    const Log clickB{"B down1", "cap", "B up1", "B click"};
    auto then = [&](Log head) {
        head.insert(head.end(), clickB.begin(), clickB.end());
        return head;
    };
    const MisdeedCase cases[] = {
        {"nothing odd", 0, Misdeed::none, whole},
        {"the press fails", 'd', Misdeed::fail, whole},
        {"the release fails", 'u', Misdeed::fail, whole},
        {"the click fails", 'c', Misdeed::fail, whole},
        {"the press destroys its control", 'd', Misdeed::destroy, then({"A down1", "cap"})},
        {"the release destroys its control", 'u', Misdeed::destroy, then({"A down1", "cap", "A up1"})},
        {"the click destroys its control", 'c', Misdeed::destroy, whole},
        {"the press opens a modal box", 'd', Misdeed::modal, then({"A down1"})},
        {"the release opens a modal box", 'u', Misdeed::modal, whole},
        {"the click opens a modal box", 'c', Misdeed::modal, whole},
    };
    for (const MisdeedCase& c : cases) {
        Log log;
        LoggedForm form(log, "form");
        std::unique_ptr<Unruly> a, b;
        a = std::make_unique<Unruly>(form, log, "A", 0, &a);
        b = std::make_unique<Unruly>(form, log, "B", 40, &b);
        a->step = c.step;
        a->misdeed = c.misdeed;
        ASSERT_TRUE(form.Load());
        log.clear();
        const HWND w = form.hwnd();
        send(log, w, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
        // After a modal box the button came up inside the box.
        if (!(c.step == 'd' && c.misdeed == Misdeed::modal)) send(log, w, WM_LBUTTONUP, 0, at(5, 5));
        send(log, w, WM_LBUTTONDOWN, MK_LBUTTON, at(45, 5));
        send(log, w, WM_LBUTTONUP, 0, at(45, 5));
        EXPECT_EQ(log, c.expected) << c.name;
        form.Unload();
    }
}

// A user control whose own handler for one step misbehaves.
class UnrulyPad : public forms::UserControl {
public:
    UnrulyPad(forms::Form& form, Log& log, std::string name, int left, std::unique_ptr<UnrulyPad>* self)
        : UserControl(form, left, 0, 30, 20), log(log), name(std::move(name)), self(self) {}
    char step = 0;
    Misdeed misdeed = Misdeed::none;

protected:
    void UserControl_MouseDown(int b, int, double, double) override { event('d', " down" + std::to_string(b)); }
    void UserControl_MouseUp(int b, int, double, double) override { event('u', " up" + std::to_string(b)); }

private:
    void event(char which, const std::string& what) {
        log.push_back(name + what);
        if (which != step) return;
        switch (misdeed) {
            case Misdeed::fail: throw std::runtime_error("a failing handler");
            case Misdeed::destroy: self->reset(); return;
            case Misdeed::modal: openModalBox(container().hwnd()); return;
            case Misdeed::none: return;
        }
    }
    Log& log;
    std::string name;
    std::unique_ptr<UnrulyPad>* self;
};

TEST(Forms, AUserControlHandlerThatFailsDestroysItsControlOrOpensAModalBoxLeavesTheMouseSound) {
    const Log clickB{"B down1", "cap", "B up1"};
    auto then = [&](Log head) {
        head.insert(head.end(), clickB.begin(), clickB.end());
        return head;
    };
    const Log whole = then({"A down1", "cap", "A up1"});
    const MisdeedCase cases[] = {
        {"nothing odd", 0, Misdeed::none, whole},
        {"the press fails", 'd', Misdeed::fail, whole},
        {"the release fails", 'u', Misdeed::fail, whole},
        {"the press destroys its control", 'd', Misdeed::destroy, then({"A down1"})},
        {"the release destroys its control", 'u', Misdeed::destroy, whole},
        {"the press opens a modal box", 'd', Misdeed::modal, then({"A down1"})},
        {"the release opens a modal box", 'u', Misdeed::modal, whole},
    };
    for (const MisdeedCase& c : cases) {
        Log log;
        LoggedForm form(log, "form");
        ASSERT_TRUE(form.Load());
        std::unique_ptr<UnrulyPad> a, b;
        a = std::make_unique<UnrulyPad>(form, log, "A", 0, &a);
        b = std::make_unique<UnrulyPad>(form, log, "B", 40, &b);
        a->step = c.step;
        a->misdeed = c.misdeed;
        log.clear();
        const HWND aw = a->hwnd(), bw = b->hwnd();
        send(log, aw, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
        if (!(c.step == 'd' && c.misdeed == Misdeed::modal)) send(log, aw, WM_LBUTTONUP, 0, at(5, 5));
        send(log, bw, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
        send(log, bw, WM_LBUTTONUP, 0, at(5, 5));
        EXPECT_EQ(log, c.expected) << c.name;
        form.Unload();
    }
}

// A control whose show and hide destroy another control and make a new one
// in its memory, as an allocator may give it out again at once.
class Replacer : public forms::Windowless {
public:
    Replacer(forms::Container& form, Log& log, Unruly* victim)
        : Windowless(form, 0, 0, 1, 1), form(form), log(log), victim(victim) {}

protected:
    void UserControl_Show() override { replace(); }
    void UserControl_Hide() override { replace(); }

private:
    void replace() {
        victim->~Unruly();
        new (victim) Unruly(form, log, "new" + std::to_string(++made), 60, nullptr);
    }
    forms::Container& form;
    Log& log;
    Unruly* victim;
    int made = 0;
};

TEST(Forms, AShowOrHideHandlerThatDestroysAnotherControlLeavesItUntold) {
    Log log;
    LoggedForm form(log, "form");
    alignas(Unruly) unsigned char memory[sizeof(Unruly)];
    Unruly a(form, log, "A", 0, nullptr);
    Replacer replacer(form, log, reinterpret_cast<Unruly*>(memory));  // before the victim in z-order
    auto* victim = new (memory) Unruly(form, log, "C", 60, nullptr);
    form.Show();
    form.Hide();
    EXPECT_EQ(log, (Log{"form load", "A show", "A hide"})) << "told a control made during the show, or a gone one";
    victim->~Unruly();
    form.Unload();
}

// A user control made when its form is already loaded.
class Sized : public forms::UserControl {
public:
    Sized(forms::Form& form, int& resizes) : UserControl(form, 0, 0, 30, 20), resizes(resizes) {}

protected:
    void UserControl_Resize() override { ++resizes; }

private:
    int& resizes;
};

TEST(Forms, AUserControlMadeAfterItsFormLoadedGetsItsFirstResize) {
    Log log;
    LoggedForm form(log, "form");
    int early = 0, late = 0;
    Sized before(form, early);
    ASSERT_TRUE(form.Load());
    Sized after(form, late);
    pump(50);
    EXPECT_EQ(early, 1);
    EXPECT_EQ(late, 1);
    form.Unload();
}

// A WM_TIMER taken from the queue before its timer went, dispatched once a
// new timer lives at the same address, is not the new timer's tick.
TEST(Forms, AStaleTimerMessageDoesNotReachANewTimerAtTheSameAddress) {
    MSG quit;  // left by the forms of the tests before, which a peek returns whatever it asks for
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    Log log;
    LoggedForm form(log, "form"), other(log, "other");
    ASSERT_TRUE(form.Load());
    ASSERT_TRUE(other.Load());
    forms::Timer keepsTheCallbackKnown(other, 60000, true, [] {});
    struct Case {
        const char* name;
        forms::TimerHost* host;
        bool enabled;
    };
    const Case cases[] = {{"on another window", &other, true}, {"on the same window, not enabled", &form, false}};
    for (const Case& c : cases) {
        alignas(forms::Timer) unsigned char storage[sizeof(forms::Timer)];
        int oldTicks = 0, newTicks = 0;
        auto* old = new (storage) forms::Timer(form, 1, true, [&] { ++oldTicks; });
        MSG stale{};
        const DWORD start = GetTickCount();
        while (!PeekMessageW(&stale, form.hwnd(), WM_TIMER, WM_TIMER, PM_REMOVE) && GetTickCount() - start < 2000)
            Sleep(2);
        ASSERT_EQ(stale.message, static_cast<UINT>(WM_TIMER)) << c.name;
        old->~Timer();
        auto* fresh = new (storage) forms::Timer(*c.host, 60000, c.enabled, [&] { ++newTicks; });
        DispatchMessageW(&stale);
        EXPECT_EQ(newTicks, 0) << c.name;
        EXPECT_EQ(oldTicks, 0) << c.name;
        fresh->~Timer();
    }
    form.Unload();
    other.Unload();
}

#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/memory_bitmap_win32.h"
#include "forms/font_description.h"
#include "forms/label_win32.h"
#include "forms/timer_win32.h"
#include "forms/user_control_win32.h"
#include "host/settings/command_states.h"

namespace fulmina {

// The owner-drawn push button of the settings dialog ("Fulmina.Command"): a
// vertical white-to-lavender gradient framed by one of six skin pictures, a
// centred caption, hover and focus looks, and Click on a button's release.
// Its behaviour is CommandStates; this side draws the face and routes the
// window's messages to it.
class Command : public forms::UserControl {
public:
    Command(forms::Form& container, int left, int top, int width, int height);

    void Initialize();

    // Visible: 255 when the face is shown (the background opaque), 0 when not.
    std::uint8_t Visible();
    void setVisible(std::uint8_t value);
    COLORREF FontColour();
    void setFontColour(COLORREF colour);
    bool Enabled();
    void setEnabled(bool value);
    std::string Caption() const { return LblMsg.Caption(); }
    void setCaption(const std::string& text);
    forms::FontDescription Font() const { return LblMsg.Font(); }
    void setFont(const forms::FontDescription& font);

    std::function<void()> Click;

    // The fields, as the state machine holds them.
    const CommandStates& fields() const { return states; }

    // The design-time caption font.
    static forms::FontDescription designFont();

    // One tick of the pointer-leave poll (TmrMouse runs it every 100 ms).
    void TmrMouse_Timer();

protected:
    void UserControl_Resize() override;
    void UserControl_GotFocus() override;
    void UserControl_LostFocus() override;
    void UserControl_MouseDown(int button, int shift, double x, double y) override;
    void UserControl_MouseMove(int button, int shift, double x, double y) override;
    void UserControl_MouseUp(int button, int shift, double x, double y) override;
    void UserControl_ReadProperties(const forms::PropertyBag& bag) override;
    void UserControl_WriteProperties(forms::PropertyBag& bag) override;

private:
    void run(const CommandReaction& reaction);
    void DrawSkin(Skin skin);
    void FillGradient();
    void RefreshFace() { run(states.RefreshFace()); }

    CommandStates states;
    forms::Label LblMsg;
    forms::Timer TmrMouse;
    // The hidden image holders: Normal, HighLight, Selected, HighLightSelect,
    // Pressed, Disable; each kept selected in a DC of its own to copy from.
    std::array<handles::MemoryBitmap, 6> skins;
    bool opaque = true;  // the background style that Visible stands for
};

}  // namespace fulmina

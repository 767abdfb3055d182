#pragma once
// The command button's behaviour, apart from Windows: its fields, its state
// machine, and what each event asks of the window (the skin pictures to draw,
// the caption's look, Click). The window side only draws and routes messages.
#include <cstdint>
#include <optional>
#include <vector>

namespace fulmina {

// The six skin pictures that frame a face.
enum class Skin { Normal, HighLight, Selected, HighLightSelect, Pressed, Disable };

// Mouse buttons as the events carry them.
constexpr int leftButton = 1;
constexpr int rightButton = 2;
constexpr int middleButton = 4;

// What one event asks of the window: set the caption colour to black, enable
// or disable the caption, draw each skin in turn (a whole face repaint with
// the caption over it), then raise Click.
struct CommandReaction {
    std::vector<Skin> draws;
    bool captionBlack = false;
    std::optional<bool> captionEnabled;
    bool click = false;
};

class CommandStates {
public:
    bool Enabled = false;        // a fresh button; loading from a bag enables it by default
    std::uint8_t FirstRun = 0;   // 0 until first initialised or saved
    std::uint8_t ButtonState = 0;  // 1 idle, 2 hovered, 3 focused, 4 focused and hovered; 0 before Initialize
    bool MouseIsDown = false;
    bool HoverLook = false;      // the gradient's direction

    void Initialize() { ButtonState = 1; }

    // The state machine; each does nothing while the button is disabled.
    CommandReaction MouseMove();
    CommandReaction MouseDown(int button);
    // over: released over the button; a release elsewhere is no Click.
    CommandReaction MouseUp(int button, bool over);
    CommandReaction GotFocus();
    CommandReaction LostFocus();
    CommandReaction MouseHasLeft();
    // A resize, enabled or not.
    CommandReaction Resize() { return ApplyEnabledLook(); }

    // Reading Enabled: a button never initialised or saved becomes enabled
    // here. The value read is Enabled afterwards.
    CommandReaction ReadEnabled();
    CommandReaction WriteEnabled(bool value);

    CommandReaction ApplyEnabledLook();
    CommandReaction RefreshFace();

private:
    // Every draw sets the gradient's direction from the state first.
    void draw(CommandReaction& reaction, Skin skin);
};

}  // namespace fulmina

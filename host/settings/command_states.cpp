#include "host/settings/command_states.h"

namespace fulmina {

void CommandStates::draw(CommandReaction& reaction, Skin skin) {
    if (ButtonState == 1) HoverLook = false;
    if (ButtonState == 2) HoverLook = true;
    if (ButtonState == 3) HoverLook = false;
    reaction.draws.push_back(skin);
}

CommandReaction CommandStates::MouseMove() {
    CommandReaction r;
    if (!Enabled) return r;
    if (ButtonState == 1) {
        ButtonState = 2;
        draw(r, Skin::HighLight);
    }
    if (ButtonState == 3 && !MouseIsDown) {
        ButtonState = 4;
        draw(r, Skin::HighLightSelect);
    }
    return r;
}

CommandReaction CommandStates::MouseDown(int button) {
    CommandReaction r;
    if (!Enabled || button != leftButton) return r;
    MouseIsDown = true;
    draw(r, Skin::Pressed);
    return r;
}

CommandReaction CommandStates::MouseUp(int button, bool over) {
    CommandReaction r;
    if (!Enabled) return r;
    if (button == leftButton) {
        MouseIsDown = false;
        if (ButtonState == 2) draw(r, Skin::Normal);
        if (ButtonState == 4) draw(r, Skin::HighLightSelect);
    }
    if (ButtonState != 3 && Enabled && over) r.click = true;
    return r;
}

CommandReaction CommandStates::GotFocus() {
    CommandReaction r;
    if (!Enabled) return r;
    if (ButtonState != 2) {
        ButtonState = 3;
        draw(r, Skin::Selected);
    }
    if (ButtonState == 2) {
        ButtonState = 4;
        draw(r, Skin::Pressed);
    }
    return r;
}

CommandReaction CommandStates::LostFocus() {
    CommandReaction r;
    if (!Enabled) return r;
    if (ButtonState != 1) {
        ButtonState = 1;
        draw(r, Skin::Normal);
    }
    return r;
}

CommandReaction CommandStates::MouseHasLeft() {
    CommandReaction r;
    if (!Enabled) return r;
    if (ButtonState == 2) {
        ButtonState = 1;
        draw(r, Skin::Normal);
    }
    if (ButtonState == 4) {
        ButtonState = 3;
        draw(r, Skin::Selected);
    }
    return r;
}

CommandReaction CommandStates::ApplyEnabledLook() {
    CommandReaction r;
    draw(r, Enabled ? Skin::Normal : Skin::Disable);
    r.captionEnabled = Enabled;
    return r;
}

CommandReaction CommandStates::RefreshFace() {
    CommandReaction r;
    if (!Enabled) return r;
    r.captionEnabled = true;
    r.captionBlack = FirstRun == 0;
    draw(r, Skin::Normal);
    return r;
}

CommandReaction CommandStates::ReadEnabled() {
    CommandReaction r;
    if (FirstRun == 0) {
        r = RefreshFace();
        FirstRun = 1;
        Enabled = true;
    }
    const CommandReaction look = ApplyEnabledLook();
    r.draws.insert(r.draws.end(), look.draws.begin(), look.draws.end());
    r.captionEnabled = look.captionEnabled;
    return r;
}

CommandReaction CommandStates::WriteEnabled(bool value) {
    Enabled = value;
    return ApplyEnabledLook();
}

}  // namespace fulmina

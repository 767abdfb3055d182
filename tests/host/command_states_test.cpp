// The command button's behaviour as event sequences: the state, the faces
// drawn and the clicks they leave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/settings/command_face.h"
#include "host/settings/command_states.h"

namespace {

using namespace fulmina;

// Events: m move, d/u left down/up, D/U right down/up (o/O: the left or
// right button released away from the button), f focus gained, l focus
// lost, x pointer left, r resize.
struct Outcome {
    int state;
    std::string faces;  // one letter a draw: N H S X P D (X: HighLightSelect)
    int clicks;
    bool hoverLook;
};

Outcome play(CommandStates& b, const std::string& events) {
    Outcome out{0, "", 0, false};
    const char letters[] = {'N', 'H', 'S', 'X', 'P', 'D'};
    for (char e : events) {
        CommandReaction r;
        switch (e) {
            case 'm': r = b.MouseMove(); break;
            case 'd': r = b.MouseDown(leftButton); break;
            case 'u': r = b.MouseUp(leftButton, true); break;
            case 'o': r = b.MouseUp(leftButton, false); break;
            case 'D': r = b.MouseDown(rightButton); break;
            case 'U': r = b.MouseUp(rightButton, true); break;
            case 'O': r = b.MouseUp(rightButton, false); break;
            case 'f': r = b.GotFocus(); break;
            case 'l': r = b.LostFocus(); break;
            case 'x': r = b.MouseHasLeft(); break;
            case 'r': r = b.Resize(); break;
            default: ADD_FAILURE() << "no event " << e;
        }
        for (Skin s : r.draws) out.faces += letters[static_cast<int>(s)];
        out.clicks += r.click;
    }
    out.state = b.ButtonState;
    out.hoverLook = b.HoverLook;
    return out;
}

CommandStates initialised() {
    CommandStates b;
    b.Enabled = true;
    b.FirstRun = 1;
    b.Initialize();
    return b;
}

TEST(CommandStates, EventSequencesGiveTheStatesFacesAndClicksOfTheTable) {
    struct Case {
        const char* what;
        const char* events;
        Outcome expected;
    } cases[] = {
        {"hover, then press with focus arriving, release", "mfdu", {4, "HPPX", 1, true}},
        {"press with focus, drag off, release outside", "mfdxmu", {3, "HPPS", 0, false}},
        {"never focused: press, drag off, release outside", "mdxo", {1, "HPN", 0, false}},
        {"right button over a hovered button", "mDU", {2, "H", 1, true}},
        {"right button pressed, dragged off, released outside", "mDxO", {1, "HN", 0, false}},
        {"right button released outside a focused button", "fmDxO", {3, "SXS", 0, false}},
        {"release in state 2 paints Normal and stays hovered", "mdu", {2, "HPN", 1, true}},
        {"... the hovered look returns only after leaving and re-entering", "mdumxm", {2, "HPNNH", 1, true}},
        {"focus lost while hovered", "mfl", {1, "HPN", 0, false}},
        {"... the next move hovers again", "mflm", {2, "HPNH", 0, true}},
        {"focus on an unhovered button", "f", {3, "S", 0, false}},
        {"focused, then hovered: the gradient keeps its direction", "fm", {4, "SX", 0, false}},
        {"focused and hovered, pointer leaves", "fmx", {3, "SXS", 0, false}},
        {"a move while pressed does not bring state 4 back", "fmdxm", {3, "SXPS", 0, false}},
        {"resize while focused and hovered shows Normal, state kept", "fmr", {4, "SXN", 0, false}},
        {"moves in a stable state draw nothing", "mmmm", {2, "H", 0, true}},
        {"leaving an idle button draws nothing", "x", {1, "", 0, false}},
    };
    for (const Case& c : cases) {
        CommandStates b = initialised();
        const Outcome got = play(b, c.events);
        EXPECT_EQ(got.state, c.expected.state) << c.what;
        EXPECT_EQ(got.faces, c.expected.faces) << c.what;
        EXPECT_EQ(got.clicks, c.expected.clicks) << c.what;
        EXPECT_EQ(got.hoverLook, c.expected.hoverLook) << c.what;
    }
}

TEST(CommandStates, BeforeInitializeOnlyFocusMovesTheState) {
    CommandStates b;
    b.Enabled = true;
    EXPECT_EQ(play(b, "mx").state, 0);
    EXPECT_EQ(play(b, "f").state, 3);
}

TEST(CommandStates, ADisabledButtonIgnoresEverythingButShowsDisableOnResize) {
    CommandStates b = initialised();
    b.Enabled = false;
    const Outcome got = play(b, "mfdUuxl");
    EXPECT_EQ(got.state, 1);
    EXPECT_EQ(got.faces, "");
    EXPECT_EQ(got.clicks, 0);
    const CommandReaction r = b.Resize();
    ASSERT_EQ(r.draws.size(), 1u);
    EXPECT_EQ(r.draws[0], Skin::Disable);
    EXPECT_EQ(r.captionEnabled, false);
}

TEST(CommandStates, TheFirstReadingOfEnabledMakesANeverSavedButtonEnabledWithABlackCaption) {
    CommandStates fresh;
    const CommandReaction first = fresh.ReadEnabled();
    EXPECT_TRUE(fresh.Enabled);
    EXPECT_EQ(fresh.FirstRun, 1);
    EXPECT_EQ(first.draws, (std::vector<Skin>{Skin::Normal}));  // RefreshFace did nothing while disabled
    EXPECT_EQ(first.captionEnabled, true);
    // A loaded button that was never saved goes through RefreshFace too.
    CommandStates loaded;
    loaded.Enabled = true;
    const CommandReaction r = loaded.ReadEnabled();
    EXPECT_TRUE(r.captionBlack);
    EXPECT_EQ(r.draws, (std::vector<Skin>{Skin::Normal, Skin::Normal}));
    EXPECT_FALSE(loaded.ReadEnabled().captionBlack);
}

TEST(CommandFace, EightPiecesInTwipsAndPixelsForAnEightyOneByTwentyFiveFace) {
    const auto pieces = skinPieces(81 * 15, 25 * 15);
    const FaceRect expected[8][2] = {
        {{0, 0, 4, 4}, {0, 0, 4, 4}},     {{4, 0, 73, 4}, {4, 0, 56, 4}},  {{77, 0, 4, 4}, {60, 0, 4, 4}},
        {{77, 4, 4, 17}, {60, 4, 4, 17}}, {{77, 21, 4, 4}, {60, 21, 4, 4}}, {{4, 21, 73, 4}, {4, 21, 56, 4}},
        {{0, 21, 4, 4}, {0, 21, 4, 4}},   {{0, 4, 4, 17}, {0, 4, 4, 17}},
    };
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(pieces[i]) << i;
        EXPECT_EQ(toPixels(pieces[i]->destination, 15, 15), expected[i][0]) << "piece " << i;
        EXPECT_EQ(toPixels(pieces[i]->source, 15, 15), expected[i][1]) << "piece " << i;
    }
    EXPECT_EQ(pieces[1]->destination, (FaceRect{60, 1, 1215 - 120, 60}));
}

TEST(CommandFace, PiecesBeyondSixteenBitsAreLeftOut) {
    const auto pieces = skinPieces(40000, 375);
    EXPECT_TRUE(pieces[0]);   // the left corner still fits
    EXPECT_FALSE(pieces[2]);  // the right ones do not
    EXPECT_FALSE(pieces[1]);  // nor the width of the top edge
}

TEST(CommandFace, ColourTextsGiveSixteenBitChannels) {
    const auto white = gradientColour(gradientTop);
    const auto lavender = gradientColour(gradientBottom);
    ASSERT_TRUE(white && lavender);
    EXPECT_EQ(white->red, 0xFF00);
    EXPECT_EQ(lavender->red, 0xC600);
    EXPECT_EQ(lavender->green, 0xC500);
    EXPECT_EQ(lavender->blue, 0xD700);
    for (const char* bad : {"", "&HFFFFF", "#FFFFFF", "&HFFFFFG", "&HFFFFFFF"}) EXPECT_FALSE(gradientColour(bad)) << bad;
    EXPECT_DOUBLE_EQ(captionTop(375, 180), 87.5);
}

}  // namespace

#pragma once
// Runs the renderer's frame sequence off-screen from a fixed sequence of
// elapsed times, as the renderer's loop would, and keeps chosen frames.
#include <map>
#include <set>

#include "renderer/crt_rand.h"
#include "renderer/frame.h"
#include "renderer/renderer_state.h"
#include "renderer/strike_scene.h"
#include "tests/renderer/support/offscreen.h"

namespace offscreen {

inline std::map<int, Picture> renderFrames(Context& context, int width, int height, int lastFrame,
                                           float msPerFrame, const std::set<int>& keep) {
    fulmina::rendererState = {};
    fulmina::StrikeScene scene;
    fulmina::FrameContext frame;
    frame.scene = &scene;
    fulmina::KeyTable keys{};
    fulmina::frameSetup(frame, keys);
    fulmina::setProjection(width, height);
    std::map<int, Picture> kept;
    for (int f = 1; f <= lastFrame; ++f) {
        fulmina::frameUpdate(frame, static_cast<std::uint32_t>(msPerFrame));
        fulmina::frameDraw(frame);
        if (keep.count(f)) kept[f] = context.read();
    }
    return kept;
}

// The reference picture's scenario: a spinning scene at frame 120.
constexpr int referenceWidth = 256;
constexpr int referenceHeight = 192;
constexpr int referenceFrame = 120;
constexpr float referenceMs = 16;

}  // namespace offscreen

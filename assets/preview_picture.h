#pragma once
#include <cstdint>
#include <vector>

namespace fulmina::assets {

constexpr int previewWidth = 152;
constexpr int previewHeight = 112;

// The still of the saver for the control panel's preview pane: a bright
// blue-white glow in the middle of a dark blue background, with thin
// violet-white lightning strokes branching out of it. RGB, rows top-down.
std::vector<std::uint8_t> makePreviewPicture();

}  // namespace fulmina::assets

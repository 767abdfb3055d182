#pragma once
// Start-up: the host's process entry and its mode dispatch.

namespace fulmina {

// Decides in one pass what this process is: the saver, the preview in the
// control panel's pane, the settings, or nothing.
void Main();

}  // namespace fulmina

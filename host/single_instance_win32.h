#pragma once
// One saver at a time, and nothing beside a settings dialog, whatever the
// timing of the starts: the look-up of the captions cannot see a window that
// is not made yet. The saver and the settings dialog each hold a named object
// of this log-on session from the start of their process to its end.

namespace fulmina {

// False when a start in this mode must give way, silently as for the
// captions: to a settings dialog (every mode), or to a saver (a saver). A
// saver or a settings dialog that may run takes its object here. An object
// that cannot be made is skipped, as a failing step is.
bool claimSingleInstance(char mode);

}  // namespace fulmina

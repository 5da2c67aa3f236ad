#pragma once
// Where the records live: the running game's journal is state (worth keeping, not worth
// backing up), the statistics are the player's data.
#include <QString>

namespace torvella::records {

// $XDG_STATE_HOME/torvella, or ~/.local/state/torvella when the variable is unset or
// not an absolute path.
QString StateFolder();
// $XDG_DATA_HOME/torvella, or ~/.local/share/torvella likewise.
QString DataFolder();

} // namespace torvella::records

#pragma once

class QWidget;

namespace audio {

// Shows the player's wave errors (NotifyWaveError) in a message box that does not block: the
// box is shown and the call returns, so the playout's tick and its automation go on while the
// message waits for the operator. Each box deletes itself when closed. `owner` (may be null)
// is the box's parent. UI thread only.
void InstallWaveErrorBox(QWidget* owner);

}  // namespace audio

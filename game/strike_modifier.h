// The modifier key that strikes for player 1 beside X and K on the whole keyboard: Ctrl
// on the desktop; none (0) in a browser, which keeps Ctrl, Alt and the Mac's Command key
// for its own shortcuts (Ctrl+W closes the tab, Ctrl+S and Ctrl+P open dialogs). Each
// build chooses its file.
#pragma once

namespace binding {
extern const int kStrikeModifier;
}  // namespace binding

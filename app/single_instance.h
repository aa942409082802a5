#pragma once

class QWidget;

namespace quorvane {

// One panel per user and desktop session: the panel has no taskbar button, so
// a user who has lost it behind other windows starts it again. Called once
// the QApplication exists and before any window is made: true where another
// panel of this user's session runs, which has been asked to come to the
// front; this process then ends at once with status 0, having drawn nothing.
// Where the platform offers no way to tell (no session bus), false: the
// program runs as if it were the only one.
bool HandedOverToRunningPanel();

// From now on a later start brings `panel` to the front, as it stands: its
// place, its province and everything else unchanged.
void ComeToFrontOnRequest(QWidget& panel);

// What a later start's request does (each platform's file calls it); nothing
// before the panel is made, which then comes to the front by itself.
void BringPanelToFront();

} // namespace quorvane

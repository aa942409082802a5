#pragma once

namespace quorvane {

class AboutWindowRef;
class Form1;

// The About window follows the main window: "?" shows it, and the main
// window's activation hides it, building it (hidden and centred) the first
// time, when the main window is first shown.
void LinkAboutWindow(Form1& main, AboutWindowRef& about);

} // namespace quorvane

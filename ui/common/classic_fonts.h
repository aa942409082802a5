#pragma once

namespace quorvane {

// The window is designed in "MS Sans Serif" and "Arial Narrow". Where those
// are missing (Linux), map them to the metric-close Liberation fonts so sizes
// and alignments hold. Call once before the first window is built.
void InstallClassicFontSubstitutes();

} // namespace quorvane

#pragma once

#include <QFont>
#include <QString>

namespace quorvane {

// The window is designed in "MS Sans Serif" and "Arial Narrow". Where those
// are missing (Linux), map them to the metric-close Liberation fonts so sizes
// and alignments hold. Call once before the first window is built.
void InstallClassicFontSubstitutes();

// A font of the design: family, point size, regular or bold.
QFont ClassicFont(const QString& family, qreal points, bool bold = false);

// Both windows' default font: "MS Sans Serif", 8.25 points, regular.
QFont ClassicDefaultFont();

} // namespace quorvane

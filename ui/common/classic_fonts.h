#pragma once

#include <QFont>
#include <QString>

namespace quorvane {

// The window is designed in "MS Sans Serif" and "Arial Narrow". Maps them to
// what the system has, so sizes and alignments hold: on Linux the
// metric-compatible Liberation fonts; on Windows, where "MS Sans Serif" is a
// bitmap font of a few fixed sizes, its scalable TrueType cut, and Arial where
// Arial Narrow (which comes with Office) is missing. Where a family is missing
// all the same, a sans-serif face stands in, never the system's default, which
// may be serif; so too for the families Windows names for its own text, which
// tool tips use. Call once before the first window is built.
void InstallClassicFontSubstitutes();

// A font of the design: family, point size, regular or bold.
QFont ClassicFont(const QString& family, qreal points, bool bold = false);

// Both windows' default font: "MS Sans Serif", 8.25 points, regular.
QFont ClassicDefaultFont();

// The family asked for where the design says "MS Sans Serif" (one file per
// system: classic_fonts_win.cpp, classic_fonts_unix.cpp).
QString SansSerifFamilyOnThisSystem();

} // namespace quorvane

#include "ui/common/classic_fonts.h"

namespace quorvane {

// The metric-compatible Liberation fonts stand in for the design's.
void InstallClassicFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
}

QString SansSerifFamilyOnThisSystem()
{
    return QStringLiteral("MS Sans Serif");
}

} // namespace quorvane

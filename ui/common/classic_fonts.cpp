#include "ui/common/classic_fonts.h"

namespace quorvane {
namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");

#ifdef Q_OS_WIN
// Every Windows ships "Microsoft Sans Serif", the TrueType cut of the bitmap
// "MS Sans Serif" with the same design and metrics. Since the bitmap font is
// installed too, it is asked for by name instead of through a substitution,
// which Qt uses only for a family that is missing.
const QString kSansSerifOnThisSystem = QStringLiteral("Microsoft Sans Serif");
#else
const QString kSansSerifOnThisSystem = kSansSerif;
#endif

} // namespace

void InstallClassicFontSubstitutes()
{
#ifdef Q_OS_WIN
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Arial"));
#else
    QFont::insertSubstitution(kSansSerif, QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
#endif
}

QFont ClassicFont(const QString& family, qreal points, bool bold)
{
    QFont font(family == kSansSerif ? kSansSerifOnThisSystem : family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont ClassicDefaultFont()
{
    return ClassicFont(kSansSerif, 8.25);
}

} // namespace quorvane

#include "ui/common/classic_fonts.h"

namespace quorvane {

QFont ClassicFont(const QString& family, qreal points, bool bold)
{
    QFont font(family == QLatin1StringView("MS Sans Serif") ? SansSerifFamilyOnThisSystem() : family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    // Both designed families are sans-serif: where a family and its
    // substitutes are missing, the system's sans-serif face stands in.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont ClassicDefaultFont()
{
    return ClassicFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace quorvane

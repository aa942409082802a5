#include "ui/common/classic_fonts.h"

namespace quorvane {

void InstallClassicFontSubstitutes()
{
#ifndef Q_OS_WIN
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Liberation Sans Narrow"));
#endif
}

QFont ClassicFont(const QString& family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont ClassicDefaultFont()
{
    return ClassicFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace quorvane

#include "ui/common/classic_fonts.h"

#include <QFont>

namespace quorvane {

void InstallClassicFontSubstitutes()
{
#ifndef Q_OS_WIN
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"),
                              QStringLiteral("Liberation Sans Narrow"));
#endif
}

} // namespace quorvane

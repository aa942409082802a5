#include "ui/common/classic_fonts.h"

#include <QStringList>

#include <windows.h>

namespace quorvane {
namespace {

// The face Windows draws for a sans-serif request of the family: the family
// where it is installed, else the one its font mapper picks by the request's
// pitch and family (FF_SWISS: proportional, without serifs).
QString SansSerifFace(const QString& family)
{
    LOGFONTW request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    request.lfOutPrecision = OUT_TT_PRECIS;
    request.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    family.left(LF_FACESIZE - 1).toWCharArray(request.lfFaceName);
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, CreateFontIndirectW(&request));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(screen, LF_FACESIZE, face);
    DeleteObject(SelectObject(screen, before));
    ReleaseDC(nullptr, screen);
    return QString::fromWCharArray(face);
}

// The faces Windows names for its own text: title bars, menus, message boxes,
// and status bars and tool tips. Qt takes from them the fonts of what the
// program draws in the system's font, its tool tips.
QStringList SystemFamilies()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return {};
    QStringList families;
    for (const LOGFONTW& font : {metrics.lfCaptionFont, metrics.lfSmCaptionFont, metrics.lfMenuFont,
                                 metrics.lfStatusFont, metrics.lfMessageFont})
        families << QString::fromWCharArray(font.lfFaceName);
    families.removeDuplicates();
    return families;
}

} // namespace

// Every Windows ships "Microsoft Sans Serif", the TrueType cut of the bitmap
// "MS Sans Serif" with the same design and metrics. Since the bitmap font is
// installed too, it is asked for by name instead of through a substitution,
// which Qt uses only for a family that is missing.
QString SansSerifFamilyOnThisSystem()
{
    return QStringLiteral("Microsoft Sans Serif");
}

// Arial stands in for Arial Narrow, which comes only with Office. A family
// missing all the same, of the design or of the system, gets the face Windows
// would draw for it: Qt itself would take the first family it knows, on some
// systems serif. (Wine names "MS Shell Dlg" for the system's text, which
// Windows maps to Microsoft Sans Serif; where that is missing, Qt finds no face
// for it although it lists the family.)
void InstallClassicFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Arial"));
    const QStringList designed = {SansSerifFamilyOnThisSystem(), QStringLiteral("Arial Narrow")};
    for (const QString& family : designed + SystemFamilies()) {
        const QString face = SansSerifFace(family);
        if (face != family)
            QFont::insertSubstitution(family, face);
    }
}

} // namespace quorvane

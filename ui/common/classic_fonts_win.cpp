#include "ui/common/classic_fonts.h"

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
// missing all the same gets the face Windows would draw for it: Qt itself
// would take the first family it knows, on some systems serif.
void InstallClassicFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Arial"));
    for (const QString& family : {SansSerifFamilyOnThisSystem(), QStringLiteral("Arial Narrow")}) {
        const QString face = SansSerifFace(family);
        if (face != family)
            QFont::insertSubstitution(family, face);
    }
}

} // namespace quorvane

#include "ui/common/classic_fonts.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quorvane {
namespace {

const QString kSansSerif = QStringLiteral("MS Sans Serif");

#ifdef Q_OS_WIN
// Every Windows ships "Microsoft Sans Serif", the TrueType cut of the bitmap
// "MS Sans Serif" with the same design and metrics. Since the bitmap font is
// installed too, it is asked for by name instead of through a substitution,
// which Qt uses only for a family that is missing.
const QString kSansSerifOnThisSystem = QStringLiteral("Microsoft Sans Serif");

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
#else
const QString kSansSerifOnThisSystem = kSansSerif;
#endif

} // namespace

void InstallClassicFontSubstitutes()
{
#ifdef Q_OS_WIN
    // A family missing all the same gets the face Windows would draw for it:
    // Qt itself would take the first family it knows, on some systems serif.
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"), QStringLiteral("Arial"));
    for (const QString& family : {kSansSerifOnThisSystem, QStringLiteral("Arial Narrow")}) {
        const QString face = SansSerifFace(family);
        if (face != family)
            QFont::insertSubstitution(family, face);
    }
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
    // Both designed families are sans-serif: where a family and its
    // substitutes are missing, the system's sans-serif face stands in.
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont ClassicDefaultFont()
{
    return ClassicFont(kSansSerif, 8.25);
}

} // namespace quorvane

#include "ui/main/date_label.h"

#include "timetable/date_line.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace quorvane {
namespace {

constexpr qreal kStep = 0.25; // points
constexpr qreal kSmallest = 6;

QList<QGlyphRun> GlyphRuns(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

// Whether a face stands behind a run. Where no installed face could draw it, Qt draws boxes with a stand-in
// that has no font tables and no family, which must not be asked anything (its family crashes Qt 6.4).
bool HasFace(const QRawFont& font)
{
    return font.isValid() && !font.fontTable("head").isEmpty();
}

// Whether faces that have them draw all the characters: a face without a character draws its glyph 0, a box.
bool Drawable(const QList<QGlyphRun>& runs)
{
    return std::all_of(runs.cbegin(), runs.cend(), [](const QGlyphRun& run) {
        return HasFace(run.rawFont()) && !run.glyphIndexes().contains(0);
    });
}

// The families of the faces that draw the runs, each once, in the runs' order.
QStringList Families(const QList<QGlyphRun>& runs)
{
    QStringList families;
    for (const QGlyphRun& run : runs)
        if (HasFace(run.rawFont()) && !families.contains(run.rawFont().familyName(), Qt::CaseInsensitive))
            families << run.rawFont().familyName();
    return families;
}

// Marked serif by PANOSE's serif style in its OS/2 table (2 to 10; 11 to 13 are sans, 0 and 1 tell nothing).
bool Serif(const QRawFont& face)
{
    const QByteArray os2 = face.fontTable("OS/2");
    return os2.size() > 33 && os2[33] >= 2 && os2[33] <= 10;
}

bool HasBold(const QString& family)
{
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.cbegin(), styles.cend(), [&](const QString& style) {
        return QFontDatabase::weight(family, style) >= QFont::Bold && !QFontDatabase::italic(family, style);
    });
}

// The font for lines of which `words` holds every word: the designed one where its face draws them alone.
// Else the whole line in one face of the other script, so that no digit comes from another face in another
// weight: the first face that has a bold weight and draws every word alone, sans-serif faces first, of the
// face the designed font falls back to and then the script's others; else the fallback face regular. A face
// without a bold weight is not emboldened by the rasterizer, which smears thin strokes and would still not
// match the real bold of the digits' face beside it.
QFont LineFont(const QString& words, const QFont& designed)
{
    const QRawFont designedFace = QRawFont::fromFont(designed);
    const QString designedFamily = HasFace(designedFace) ? designedFace.familyName() : QString();
    QStringList families = Families(GlyphRuns(words, designed));
    families.removeIf(
        [&](const QString& family) { return family.compare(designedFamily, Qt::CaseInsensitive) == 0; });
    if (families.isEmpty())
        return designed;
    // The faces of the other script first: Qt on Windows may draw the digits beside it in yet another face.
    const QList<QFontDatabase::WritingSystem> designedSystems = QFontDatabase::writingSystems(designedFamily);
    QList<QFontDatabase::WritingSystem> scripts;
    for (const QString& family : families)
        for (const QFontDatabase::WritingSystem system : QFontDatabase::writingSystems(family))
            if (!designedSystems.contains(system) && !scripts.contains(system))
                scripts << system;
    std::stable_partition(families.begin(), families.end(), [&](const QString& family) {
        const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
        return std::any_of(systems.cbegin(), systems.cend(),
                           [&](auto system) { return scripts.contains(system); });
    });
    QStringList candidates = families;
    for (const QFontDatabase::WritingSystem system : scripts)
        candidates << QFontDatabase::families(system);
    QFont font = designed;
    font.setWeight(QFont::Bold);
    for (const bool serif : {false, true}) { // a sans-serif face first, as designed
        for (const QString& family : candidates) {
            font.setFamilies({family});
            const QList<QGlyphRun> runs = GlyphRuns(words, font);
            if (HasBold(family) && Drawable(runs)
                && Families(runs).join(u',').compare(family, Qt::CaseInsensitive) == 0
                && (serif || !Serif(runs.first().rawFont())))
                return font;
        }
    }
    font.setFamilies(families.mid(0, 1));
    font.setWeight(QFont::Normal);
    return font;
}

// The first and last day of those one fit serves: the date's year, so that the size stays all year.
std::pair<QDate, QDate> FittedDays(const QDate& date)
{
    return {QDate(date.year(), 1, 1), QDate(date.year(), 12, 31)};
}

} // namespace

void DateLabel::SetDateLine(const QString& line, const QDate& date, const QFont& designed, int band)
{
    m_line = line;
    m_date = date;
    m_designed = designed;
    m_band = band;
    if (std::tuple(QLocale(), FittedDays(date), designed, band, width(), devicePixelRatioF()) != m_fittedFor)
        Fit();
    else
        setText(m_inC ? FormatDateLine(date, QLocale::c()) : line);
}

void DateLabel::Fit()
{
    const auto [first, last] = FittedDays(m_date);
    m_fittedFor = {QLocale(), {first, last}, m_designed, m_band, width(), devicePixelRatioF()};
    // Every line of those days (the line alone, where the clock cannot tell the date), and every word of
    // them.
    const auto lines = [&](const QLocale& locale) {
        QStringList lines = {FormatDateLine(m_date, locale)};
        for (QDate day = first; day.isValid() && day <= last; day = day.addDays(1))
            lines << FormatDateLine(day, locale);
        return lines;
    };
    const auto words = [](const QStringList& lines) {
        QStringList words;
        for (const QString& line : lines)
            for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
                if (!words.contains(word))
                    words << word;
        return words.join(u' ');
    };
    QStringList all = lines(QLocale());
    QString sample = words(all);
    // Where no installed face can draw the locale's script, its line would be a row of boxes: it is shown in
    // C's form instead, in the panel's own face, which any face there is draws. (With no face at all, that
    // is boxes too, but the panel still runs.)
    m_inC = !Drawable(GlyphRuns(sample, m_designed));
    if (m_inC) {
        all = lines(QLocale::c());
        sample = words(all);
    }
    QFont font = LineFont(sample, m_designed);
    const bool designedFaceOnly = font == m_designed;
    QString widest; // as the face draws it as designed; the order of the lines holds at smaller sizes
    qreal widestAdvance = -1;
    for (const QFontMetricsF metrics(font); const QString& line : all)
        if (const qreal advance = metrics.horizontalAdvance(line); advance > widestAdvance)
            std::tie(widest, widestAdvance) = std::pair(line, advance);

    // The rows of the window's pixels the ink may take: the label's first row and the last above the
    // band's end stay clear, and at a scale of 2 or more a row more each.
    const qreal scale = devicePixelRatioF();
    const int top = mapTo(window(), QPoint()).y();
    const int clear = std::max(1, static_cast<int>(scale));
    const int highest = static_cast<int>(top * scale) + clear;
    const int lowest = static_cast<int>((top + m_band) * scale) - 1 - clear;
    std::pair<int, int> ink {-1, -1};
    const auto fits = [&] {
        if (QFontMetricsF(font).horizontalAdvance(widest) > width())
            return false;
        if (designedFaceOnly)
            return true;
        ink = InkRows(font, sample); // the tallest any line of the year can be
        return ink.second - ink.first <= lowest - highest;
    };
    while (!fits() && font.pointSizeF() - kStep >= kSmallest)
        font.setPointSizeF(font.pointSizeF() - kStep);
    // Moved only as far as it must be, and where it cannot stand whole, its top kept in the label.
    const int rows = ink.first < 0 ? 0 : std::max(highest - ink.first, std::min(0, lowest - ink.second));
    m_offset = rows / scale;
    setText(m_inC ? FormatDateLine(m_date, QLocale::c()) : m_line);
    setFont(font);
    update();
}

std::pair<int, int> DateLabel::InkRows(const QFont& font, const QString& text) const
{
    // Painted as the window paints the label, at its place and the screen's scale, so that the text is
    // rounded to the same pixels.
    const qreal scale = devicePixelRatioF();
    const int top = mapTo(window(), QPoint()).y();
    const int wide = std::max(width(),
                              static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text))) + 2);
    QImage image(QSize(wide, top + height()) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QRect(0, top, wide, height()), static_cast<int>(alignment()), text);
    painter.end();
    std::pair<int, int> rows {-1, -1};
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(pixels, pixels + image.width(), [](QRgb pixel) { return qAlpha(pixel) != 0; }))
            rows = {rows.first < 0 ? y : rows.first, y};
    }
    return rows;
}

bool DateLabel::event(QEvent* event)
{
    // The line is fitted in the screen's pixels, so once it has been fitted, a paint at another scale than
    // the last fit's refits it first. The paint is what every change of scale comes to (moved to a screen of
    // another scale, or the scale of its own screen changed, which Qt 6.4 tells no widget of), and nothing is
    // drawn at the new scale before it.
    if (event->type() == QEvent::Paint && m_band > 0 && devicePixelRatioF() != std::get<qreal>(m_fittedFor))
        Fit();
    return QLabel::event(event);
}

void DateLabel::paintEvent(QPaintEvent* event)
{
    if (m_offset == 0) {
        QLabel::paintEvent(event);
        return;
    }
    // As a label draws plain text, but for the offset.
    const bool rightToLeft = text().isRightToLeft();
    const int flags = QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment())
        | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
    QPainter painter(this);
    painter.translate(0, m_offset);
    style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), text(), foregroundRole());
}

} // namespace quorvane

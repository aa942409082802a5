#include "ui/main/date_label.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>

namespace quorvane {
namespace {

constexpr qreal kStep = 0.25; // points
constexpr qreal kSmallest = 6;

bool InDesignedFaceOnly(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QString designed = QRawFont::fromFont(font).familyName();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return std::all_of(runs.cbegin(), runs.cend(),
                       [&](const QGlyphRun& run) { return run.rawFont().familyName() == designed; });
}

} // namespace

void DateLabel::SetDateLine(const QString& text, const QFont& designed, int band)
{
    m_designed = designed;
    m_band = band;
    setText(text);
    Fit();
}

void DateLabel::Fit()
{
    const QString line = text();
    // The rows of the window's pixels the ink may take: the label's first row and the last above the
    // band's end stay clear, and at a scale of 2 or more a row more each.
    const qreal scale = devicePixelRatioF();
    const int top = mapTo(window(), QPoint()).y();
    const int clear = std::max(1, static_cast<int>(scale));
    const int highest = static_cast<int>(top * scale) + clear;
    const int lowest = static_cast<int>((top + m_band) * scale) - 1 - clear;

    QFont font = m_designed;
    const bool designedFaceOnly = InDesignedFaceOnly(line, font);
    std::pair<int, int> ink;
    const auto fits = [&] {
        if (QFontMetricsF(font).horizontalAdvance(line) > width())
            return false;
        if (designedFaceOnly)
            return true;
        ink = InkRows(font);
        return ink.second - ink.first <= lowest - highest;
    };
    while (!fits() && font.pointSizeF() - kStep >= kSmallest)
        font.setPointSizeF(font.pointSizeF() - kStep);
    // Moved only as far as it must be, and where it cannot stand whole, its top kept in the label.
    const int rows = designedFaceOnly ? 0 : std::max(highest - ink.first, std::min(0, lowest - ink.second));
    m_offset = rows / scale;
    setFont(font);
    update();
}

std::pair<int, int> DateLabel::InkRows(const QFont& font) const
{
    // Painted as the window paints the label, at its place and the screen's scale, so that the text is
    // rounded to the same pixels.
    const qreal scale = devicePixelRatioF();
    const int top = mapTo(window(), QPoint()).y();
    QImage image(QSize(width(), top + height()) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QRect(0, top, width(), height()), static_cast<int>(alignment()), text());
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
    if (event->type() == QEvent::Paint && m_band > 0 && devicePixelRatioF() != m_fittedScale) {
        m_fittedScale = devicePixelRatioF();
        Fit();
    }
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

#pragma once

#include <QFont>
#include <QLabel>

namespace quorvane {

// The label of the date line, whose foot lies behind the frame: it shows the line whole in the band of it
// above the frame, with a clear pixel above and below. A line in the designed face alone stands there as
// designed, only made smaller where it is too wide. Where other faces draw part of it (Tamil and Sinhala
// faces draw taller than Latin ones, and some stand their text lower), the line is measured by its ink as
// the screen shows it: made only as much smaller as it must be to fit the width and the band, and moved up
// or down only as far as it must be to stand within the band.
class DateLabel : public QLabel {
public:
    using QLabel::QLabel;

    // Shows the line in `designed` or smaller, within the top `band` pixels of the label.
    void SetDateLine(const QString& text, const QFont& designed, int band);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Fit();
    // The first and last rows of the window's pixels that the text's ink takes in `font`, where a label
    // draws it; {-1, -1} for none.
    std::pair<int, int> InkRows(const QFont& font) const;

    QFont m_designed;
    int m_band = 0;
    qreal m_offset = 0; // how much lower than a label would (higher, where negative) the text is drawn
    qreal m_fittedScale = 0; // the device pixel ratio of the last paint's fit
};

} // namespace quorvane

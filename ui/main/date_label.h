#pragma once

#include <QDate>
#include <QFont>
#include <QLabel>
#include <QLocale>

namespace quorvane {

// The label of the date line, whose foot lies behind the frame: it shows the line whole in the band of it
// above the frame, with a clear pixel above and below. A line in the designed face alone stands there as
// designed, only made smaller where it is too wide. A line of another script is drawn whole in a face of
// that script, bold where one of its faces has a bold weight (else regular, the digits too), and measured by
// its ink as the screen shows it: made only as much smaller as it must be to fit the width and the band, and
// moved up or down only as far as it must be to stand within the band. The size and place are fitted once
// for all the lines of the year in the locale, so that they stay the same from day to day.
class DateLabel : public QLabel {
public:
    using QLabel::QLabel;

    // Shows `line`, the date line of `date`, in `designed` or smaller, within the top `band` pixels of the
    // label.
    void SetDateLine(const QString& line, const QDate& date, const QFont& designed, int band);
    // The line last handed in (not the one shown, where no face draws it).
    const QString& line() const { return m_line; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Fit();
    // The first and last rows of the window's pixels that the ink of `text` takes in `font`, where a label
    // as wide as the text draws it; {-1, -1} for none.
    std::pair<int, int> InkRows(const QFont& font, const QString& text) const;

    QFont m_designed;
    int m_band = 0;
    QString m_line;
    QDate m_date;
    bool m_inC = false; // no installed face draws the locale's lines: they are shown in C's form
    qreal m_offset = 0; // how much lower than a label would (higher, where negative) the text is drawn
    // What the fit was made for: the locale, the days, the designed font, the band, the width and the scale.
    std::tuple<QLocale, std::pair<QDate, QDate>, QFont, int, int, qreal> m_fittedFor;
};

} // namespace quorvane

// The floor of the panel itself: a window of its size, flags and place that
// paints the panel's texts, in the panel's fonts, with QPainter in one
// paintEvent. No widgets, no style, no timer: the least a Qt program can do
// to put these pixels on the screen.
#include "ui/common/classic_fonts.h"
#include "ui/common/twips.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

struct Text {
    QRect place; // in twips, on the window
    const char* caption;
    int alignment;
    QFont font;
};

class PaintedPanel final : public QWidget {
public:
    PaintedPanel()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
    {
        using quorvane::ClassicFont;
        const QFont prayer = ClassicFont(QStringLiteral("MS Sans Serif"), 12);
        const QFont option = ClassicFont(QStringLiteral("MS Sans Serif"), 8.25);
        const QFont small = ClassicFont(QStringLiteral("MS Sans Serif"), 8.25, true);
        const int left = Qt::AlignLeft | Qt::TextShowMnemonic;
        const int right = Qt::AlignRight;
        m_texts = {
            {{0, 10, 3135, 255},
             "QUORVANE",
             Qt::AlignHCenter,
             ClassicFont(QStringLiteral("Arial Narrow"), 11.25)},
            {{120, 310, 2895, 395},
             "QUORVANE",
             Qt::AlignHCenter,
             ClassicFont(QStringLiteral("MS Sans Serif"), 12, true)},
            {{240, 840, 1455, 375}, "Fajr (Subah)", left, prayer},
            {{240, 1344, 1455, 375}, "Sun Rise ", left, prayer},
            {{240, 1848, 1455, 375}, "Luhar", left, prayer},
            {{240, 2352, 1455, 375}, "Asar", left, prayer},
            {{240, 2856, 1455, 375}, "Magrib", left, prayer},
            {{240, 3360, 1455, 375}, "Isha", left, prayer},
            {{1560, 840, 1215, 375}, "4:30", right, prayer},
            {{1440, 1350, 1335, 375}, "Fajr (Subah)", right, prayer},
            {{1440, 1845, 1335, 375}, "Fajr (Subah)", right, prayer},
            {{1440, 2355, 1335, 375}, "Fajr (Subah)", right, prayer},
            {{1440, 2850, 1335, 375}, "Fajr (Subah)", right, prayer},
            {{1440, 3360, 1335, 375}, "Fajr (Subah)", right, prayer},
            {{420, 3880, 2115, 255}, "&Eastern Province", left, small},
            {{420, 4120, 2115, 255}, "&Non Eastern Province", left, option},
            {{2880, 3960, 135, 255}, "X", left, small},
            {{2880, 4150, 135, 255}, "?", left, small},
        };
        setFixedSize(quorvane::TwipsToPixels(3120), quorvane::TwipsToPixels(4410));
        move(810, 438);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().button());
        painter.setPen(palette().buttonText().color());
        for (const Text& text : m_texts) {
            const QRect& t = text.place;
            painter.setFont(text.font);
            painter.drawText(quorvane::TwipsRect(t.x(), t.y(), t.width(), t.height()),
                             text.alignment | Qt::AlignTop, QString::fromLatin1(text.caption));
        }
    }

private:
    QList<Text> m_texts;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    quorvane::InstallClassicFontSubstitutes();
    PaintedPanel window;
    window.show();
    return QApplication::exec();
}

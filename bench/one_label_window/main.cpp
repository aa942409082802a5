// The floor of any Qt Widgets program that draws text, for the cost
// comparison: the bare window (bench/bare_window) of the panel's size, flags
// and place, with one label showing a prayer time in the panel's prayer font
// and its font substitutions. Nothing else: no timer, no other control.
#include "ui/common/classic_fonts.h"
#include "ui/common/twips.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    quorvane::InstallClassicFontSubstitutes();
    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    window.setFixedSize(208, 294);
    window.move(810, 438);
    // Where the panel shows the noon prayer's time: its frame's offset plus
    // the label's own place in the frame, right-aligned like the panel's.
    QLabel label(QStringLiteral("12 . 09"), &window);
    label.setGeometry(quorvane::TwipsRect(120 + 1320, 600 + 1245, 1335, 375));
    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
    label.setFont(quorvane::ClassicFont(QStringLiteral("MS Sans Serif"), 12));
    window.show();
    return QApplication::exec();
}

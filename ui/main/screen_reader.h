#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

#include <functional>
#include <string_view>

class QLabel;
class QWidget;

namespace quorvane {

// How a screen reader meets the main window, through Qt's accessibility
// interface (UI Automation on Windows, AT-SPI on Linux), where the stacking
// order of the controls and the two labels of each prayer would read badly.

// A screen reader meets `widget` in `role`, with `children` (its own) as its
// children in that order; a child left out is not met at all. Call it before
// anything asks for the widget's accessible interface (before it is shown).
void SetAccessibleChildren(QWidget& widget, QAccessible::Role role, const QList<QWidget*>& children);

// Offers a label that answers only the mouse to a screen reader as pressable
// (AT-SPI's Action, UI Automation's Invoke): `press` does what the mouse does.
// The label is read as before. Call it before anything asks for the label's
// accessible interface (before it is shown).
void OfferPress(QLabel& label, std::function<void()> press);

// Names the label of a prayer's time for its whole row, the time spoken as a
// time: "Fajr (Subah), 4:54" for the prayer "Fajr (Subah)" and the time text
// "4 . 54"; the prayer alone while there is no time. Every call is announced
// as a new name, so call it only for a changed time, and before the label's
// setText: a label with a name of its own announces no text.
void NameRow(QLabel& time, const QString& prayer, std::string_view text = {});

} // namespace quorvane

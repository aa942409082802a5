#pragma once

#include "timetable/refresh_tick.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QRadioButton;
class QScreen;
class QTimer;
class QWindow;

namespace quorvane {

class DateLabel;

// The main window: a small borderless panel with today's six prayer times and
// the date, the province choice, a title to drag it by, "X" to end the
// program and "?" for the About window.
//
// The province in force is whichever of the two timers runs; the bold option
// button marks it. Each timer refreshes its own province once a second.
class Form1 : public QWidget, private TimetableDisplay {
    Q_OBJECT
public:
    static constexpr QPoint kDesignedPosition {810, 438};

    explicit Form1(const Clock& clock, QWidget* parent = nullptr);

public slots:
    // The timers' handlers: each refreshes its own province.
    void Timer1_Timer();
    void Timer2_Timer();

signals:
    // "X" was double-clicked, or the window was asked to close.
    void exitRequested();
    // "?" was clicked.
    void aboutRequested();
    // The window was first shown, or became the program's active window again
    // in place of another window of this program (not when the user comes
    // back from another program).
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    void Option1_Click();
    void Option2_Click();
    void SelectOnFocus(QRadioButton* option);
    void WatchScale(QScreen* screen);

    // TimetableDisplay: what a refresh tick writes.
    void SetTimeCaption(PrayerSlot slot, std::string_view text) override;
    void SetDateCaption(const QString& text) override;

    const Clock& m_clock;
    const QFont m_dateFont; // as designed; smaller only for a date line too wide or too tall for it
    bool m_shownBefore = false;
    QPointer<QWindow> m_lastActiveWindow; // the program's last active window
    qreal m_scale = 0; // the device pixel ratio that the window's size was last asked at
    QMetaObject::Connection m_scaleWatch; // on the screen the window is on

    QFrame* Frame1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QLabel* Label1 = nullptr;
    DateLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    std::array<QLabel*, kSlotCount> m_timeLabels {};
    std::array<QLabel*, kSlotCount> m_prayerLabels {}; // the names beside them
};

} // namespace quorvane

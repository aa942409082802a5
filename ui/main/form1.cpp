#include "ui/main/form1.h"

#include "timetable/date_line.h"
#include "ui/common/classic_fonts.h"
#include "ui/common/taskbar.h"
#include "ui/common/twips.h"
#include "ui/main/date_label.h"
#include "ui/main/screen_reader.h"
#include "ui/main/window_drag.h"

#include <QBackingStore>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace quorvane {
namespace {

constexpr int kTickMilliseconds = 1000;

QFont PrayerFont()
{
    return ClassicFont(QStringLiteral("MS Sans Serif"), 12, false);
}

// Every control paints the button face behind button-coloured text, as the
// window does, so none stands out from it.
void UseButtonColours(QWidget* widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setForegroundRole(QPalette::ButtonText);
    widget->setAutoFillBackground(true);
}

template <typename Label = QLabel>
Label* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                 Qt::Alignment alignment, const QFont& font)
{
    auto* label = new Label(parent);
    // Every caption is plain text: no label needs to guess whether it is rich
    // text, which would bring in the rich text code for nothing.
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setObjectName(QLatin1StringView(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFont(font);
    UseButtonColours(label);
    return label;
}

QRadioButton* MakeOption(QWidget* parent, const char* name, const QRect& geometry, const QString& caption)
{
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(QLatin1StringView(name));
    option->setGeometry(geometry);
    UseButtonColours(option);
    return option;
}

QTimer* MakeTimer(QObject* parent, const char* name)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1StringView(name));
    timer->setInterval(kTickMilliseconds);
    return timer;
}

void SetBold(QWidget* widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

// Qt draws a later sibling over an earlier one; this window is designed the
// other way round, so raise the controls from the last to the first.
void StackEarlierInFront(std::initializer_list<QWidget*> creationOrder)
{
    for (auto it = std::rbegin(creationOrder); it != std::rend(creationOrder); ++it)
        (*it)->raise();
}

} // namespace

Form1::Form1(const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_clock(clock),
      m_dateFont(ClassicFont(QStringLiteral("MS Sans Serif"), 12, true))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setFixedSize(TwipsToPixels(3120), TwipsToPixels(4410));
    setFont(ClassicDefaultFont());
    UseButtonColours(this);

    CreateControls();

    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    // An option button runs its handler whenever it becomes the selected one,
    // however that happens: mouse, access key, arrow key or focus.
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
        if (now == nullptr)
            return; // the user went to another program
        if (now == windowHandle() && m_lastActiveWindow != now)
            emit activated();
        m_lastActiveWindow = now;
    });

    // Both timers run from creation, as designed; the load then stops the
    // second so that Eastern Province is in force.
    Timer1->start();
    Timer2->start();
    Form_Load();
}

void Form1::CreateControls()
{
    const QFont prayerFont = PrayerFont();
    const auto right = Qt::AlignRight;
    const auto left = Qt::AlignLeft;

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipsRect(120, 600, 2895, 3255));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    UseButtonColours(Frame1);
    Timer2 = MakeTimer(Frame1, "Timer2");
    Timer1 = MakeTimer(Frame1, "Timer1");
    const QString placeholder = QStringLiteral("Fajr (Subah)");
    Label14 = MakeLabel(Frame1, "Label14", TwipsRect(1320, 2760, 1335, 375), placeholder, right, prayerFont);
    Label13 = MakeLabel(Frame1, "Label13", TwipsRect(1320, 2250, 1335, 375), placeholder, right, prayerFont);
    Label12 = MakeLabel(Frame1, "Label12", TwipsRect(1320, 1755, 1335, 375), placeholder, right, prayerFont);
    Label11 = MakeLabel(Frame1, "Label11", TwipsRect(1320, 1245, 1335, 375), placeholder, right, prayerFont);
    Label10 = MakeLabel(Frame1, "Label10", TwipsRect(1320, 750, 1335, 375), placeholder, right, prayerFont);
    Label9 = MakeLabel(Frame1, "Label9", TwipsRect(1440, 240, 1215, 375), QStringLiteral("4:30"), right,
                       prayerFont);
    Label8 = MakeLabel(Frame1, "Label8", TwipsRect(120, 2760, 1455, 375), QStringLiteral("Isha"), left,
                       prayerFont);
    Label7 = MakeLabel(Frame1, "Label7", TwipsRect(120, 2256, 1455, 375), QStringLiteral("Magrib"), left,
                       prayerFont);
    Label6 = MakeLabel(Frame1, "Label6", TwipsRect(120, 1752, 1455, 375), QStringLiteral("Asar"), left,
                       prayerFont);
    Label5 = MakeLabel(Frame1, "Label5", TwipsRect(120, 1248, 1455, 375), QStringLiteral("Luhar"), left,
                       prayerFont);
    Label4 = MakeLabel(Frame1, "Label4", TwipsRect(120, 744, 1455, 375), QStringLiteral("Sun Rise "), left,
                       prayerFont);
    Label3 = MakeLabel(Frame1, "Label3", TwipsRect(120, 240, 1455, 375), placeholder, left, prayerFont);
    StackEarlierInFront({Label14, Label13, Label12, Label11, Label10, Label9, Label8, Label7, Label6, Label5,
                         Label4, Label3});

    // Option1 first: the focus chain follows creation, and Option1 comes
    // first in tab order. The stacking below is set on its own.
    Option1 = MakeOption(this, "Option1", TwipsRect(120, 3880, 2415, 255),
                         QStringLiteral("&Eastern Province"));
    Option2 = MakeOption(this, "Option2", TwipsRect(120, 4120, 2415, 255),
                         QStringLiteral("&Non Eastern Province"));
    const QFont smallBold = ClassicFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    Label16 = MakeLabel(this, "Label16", TwipsRect(2880, 4150, 135, 255), QStringLiteral("?"), left,
                        smallBold);
    Label15 = MakeLabel(this, "Label15", TwipsRect(2880, 3960, 135, 255), QStringLiteral("X"), left,
                        smallBold);
    Label2 = MakeLabel<DateLabel>(this, "Label2", TwipsRect(120, 310, 2895, 395), QStringLiteral("QUORVANE"),
                                  Qt::AlignHCenter, m_dateFont);
    Label1 = MakeLabel(this, "Label1", TwipsRect(0, 10, 3135, 255), QStringLiteral("QUORVANE"),
                       Qt::AlignHCenter, ClassicFont(QStringLiteral("Arial Narrow"), 11.25, false));
    StackEarlierInFront({Frame1, Option2, Option1, Label16, Label15, Label2, Label1});

    Label1->setCursor(Qt::SizeAllCursor);
    new TitleDrag(*this, Label1);
    Label15->setToolTip(QStringLiteral("Double Click to Exit"));
    Label16->setToolTip(QStringLiteral("About"));

    m_timeLabels = {Label9, Label10, Label11, Label12, Label13, Label14};
    m_prayerLabels = {Label3, Label4, Label5, Label6, Label7, Label8};
    // A screen reader reads the panel from the top, each prayer once: the time
    // stands for its row, named with the prayer (and the time from the first
    // tick on, SetTimeCaption), and the prayer's own label is left out.
    SetAccessibleChildren(*this, QAccessible::Window,
                          {Label1, Label2, Frame1, Option1, Option2, Label15, Label16});
    SetAccessibleChildren(*Frame1, QAccessible::Grouping,
                          {Label9, Label10, Label11, Label12, Label13, Label14});
    for (std::size_t row = 0; row < kSlotCount; ++row)
        NameRow(*m_timeLabels[row], m_prayerLabels[row]->text());
    Label15->setAccessibleName(QStringLiteral("Exit")); // described by its tool tip
    Label16->setAccessibleName(QStringLiteral("About"));
    // A screen reader presses "X" once: it has no double-click to offer.
    OfferPress(*Label15, [this] { emit exitRequested(); });
    OfferPress(*Label16, [this] { emit aboutRequested(); });
    for (QWidget* watched : {static_cast<QWidget*>(Label15), static_cast<QWidget*>(Label16),
                             static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2)})
        watched->installEventFilter(this);
}

void Form1::Timer1_Timer()
{
    RefreshTick(Province::Eastern, *this, m_clock);
}

void Form1::Timer2_Timer()
{
    RefreshTick(Province::NonEastern, *this, m_clock);
}

void Form1::Form_Load()
{
    Timer2->stop();
}

void Form1::Option1_Click()
{
    Timer2->stop();
    Timer1->start();
    SetBold(Option1, true);
    SetBold(Option2, false);
}

void Form1::Option2_Click()
{
    Timer1->stop();
    Timer2->start();
    SetBold(Option1, false);
    SetBold(Option2, true);
}

void Form1::SelectOnFocus(QRadioButton* option)
{
    if (!option->isChecked())
        option->setChecked(true);
}

void Form1::showEvent(QShowEvent* event)
{
    KeepOutOfTaskbar(*this);
    QWidget::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    m_scale = devicePixelRatioF();
    connect(windowHandle(), &QWindow::screenChanged, this, &Form1::WatchScale);
    WatchScale(windowHandle()->screen());
    // The first control that takes the focus is Option1, and an option button
    // that takes the focus becomes the selected one.
    Option1->setFocus(Qt::OtherFocusReason);
    SelectOnFocus(Option1);
    // The first show is the first activation, whether or not the system makes
    // the window active now (an X server without a window manager may not).
    m_lastActiveWindow = windowHandle();
    emit activated();
}

void Form1::WatchScale(QScreen* screen)
{
    // Where the scale changes (moved by the window manager onto a monitor of another scale, or the scale of
    // its own monitor changed, as Xft/DPI does), Qt keeps the window's device pixels, the size hints asked at
    // the old scale (X11) and what it painted: the panel would stay as it was, or draw at the new scale cut
    // off. Its size asked for again of the window (which, unlike the widget, asks the system even when the
    // size in device-independent pixels is the same) renews the hints and the pixels, and every control is
    // painted afresh at the new scale. Looked at once the event loop is back: Qt settles the window's
    // geometry after these signals. On Windows, where the system resizes the window itself (WM_DPICHANGED),
    // this asks for the size it already has.
    const auto follow = [this] {
        QTimer::singleShot(0, this, [this] {
            if (devicePixelRatioF() == m_scale)
                return;
            m_scale = devicePixelRatioF();
            windowHandle()->resize(minimumSize());
            backingStore()->resize(size()); // in the new scale's pixels
            update();
            for (QWidget* control : findChildren<QWidget*>())
                control->update();
        });
    };
    disconnect(m_scaleWatch);
    if (screen != nullptr)
        m_scaleWatch = connect(screen, &QScreen::logicalDotsPerInchChanged, this, follow);
    follow();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == Label15 && type == QEvent::MouseButtonDblClick) {
        emit exitRequested();
        return true;
    }
    if (watched == Label16 && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label16->rect().contains(mouse->position().toPoint()))
            emit aboutRequested();
        return true;
    }
    if ((watched == Option1 || watched == Option2) && type == QEvent::FocusIn)
        SelectOnFocus(static_cast<QRadioButton*>(watched));
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // No title bar offers a close, but the system may still ask (Alt+F4, the
    // window manager): that ends the program as "X" does.
    event->accept();
    emit exitRequested();
}

void Form1::SetTimeCaption(PrayerSlot slot, std::string_view text)
{
    const auto row = static_cast<std::size_t>(slot);
    const QLatin1StringView caption(text.data(), static_cast<qsizetype>(text.size()));
    if (caption == m_timeLabels[row]->text())
        return; // the same time as a second ago: nothing to name or draw
    NameRow(*m_timeLabels[row], m_prayerLabels[row]->text(), text);
    m_timeLabels[row]->setText(caption);
}

void Form1::SetDateCaption(const QString& text)
{
    if (text == Label2->line())
        return; // the same date as a second ago: nothing to measure or draw
    // The tick hands over the text alone. Its date is today's, or yesterday's where midnight passed since the
    // tick read the clock.
    QDate date = m_clock.Today();
    if (FormatDateLine(date) != text && FormatDateLine(date.addDays(-1)) == text)
        date = date.addDays(-1);
    Label2->SetDateLine(text, date, m_dateFont, Frame1->y() - Label2->y());
}

} // namespace quorvane

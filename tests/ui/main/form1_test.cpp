// The main window as a user meets it: layout, start-up, province choice,
// dragging and exit.
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"
#include "ui/common/twips.h"
#include "timetable/date_line.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace quorvane;

namespace {

class SettableClock : public Clock {
public:
    QDate Today() const override { return today; }
    QDate today{2027, 1, 1};
};

const QStringList kJan1Eastern = {"4 . 54", "6 . 16", "12 . 09", "3 . 30", "6 . 00", "7 . 15"};
const QStringList kJan1NonEastern = {"5 . 00", "6 . 22", "12 . 15", "3 . 36", "6 . 06", "7 . 21"};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    SettableClock m_clock;
    std::unique_ptr<Form1> m_form;

    template <typename T> T* Control(const char* name) const
    {
        auto* control = m_form->findChild<T*>(QLatin1StringView(name));
        if (control == nullptr)
            qFatal("no control named %s", name);
        return control;
    }
    QStringList Times() const
    {
        QStringList out;
        for (const char* name : {"Label9", "Label10", "Label11", "Label12", "Label13", "Label14"})
            out << Control<QLabel>(name)->text();
        return out;
    }
    int RunningTimers() const
    {
        return int(Control<QTimer>("Timer1")->isActive()) + int(Control<QTimer>("Timer2")->isActive());
    }
    void ShowAndActivate()
    {
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    // Waits for the named timer's next tick: at most one interval away.
    void WaitForTick(const char* timer)
    {
        QSignalSpy tick(Control<QTimer>(timer), &QTimer::timeout);
        QVERIFY(tick.wait(10000));
    }

private slots:
    void initTestCase()
    {
        InstallClassicFontSubstitutes();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init()
    {
        m_clock.today = QDate(2027, 1, 1);
        m_form = std::make_unique<Form1>(m_clock);
    }
    void cleanup() { m_form.reset(); }

    void window()
    {
        QCOMPARE(m_form->objectName(), QStringLiteral("Form1"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(m_form->size(), QSize(208, 294));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize()); // not resizable
        QVERIFY(m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(m_form->windowFlags().testFlag(Qt::Tool)); // no taskbar button
        QCOMPARE(m_form->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(m_form->font().pointSizeF(), 8.25);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("family");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<bool>("bold");

        const QString sans = QStringLiteral("MS Sans Serif");
        const int left = Qt::AlignLeft, right = Qt::AlignRight, centre = Qt::AlignHCenter;
        auto row = [&](const char* name, const char* parent, QRect twips, const char* caption,
                       int alignment, QString family, qreal points, bool bold) {
            QTest::newRow(name) << QString(name) << QString(parent) << twips << QString(caption)
                                << alignment << family << points << bold;
        };
        row("Label14", "Frame1", {1320, 2760, 1335, 375}, "Fajr (Subah)", right, sans, 12, false);
        row("Label13", "Frame1", {1320, 2250, 1335, 375}, "Fajr (Subah)", right, sans, 12, false);
        row("Label12", "Frame1", {1320, 1755, 1335, 375}, "Fajr (Subah)", right, sans, 12, false);
        row("Label11", "Frame1", {1320, 1245, 1335, 375}, "Fajr (Subah)", right, sans, 12, false);
        row("Label10", "Frame1", {1320, 750, 1335, 375}, "Fajr (Subah)", right, sans, 12, false);
        row("Label9", "Frame1", {1440, 240, 1215, 375}, "4:30", right, sans, 12, false);
        row("Label8", "Frame1", {120, 2760, 1455, 375}, "Isha", left, sans, 12, false);
        row("Label7", "Frame1", {120, 2256, 1455, 375}, "Magrib", left, sans, 12, false);
        row("Label6", "Frame1", {120, 1752, 1455, 375}, "Asar", left, sans, 12, false);
        row("Label5", "Frame1", {120, 1248, 1455, 375}, "Luhar", left, sans, 12, false);
        row("Label4", "Frame1", {120, 744, 1455, 375}, "Sun Rise ", left, sans, 12, false);
        row("Label3", "Frame1", {120, 240, 1455, 375}, "Fajr (Subah)", left, sans, 12, false);
        row("Option2", "Form1", {120, 4120, 2415, 255}, "&Non Eastern Province", -1, sans, 8.25, false);
        row("Option1", "Form1", {120, 3880, 2415, 255}, "&Eastern Province", -1, sans, 8.25, false);
        row("Label16", "Form1", {2880, 4150, 135, 255}, "?", left, sans, 8.25, true);
        row("Label15", "Form1", {2880, 3960, 135, 255}, "X", left, sans, 8.25, true);
        row("Label2", "Form1", {120, 310, 2895, 395}, "QUORVANE", centre, sans, 12, true);
        row("Label1", "Form1", {0, 10, 3135, 255}, "QUORVANE", centre, QStringLiteral("Arial Narrow"), 11.25, false);
        row("Frame1", "Form1", {120, 600, 2895, 3255}, "", -1, sans, 8.25, false);
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, parentName);
        QFETCH(QRect, twips);
        QFETCH(QString, caption);
        QFETCH(int, alignment);
        QFETCH(QString, family);
        QFETCH(qreal, points);
        QFETCH(bool, bold);

        auto* control = m_form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), parentName);
        QCOMPARE(control->geometry(),
                 TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        QCOMPARE(control->font().family(), family);
        QCOMPARE(control->font().pointSizeF(), points);
        QCOMPARE(control->font().bold(), bold);
        QCOMPARE(control->font().italic(), false);
        QCOMPARE(control->backgroundRole(), QPalette::Button);
        QCOMPARE(control->foregroundRole(), QPalette::ButtonText);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), caption);
            QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), alignment);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        } else if (auto* option = qobject_cast<QRadioButton*>(control)) {
            QCOMPARE(option->text(), caption);
        }
    }

    void fontsResolveToInstalledFaces()
    {
        QCOMPARE(QFontInfo(Control<QLabel>("Label3")->font()).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(Control<QLabel>("Label1")->font()).family(), QStringLiteral("Liberation Sans Narrow"));
    }

    void pointersAndToolTips()
    {
        QCOMPARE(Control<QLabel>("Label1")->cursor().shape(), Qt::SizeAllCursor);
        QCOMPARE(Control<QLabel>("Label15")->toolTip(), QStringLiteral("Double Click to Exit"));
        QCOMPARE(Control<QLabel>("Label16")->toolTip(), QStringLiteral("About"));
    }

    // Where two controls overlap, the one created first lies in front.
    void stacking_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("inFront");
        QTest::newRow("frame over date line") << "Form1" << TwipsRect(120, 690, 0, 0).topLeft() + QPoint(100, 0) << "Frame1";
        QTest::newRow("Fajr time over its name") << "Frame1" << TwipsRect(1500, 300, 0, 0).topLeft() << "Label9";
        QTest::newRow("Isha time over its name") << "Frame1" << TwipsRect(1400, 2800, 0, 0).topLeft() << "Label14";
        QTest::newRow("Option2 over Option1") << "Form1" << QPoint(60, TwipsToPixels(4120)) << "Option2";
        QTest::newRow("? over X") << "Form1" << QPoint(TwipsToPixels(2900), TwipsToPixels(4190)) << "Label16";
        QTest::newRow("title over the edge") << "Form1" << QPoint(207, 5) << "Label1";
    }

    void stacking()
    {
        QFETCH(QString, container);
        QFETCH(QPoint, point);
        QFETCH(QString, inFront);
        QWidget* parent = container == "Form1" ? m_form.get() : m_form->findChild<QWidget*>(container);
        QWidget* hit = parent->childAt(point);
        QVERIFY(hit);
        QCOMPARE(hit->objectName(), inFront);
    }

    void tabOrderStartsAtOption1()
    {
        QWidget* first = m_form->nextInFocusChain();
        while (first != m_form.get() && first->focusPolicy() == Qt::NoFocus)
            first = first->nextInFocusChain();
        QCOMPARE(first->objectName(), QStringLiteral("Option1"));
        QCOMPARE(first->nextInFocusChain()->objectName(), QStringLiteral("Option2"));
    }

    void stateBeforeAndAfterFirstShow()
    {
        // Loaded, not shown: both options clear, the second timer stopped.
        QVERIFY(Control<QTimer>("Timer1")->isActive());
        QVERIFY(!Control<QTimer>("Timer2")->isActive());
        QCOMPARE(Control<QTimer>("Timer1")->interval(), 1000);
        QCOMPARE(Control<QTimer>("Timer2")->interval(), 1000);
        QVERIFY(!Control<QRadioButton>("Option1")->isChecked());

        ShowAndActivate();
        auto* option1 = Control<QRadioButton>("Option1");
        auto* option2 = Control<QRadioButton>("Option2");
        QVERIFY(option1->isChecked());
        QVERIFY(option1->hasFocus());
        QVERIFY(option1->font().bold());
        QVERIFY(!option2->isChecked());
        QVERIFY(!option2->font().bold());
        QCOMPARE(RunningTimers(), 1);
        QVERIFY(Control<QTimer>("Timer1")->isActive());
        QCOMPARE(Times(), QStringList({"4:30", "Fajr (Subah)", "Fajr (Subah)", "Fajr (Subah)",
                                       "Fajr (Subah)", "Fajr (Subah)"}));
        QCOMPARE(Control<QLabel>("Label2")->text(), QStringLiteral("QUORVANE"));
    }

    void firstTickShowsTodayAndDateChangesShowAtTheNext()
    {
        ShowAndActivate();
        WaitForTick("Timer1");
        QCOMPARE(Times(), kJan1Eastern);
        QCOMPARE(Control<QLabel>("Label2")->text(), QStringLiteral("Fri 01 Jan 2027"));

        m_clock.today = QDate(2028, 2, 29);
        WaitForTick("Timer1");
        QCOMPARE(Times().first(), QStringLiteral("5 . 03"));
        QCOMPARE(Control<QLabel>("Label2")->text(), QStringLiteral("Tue 29 Feb 2028"));
    }

    void dateLineFitsItsLabel_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("designedSize");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << true;
        QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom) << true;
        QTest::newRow("si_LK") << QLocale(QLocale::Sinhala, QLocale::SriLanka) << false;
        QTest::newRow("ta_LK") << QLocale(QLocale::Tamil, QLocale::SriLanka) << false;
        QTest::newRow("ar_SA") << QLocale(QLocale::Arabic, QLocale::SaudiArabia) << false;
        QTest::newRow("C") << QLocale::c() << true;
    }

    // The date line keeps its designed 12 points where it fits and shrinks
    // only as far as it must where a locale's names are wider.
    void dateLineFitsItsLabel()
    {
        QFETCH(QLocale, locale);
        QFETCH(bool, designedSize);
        QLocale::setDefault(locale);
        auto* dateLabel = Control<QLabel>("Label2");
        const int width = dateLabel->contentsRect().width();
        for (const QDate date : {QDate(2026, 12, 5), QDate(2027, 9, 22), QDate(2028, 2, 29), QDate(2027, 5, 19)}) {
            m_clock.today = date;
            m_form->Timer1_Timer();
            QCOMPARE(dateLabel->text(), FormatDateLine(date, locale));
            const QFont font = dateLabel->font();
            QVERIFY(font.bold());
            QVERIFY2(QFontMetricsF(font).horizontalAdvance(dateLabel->text()) <= width,
                     qPrintable(dateLabel->text()));
            if (designedSize) {
                QCOMPARE(font.pointSizeF(), 12.0);
            } else if (font.pointSizeF() < 12.0) {
                QFont larger = font;
                larger.setPointSizeF(font.pointSizeF() + 0.25);
                QVERIFY(QFontMetricsF(larger).horizontalAdvance(dateLabel->text()) > width);
            }
        }
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void switchingProvince_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("mouse") << "mouse";
        QTest::newRow("access key") << "alt";
        QTest::newRow("arrow key") << "arrow";
        QTest::newRow("focus") << "focus";
    }

    // Times follow at the new timer's next tick, not at the switch itself.
    void switchingProvince()
    {
        QFETCH(QString, how);
        ShowAndActivate();
        WaitForTick("Timer1");
        QCOMPARE(Times(), kJan1Eastern);

        auto* option1 = Control<QRadioButton>("Option1");
        auto* option2 = Control<QRadioButton>("Option2");
        if (how == "mouse")
            QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(8, option2->height() / 2));
        else if (how == "alt")
            QTest::keyClick(m_form.get(), Qt::Key_N, Qt::AltModifier);
        else if (how == "arrow")
            QTest::keyClick(option1, Qt::Key_Down);
        else
            option2->setFocus(Qt::MouseFocusReason);

        QVERIFY(option2->isChecked());
        QVERIFY(option2->font().bold());
        QVERIFY(!option1->font().bold());
        QVERIFY(Control<QTimer>("Timer2")->isActive());
        QCOMPARE(RunningTimers(), 1);
        QCOMPARE(Times(), kJan1Eastern); // unchanged until the next tick
        WaitForTick("Timer2");
        QCOMPARE(Times(), kJan1NonEastern);

        if (how == "alt")
            QTest::keyClick(m_form.get(), Qt::Key_E, Qt::AltModifier);
        else
            QTest::mouseClick(option1, Qt::LeftButton, {}, QPoint(8, option1->height() / 2));
        QVERIFY(option1->isChecked());
        QVERIFY(option1->font().bold());
        QVERIFY(!option2->font().bold());
        QVERIFY(Control<QTimer>("Timer1")->isActive());
        QCOMPARE(RunningTimers(), 1);
        WaitForTick("Timer1");
        QCOMPARE(Times(), kJan1Eastern);
    }

    void quickSwitchingKeepsExactlyOneTimer()
    {
        ShowAndActivate();
        auto* option1 = Control<QRadioButton>("Option1");
        auto* option2 = Control<QRadioButton>("Option2");
        for (int i = 0; i < 50; ++i) {
            QRadioButton* target = (i % 3 == 0) ? option1 : option2;
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
            QCOMPARE(RunningTimers(), 1);
            QCOMPARE(Control<QTimer>(target == option1 ? "Timer1" : "Timer2")->isActive(), true);
            QCOMPARE(option1->font().bold(), target == option1);
            QCOMPARE(option2->font().bold(), target == option2);
        }
    }

    void dragByAnyButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
        QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
        QTest::newRow("middle with shift") << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }

    // The offscreen platform refuses a system move, so this is the move the
    // program makes itself: the window follows the mouse until the release.
    void dragByAnyButton()
    {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        m_form->move(100, 100);
        ShowAndActivate();
        const QPoint start = m_form->pos();
        auto* title = Control<QLabel>("Label1");
        QCursor::setPos(title->mapToGlobal(QPoint(50, 5))); // where the user presses
        QTest::mousePress(title, button, modifiers, QPoint(50, 5));
        QTest::mouseMove(title, QPoint(80, 25));
        QCOMPARE(m_form->pos(), start + QPoint(30, 20));
        QTest::mouseRelease(title, button, modifiers, QPoint(80, 25));
        const QPoint dropped = m_form->pos();
        QTest::mouseMove(title, QPoint(10, 10)); // after the release: stays put
        QCOMPARE(m_form->pos(), dropped);
    }

    void maximizedWindowIsNotDragged()
    {
        ShowAndActivate();
        m_form->setWindowState(Qt::WindowMaximized);
        QVERIFY(m_form->isMaximized());
        const QPoint start = m_form->pos();
        auto* title = Control<QLabel>("Label1");
        QTest::mousePress(title, Qt::LeftButton, {}, QPoint(50, 5));
        QTest::mouseMove(title, QPoint(90, 40));
        QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(90, 40));
        QCOMPARE(m_form->pos(), start);
    }

    void exitOnlyByDoubleClickOrCloseRequest()
    {
        ShowAndActivate();
        QSignalSpy exit(m_form.get(), &Form1::exitRequested);
        auto* x = Control<QLabel>("Label15");
        QTest::mouseClick(x, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(exit.count(), 0);
        QTest::mouseDClick(x, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(exit.count(), 1);
        m_form->close();
        QCOMPARE(exit.count(), 2);
    }

    void aboutLabelClick()
    {
        ShowAndActivate();
        QSignalSpy about(m_form.get(), &Form1::aboutRequested);
        auto* question = Control<QLabel>("Label16");
        QTest::mouseClick(question, Qt::RightButton, {}, QPoint(3, 5));
        QCOMPARE(about.count(), 0);
        QTest::mouseClick(question, Qt::LeftButton, {}, QPoint(3, 5));
        QCOMPARE(about.count(), 1);
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"

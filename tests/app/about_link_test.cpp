// The About window as the main window drives it: built hidden at the first
// activation, shown by "?", hidden by OK and by the main window's activation.
#include "app/about_link.h"
#include "ui/about/about_window_ref.h"
#include "ui/about/form2.h"
#include "ui/main/form1.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace quorvane;

namespace {

class FixedClock : public Clock {
public:
    QDate Today() const override { return QDate(2027, 3, 31); }
};

} // namespace

class AboutLinkTest : public QObject {
    Q_OBJECT

private:
    FixedClock m_clock;
    std::unique_ptr<AboutWindowRef> m_about;
    std::unique_ptr<Form1> m_main;

    void Activate(QWidget* window)
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    void ClickQuestionMark()
    {
        QTest::mouseClick(m_main->findChild<QLabel*>("Label16"), Qt::LeftButton, {}, QPoint(3, 5));
    }
    QPoint ScreenCentre() const
    {
        return QGuiApplication::primaryScreen()->availableGeometry().center();
    }

private slots:
    void init()
    {
        m_about = std::make_unique<AboutWindowRef>();
        m_main = std::make_unique<Form1>(m_clock);
        LinkAboutWindow(*m_main, *m_about);
    }
    void cleanup()
    {
        m_main.reset();
        m_about.reset();
    }

    void builtHiddenAndCentredAtTheFirstActivation()
    {
        QVERIFY(m_about->Window() == nullptr);
        m_main->show();
        Activate(m_main.get());
        Form2* about = m_about->Window();
        QVERIFY(about != nullptr);
        QVERIFY(!about->isVisible());
        QVERIFY((about->frameGeometry().center() - ScreenCentre()).manhattanLength() <= 2);
    }

    void questionMarkShowsOkAndActivationHide()
    {
        m_main->show();
        Activate(m_main.get());
        Form2* about = m_about->Window();

        ClickQuestionMark();
        QVERIFY(about->isVisible());
        QCOMPARE(m_about->Window(), about); // never a second one
        QVERIFY(QTest::qWaitForWindowActive(about));
        QVERIFY(about->Command1->hasFocus());

        Activate(m_main.get()); // the user clicks the main window
        QVERIFY(!about->isVisible());

        ClickQuestionMark();
        QVERIFY(about->isVisible());
        QTest::mouseClick(about->Command1, Qt::LeftButton);
        QVERIFY(!about->isVisible());
    }

    // "?" pressed while the About window is active: the press activates the
    // main window, which hides it; the click then shows it again.
    void questionMarkWhileAboutIsActive()
    {
        m_main->show();
        Activate(m_main.get());
        ClickQuestionMark();
        Form2* about = m_about->Window();
        QVERIFY(QTest::qWaitForWindowActive(about));
        Activate(m_main.get());
        QVERIFY(!about->isVisible());
        ClickQuestionMark();
        QVERIFY(about->isVisible());
    }

    // Closed by its close box while active: the main window, active again in
    // its place, builds a new one, hidden.
    void closeBoxThenActivationBuildsItAnew()
    {
        m_main->show();
        Activate(m_main.get());
        ClickQuestionMark();
        QPointer<Form2> first = m_about->Window();
        QVERIFY(QTest::qWaitForWindowActive(first));
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        Activate(m_main.get());
        QVERIFY(m_about->Window() != nullptr);
        QVERIFY(!m_about->Window()->isVisible());
    }

    void activationByTheAboutWindowItselfDoesNotHideIt()
    {
        m_main->show();
        Activate(m_main.get());
        ClickQuestionMark();
        Form2* about = m_about->Window();
        QSignalSpy activated(m_main.get(), &Form1::activated);
        Activate(about);
        QCOMPARE(activated.count(), 0);
        QVERIFY(about->isVisible());
    }
};

QTEST_MAIN(AboutLinkTest)
#include "about_link_test.moc"

// The About window: its design, and the states of the program's one instance.
#include "ui/about/about_window_ref.h"
#include "ui/about/credits.h"
#include "ui/about/form2.h"
#include "ui/common/classic_fonts.h"

#include <QtTest>
#include <QtWidgets>

using namespace quorvane;

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallClassicFontSubstitutes(); }

    void design()
    {
        const QStringList lines = CreditsText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 27); // 26 lines, each ended by CR LF; what they say is read in desktop_test.py
        Form2 form;
        const QColor face(0xc0, 0xc1, 0xc2); // the button face behind the credits, even set after the build
        QApplication::setPalette(QPalette(face));
        QCoreApplication::processEvents();
        QVERIFY(form.minimumSize() == QSize(174, 408) && form.maximumSize() == QSize(174, 408));
        QCOMPARE(form.windowFlags() & ~Qt::WindowSystemMenuHint,
                 Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        QVERIFY(form.Command1->text() == "OK" && form.Label1->text() == "\"Alhamdulillah\"");
        QCOMPARE(QList({form.Text1->geometry(), form.Command1->geometry(), form.Label1->geometry()}),
                 QList({QRect(8, 24, 153, 345), QRect(40, 376, 89, 25), QRect(8, 8, 177, 25)}));
        QVERIFY(form.childAt(50, 12) == form.Label1 && form.Text1->isAncestorOf(form.childAt(50, 28)));
        QVERIFY(form.Text1->isReadOnly() && form.Text1->toPlainText() == lines.join('\n'));
        const QFontMetrics metrics(form.Text1->font()); // every line whole, without scroll bars
        const QRect inside = form.Text1->contentsRect();
        QVERIFY(26 * metrics.lineSpacing() <= inside.height());
        QVERIFY(std::ranges::all_of(
            lines, [&](auto& line) { return metrics.horizontalAdvance(line) <= inside.width(); }));
        const QImage box = form.Text1->viewport()->grab().toImage();
        QCOMPARE(box.pixel(box.width() - 2, box.height() - 2), face.rgb());
    }

    // The program's one instance through a user's steps: S = Show, H = Hide, K = OK, E = Enter and N = the
    // keypad's Enter on OK, M = moved by the user, X = its close box (unloads it); after each, whether it is
    // visible, centred and the same (a new one shown is active with OK focused).
    void states()
    {
        const std::tuple<char, bool, bool, bool> steps[] = {
            {'H', false, true, false},  {'S', true, true, true},    {'K', false, true, true},
            {'S', true, true, true},    {'M', true, false, true},   {'H', false, false, true},
            {'S', true, false, true},   {'X', false, false, false}, {'S', true, true, false},
            {'E', false, true, true},   {'S', true, true, true},    {'M', true, false, true},
            {'X', false, false, false}, {'S', true, true, false},   {'N', false, true, true},
            {'S', true, true, true},    {'X', false, false, false}, {'H', false, true, false}};
        AboutWindowRef about; // nothing built yet: the first step builds it
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (const auto& [step, visible, centred, same] : steps) {
            const QPointer<Form2> before = about.Window();
            if (step == 'S')
                about.Show();
            if (step == 'H')
                about.Hide();
            if (step == 'K')
                QTest::mouseClick(before->Command1, Qt::LeftButton);
            if (step == 'E' || step == 'N') // on OK, focused in the new window (as the step before checks)
                QTest::keyClick(before->Command1, step == 'E' ? Qt::Key_Return : Qt::Key_Enter,
                                step == 'E' ? Qt::NoModifier : Qt::KeypadModifier);
            if (step == 'M')
                before->move(before->pos() + QPoint(37, -21));
            if (step == 'X')
                QVERIFY(before->windowHandle()->close());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            Form2* const window = about.Window();
            const auto windows = std::ranges::count_if(QApplication::topLevelWidgets(),
                                                       [](auto* w) { return qobject_cast<Form2*>(w); });
            QVERIFY2(step == 'X'
                         ? window == nullptr && windows == 0
                         : windows == 1 && window->isVisible() == visible && (window == before) == same
                             && (window->frameGeometry().center() == screen.center()) == centred,
                     qPrintable(QString(step)));
            QVERIFY(step != 'S' || same
                    || (QTest::qWaitForWindowActive(window) && window->Command1->hasFocus()));
        }
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"

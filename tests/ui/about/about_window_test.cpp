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
        QCOMPARE(lines.size(), 27); // 26 lines, each ended by CR LF
        QCOMPARE(QStringList({lines[0], lines[8], lines[11], lines[20]}),
                 QStringList({"Programmed and Published by", "Special thanks to", "Thanks to beta testers.",
                              "Corrections/Suggestions"}));
        Form2 form;
        QApplication::setPalette(
            QPalette(QColor(0xc0, 0xc1, 0xc2))); // the button face behind the credits too
        QCoreApplication::processEvents();
        QVERIFY(form.minimumSize() == QSize(174, 408) && form.maximumSize() == QSize(174, 408));
        QCOMPARE(form.windowFlags() & ~Qt::WindowSystemMenuHint,
                 Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        QVERIFY(form.Command1->text() == "OK" && form.Label1->text() == "\"Alhamdulillah\"");
        QVERIFY(form.childAt(50, 12) == form.Label1 && form.Text1->isAncestorOf(form.childAt(50, 28)));
        QVERIFY(form.Text1->isReadOnly() && form.Text1->toPlainText() == lines.join('\n'));
        const QFontMetrics metrics(form.Text1->font()); // every line whole, without scroll bars
        const QRect inside = form.Text1->contentsRect();
        QVERIFY(26 * metrics.lineSpacing() <= inside.height());
        QVERIFY(std::ranges::all_of(
            lines, [&](auto& line) { return metrics.horizontalAdvance(line) <= inside.width(); }));
        const QImage box = form.Text1->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(box.constBits());
        QVERIFY(std::count(pixels, pixels + box.width() * box.height(), qRgb(0xc0, 0xc1, 0xc2))
                > box.width() * box.height() / 2);
    }

    // Steps: S = Show, H = Hide, K = OK, M = moved by the user, X = close box; then whether the
    // window is visible, centred, and the one the first step built (with OK focused, if shown).
    void states()
    {
        const struct {
            const char* steps;
            bool visible, centred, first;
        } rows[] = {{"H", false, true, true},
                    {"SK", false, true, true},
                    {"SMHS", true, false, true},
                    {"SMXS", true, true, false},
                    {"SMXH", false, true, false}};
        for (const auto& row : rows) {
            AboutWindowRef about;
            QPointer<Form2> built;
            for (const char* step = row.steps; *step != 0; ++step) {
                QVERIFY(step != row.steps || about.Window() == nullptr);
                if (*step == 'S')
                    about.Show();
                if (*step == 'H')
                    about.Hide();
                if (*step == 'K')
                    QTest::mouseClick(about.Window()->Command1, Qt::LeftButton);
                if (*step == 'M')
                    about.Window()->move(about.Window()->pos() + QPoint(37, -21));
                if (*step == 'X')
                    QVERIFY(about.Window()->windowHandle()->close());
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (step == row.steps)
                    built = about.Window();
                QVERIFY(step != row.steps || *step != 'S'
                        || (QTest::qWaitForWindowActive(built) && built->Command1->hasFocus()));
                QVERIFY(std::ranges::count_if(QApplication::topLevelWidgets(),
                                              [](auto* w) { return qobject_cast<Form2*>(w); })
                        <= 1);
            }
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY2(about.Window()->isVisible() == row.visible
                         && (about.Window() == built.data()) == row.first
                         && (about.Window()->frameGeometry().center() == screen.center()) == row.centred,
                     row.steps);
        }
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"

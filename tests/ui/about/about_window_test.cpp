// The About window: its design, its read-only credits and the life of its one instance.
#include "ui/about/about_window_ref.h"
#include "ui/about/credits.h"
#include "ui/about/form2.h"

#include <QTest>
#include <QtWidgets>

using namespace quorvane;

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void credits()
    {
        const QString text = CreditsText();
        QVERIFY(text.count(QLatin1Char('\r')) == 26 && text.count(QLatin1Char('\n')) == 26);
        const QStringList lines = text.split(QStringLiteral("\r\n")); // the last one empty
        const QString url = "https://\\S+", free = "\\S.*\\S", release = "\\d\\d\\.\\d\\d\\.\\d{4} v\\.";
        const QStringList expected = {"Programmed and Published by", free, url, url, url, free, url,
            "", "Special thanks to", free, "", "Thanks to beta testers\\.", "", "Downloaded From ",
            url, "", free, url, free, "", "Corrections/Suggestions", "[\\w.+-]+@[\\w.-]+\\.\\w+", "",
            release + "1\\.0", "", release + "2\\.0", ""};
        QCOMPARE(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(expected.at(i)))
                         .match(lines.at(i)).hasMatch(), qPrintable(QString::number(i + 1) + ": " + lines.at(i)));
    }

    void design()
    {
        Form2 form;
        QCOMPARE(form.objectName(), QStringLiteral("Form2"));
        QCOMPARE(form.windowTitle(), QStringLiteral("About"));
        QVERIFY(form.minimumSize() == QSize(174, 408) && form.maximumSize() == QSize(174, 408));
        QCOMPARE(form.windowFlags() & ~Qt::WindowSystemMenuHint,
                 Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        const struct { const char* name; QRect geometry; const char* text; } controls[] = {
            {"Text1", {8, 24, 153, 345}, nullptr}, {"Command1", {40, 376, 89, 25}, "OK"},
            {"Label1", {8, 8, 177, 25}, "\"Alhamdulillah\""}};
        for (const auto& control : controls) {
            const auto* widget = form.findChild<QWidget*>(control.name, Qt::FindDirectChildrenOnly);
            QVERIFY2(widget != nullptr && widget->geometry() == control.geometry, control.name);
            QVERIFY2(!control.text || widget->property("text").toString() == control.text, control.name);
        }
        QWidget* hit = form.childAt(QPoint(50, 28)); // Text1 (from y 24) covers Label1 (to y 32)
        QVERIFY(hit == form.Text1 || form.Text1->isAncestorOf(hit));
        QCOMPARE(form.childAt(QPoint(50, 12)), form.Label1);
        const QPalette saved = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
        QApplication::setPalette(QPalette(QColor(0xc0, 0xc1, 0xc2))); // the box follows the button face
        QCoreApplication::processEvents();
        QCOMPARE(form.Text1->palette().color(QPalette::Base), QColor(0xc0, 0xc1, 0xc2));
    }

    void creditsBoxIsReadOnly()
    {
        Form2 form;
        QPlainTextEdit* box = form.Text1;
        QCOMPARE(box->toPlainText(), CreditsText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QVERIFY(box->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                box->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff);
        QVERIFY(!box->acceptDrops() && !box->viewport()->acceptDrops());
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("typed"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        box->paste();
        QCOMPARE(box->toPlainText(), CreditsText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void okHasFocusAndHides()
    {
        AboutWindowRef ref;
        ref.Show();
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), ref.Window()->Command1);
        QTest::mouseClick(ref.Window()->Command1, Qt::LeftButton);
        QVERIFY(ref.Window() != nullptr && !ref.Window()->isVisible()); // hidden, still loaded
    }

    void lifecycle()
    {
        // Steps: S = Show, H = Hide, M = moved by the user, X = close box; then whether the
        // window is visible, centred, and still the one the first step built.
        const struct { QString steps; bool visible, centred, first; } rows[] = {
            {"H", false, true, true}, {"S", true, true, true}, {"HMS", true, false, true},
            {"SMHS", true, false, true}, {"SMXS", true, true, false}, {"SMXH", false, true, false}};
        for (const auto& row : rows) {
            AboutWindowRef ref;
            QPointer<Form2> built;
            for (qsizetype i = 0; i < row.steps.size(); ++i) {
                const QChar step = row.steps.at(i);
                QPointer<Form2> before = ref.Window();
                if (step == 'S') ref.Show();
                if (step == 'H') ref.Hide();
                if (step == 'M') before->move(before->pos() + QPoint(37, -21));
                if (step == 'X') // what the close box does: the window unloads at once
                    QVERIFY(before->windowHandle()->close() && ref.Window() == nullptr);
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (i == 0) built = ref.Window();
                QVERIFY(std::ranges::count_if(QApplication::topLevelWidgets(), // never two at once
                                              [](QWidget* w) { return qobject_cast<Form2*>(w); }) <= 1);
            }
            const Form2* window = ref.Window();
            QVERIFY2(window != nullptr, qPrintable(row.steps));
            const QRect centred = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter,
                window->frameGeometry().size(), QGuiApplication::primaryScreen()->availableGeometry());
            QVERIFY2(window->isVisible() == row.visible && (window->pos() == centred.topLeft()) == row.centred
                         && (window == built) == row.first, qPrintable(row.steps));
        }
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"

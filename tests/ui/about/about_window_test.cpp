// The About window: its design, its read-only credits and the life of its one instance.
#include "ui/about/about_window_ref.h"
#include "ui/about/credits.h"
#include "ui/about/form2.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QWindow>

using quorvane::AboutWindowRef;
using quorvane::CreditsText;
using quorvane::Form2;

namespace {

QPoint CentredPos(const QWidget& window)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize size = window.frameGeometry().size();
    return {available.x() + (available.width() - size.width()) / 2,
            available.y() + (available.height() - size.height()) / 2};
}

int LiveForms()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        count += qobject_cast<Form2*>(widget) != nullptr ? 1 : 0;
    }
    return count;
}

} // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void creditsLines_data();
    void creditsLines();
    void creditsStructure();
    void creditsBox();
    void controls_data();
    void controls();
    void windowAndStacking();
    void systemColours_data();
    void systemColours();
    void showFocusesOk();
    void lifecycle_data();
    void lifecycle();
    void referenceDeletesItsWindow();
};

void AboutWindowTest::creditsLines_data()
{
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("empty") << QList<int>{8, 11, 13, 16, 20, 23, 25} << "^$";
    QTest::newRow("web addresses") << QList<int>{3, 4, 5, 7, 15, 18} << "^https?://[\\w.-]+(/\\S*)?$";
    QTest::newRow("free text") << QList<int>{6, 17, 19} << "^\\S(.*\\S)?$";
    QTest::newRow("heading") << QList<int>{1} << "^Programmed and Published by$";
    QTest::newRow("name | handle") << QList<int>{2} << "^\\S.* \\| \\S+$";
    QTest::newRow("thanks") << QList<int>{9} << "^Special thanks to$";
    QTest::newRow("organisation") << QList<int>{10} << "^\\S.*\\.$";
    QTest::newRow("testers") << QList<int>{12} << "^Thanks to beta testers\\.$";
    QTest::newRow("downloaded from") << QList<int>{14} << "^Downloaded From $";
    QTest::newRow("corrections") << QList<int>{21} << "^Corrections/Suggestions$";
    QTest::newRow("e-mail") << QList<int>{22} << "^[\\w.+-]+@[\\w-]+(\\.[\\w-]+)+$";
    QTest::newRow("release 1") << QList<int>{24} << "^\\d\\d\\.\\d\\d\\.\\d{4} v\\.1\\.0$";
    QTest::newRow("release 2") << QList<int>{26} << "^\\d\\d\\.\\d\\d\\.\\d{4} v\\.2\\.0$";
}

void AboutWindowTest::creditsLines()
{
    QFETCH(QList<int>, lines);
    QFETCH(QString, pattern);
    const QStringList all = CreditsText().split(QStringLiteral("\r\n"));
    QCOMPARE(all.size(), 27);
    for (const int line : lines) {
        QVERIFY2(QRegularExpression(pattern).match(all.at(line - 1)).hasMatch(),
                 qPrintable(QStringLiteral("line %1: '%2'").arg(line).arg(all.at(line - 1))));
    }
}

void AboutWindowTest::creditsStructure()
{
    const QString text = CreditsText();
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 26);
    QCOMPARE(text.count(QLatin1Char('\r')), 26); // no lone CR or LF
    QCOMPARE(text.count(QLatin1Char('\n')), 26);
    const QStringList all = text.split(QStringLiteral("\r\n"));
    QVERIFY((all.at(16) + all.at(18)).contains(QStringLiteral("mobile"), Qt::CaseInsensitive));
    // The version history, oldest first.
    const auto date = [&](int line) {
        return QDate::fromString(all.at(line - 1).left(10), QStringLiteral("dd.MM.yyyy"));
    };
    QVERIFY(date(24).isValid() && date(26).isValid() && date(24) < date(26));
}

void AboutWindowTest::creditsBox()
{
    Form2 form;
    QPlainTextEdit* box = form.Text1;
    // One line per line: the final "\r\n" opens an empty last line, no "\r" is left.
    QCOMPARE(box->document()->blockCount(), 27);
    QCOMPARE(box->toPlainText(), CreditsText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(box->lineWrapMode() != QPlainTextEdit::NoWrap);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!box->acceptDrops() && !box->viewport()->acceptDrops());

    const QString before = box->toPlainText();
    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(box, QStringLiteral("typed"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("pasted"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    box->paste();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->toPlainText(), before);
}

void AboutWindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Text1") << "Text1" << "QPlainTextEdit" << QRect(8, 24, 153, 345) << QString();
    QTest::newRow("Command1") << "Command1" << "QPushButton" << QRect(40, 376, 89, 25) << "OK";
    QTest::newRow("Label1") << "Label1" << "QLabel" << QRect(8, 8, 177, 25) << "\"Alhamdulillah\"";
}

void AboutWindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    Form2 form;
    auto* control = form.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(control != nullptr);
    QCOMPARE(control->metaObject()->className(), className);
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(control->font(), form.font());
    QCOMPARE(control->property(control == form.Text1 ? "plainText" : "text").toString(),
             control == form.Text1 ? form.Text1->toPlainText() : caption);
    QVERIFY(control == form.Text1 || control == form.Command1 || control == form.Label1);
    if (control == form.Label1) {
        QCOMPARE(form.Label1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(form.Label1->focusPolicy(), Qt::NoFocus);
    }
}

void AboutWindowTest::windowAndStacking()
{
    Form2 form;
    QCOMPARE(form.objectName(), QStringLiteral("Form2"));
    QCOMPARE(form.windowTitle(), QStringLiteral("About"));
    QCOMPARE(form.minimumSize(), QSize(174, 408));
    QCOMPARE(form.maximumSize(), QSize(174, 408));
    QCOMPARE(form.windowType(), Qt::Tool); // a tool window stays out of the taskbar
    QVERIFY(form.windowFlags().testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint));
    QVERIFY(!form.windowFlags().testAnyFlags(Qt::WindowMinMaxButtonsHint));
    QCOMPARE(form.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(form.font().pointSizeF(), 8.25);
    QVERIFY(form.font().weight() == QFont::Normal && !form.font().italic());

    // The credits box lies in front of the heading's foot (Label1 ends at 32, Text1 starts at 24).
    QWidget* hit = form.childAt(QPoint(50, 28));
    QVERIFY(hit == form.Text1 || form.Text1->isAncestorOf(hit));
    QCOMPARE(form.childAt(QPoint(50, 12)), form.Label1);
}

void AboutWindowTest::systemColours_data()
{
    QTest::addColumn<bool>("shownBeforeChange");
    QTest::newRow("changed before first shown") << false;
    QTest::newRow("changed while shown") << true;
}

void AboutWindowTest::systemColours()
{
    QFETCH(bool, shownBeforeChange);
    const QPalette saved = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
    QPalette system = saved;
    system.setColor(QPalette::Button, QColor(0xc0, 0xc1, 0xc2));
    system.setColor(QPalette::WindowText, QColor(0x01, 0x02, 0x03));
    system.setColor(QPalette::ButtonText, QColor(0x70, 0x71, 0x72));

    Form2 form; // built with other colours: it must follow the change
    form.setVisible(shownBeforeChange);
    QApplication::setPalette(system);
    QCoreApplication::processEvents();
    form.show();
    QVERIFY(form.autoFillBackground());
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        const QColor face = system.color(group, QPalette::Button);
        QCOMPARE(form.palette().color(group, QPalette::Window), face);
        QCOMPARE(form.Text1->viewport()->palette().color(group, QPalette::Base), face);
        QCOMPARE(form.Text1->palette().color(group, QPalette::Text), system.color(group, QPalette::WindowText));
        QCOMPARE(form.Label1->palette().color(group, QPalette::WindowText), system.color(group, QPalette::ButtonText));
    }
}

void AboutWindowTest::showFocusesOk()
{
    AboutWindowRef ref;
    ref.Show();
    Form2* window = ref.Window();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), window);
    QCOMPARE(QApplication::focusWidget(), window->Command1);
    // Tab: OK, then the credits box, then OK again; the heading is skipped.
    QTest::keyClick(window->Command1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->Text1);
    QTest::keyClick(window->Text1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->Command1);
}

// Steps: S = Show, H = Hide, O = click OK, M = move by the user, X = close box.
void AboutWindowTest::lifecycle_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("sameWindow"); // still the window built by the first step

    QTest::newRow("hide") << "H" << false << true << true;
    QTest::newRow("show") << "S" << true << true << true;
    QTest::newRow("hide, show") << "HS" << true << true << true;
    QTest::newRow("show, show") << "SS" << true << true << true;
    QTest::newRow("show, hide") << "SH" << false << true << true;
    QTest::newRow("show, OK") << "SO" << false << true << true;
    QTest::newRow("show, move, OK, show") << "SMOS" << true << false << true;
    QTest::newRow("show, move, hide, show") << "SMHS" << true << false << true;
    QTest::newRow("hide, move, show") << "HMS" << true << false << true;
    QTest::newRow("hide, show, hide, show") << "HSHS" << true << true << true;
    QTest::newRow("show, move, close, show") << "SMXS" << true << true << false;
    QTest::newRow("show, move, close, hide") << "SMXH" << false << true << false;
    QTest::newRow("show, close, show, move, close, show") << "SXSMXS" << true << true << false;
    QTest::newRow("show, move, close, hide, show") << "SMXHS" << true << true << false;
}

void AboutWindowTest::lifecycle()
{
    QFETCH(QString, steps);
    QFETCH(bool, visible);
    QFETCH(bool, centred);
    QFETCH(bool, sameWindow);

    AboutWindowRef ref;
    QCOMPARE(ref.Window(), nullptr);
    QPointer<Form2> first;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        QPointer<Form2> before = ref.Window();
        switch (steps.at(i).toLatin1()) {
        case 'S': ref.Show(); break;
        case 'H': ref.Hide(); break;
        case 'O': QTest::mouseClick(before->Command1, Qt::LeftButton); break;
        case 'M': before->move(before->pos() + QPoint(37, -21)); break;
        case 'X':
            QVERIFY(before->windowHandle()->close()); // what the close box does
            QCOMPARE(ref.Window(), nullptr);          // unloaded at once
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(before.isNull()); // and gone
            break;
        }
        QCoreApplication::processEvents();
        first = i == 0 ? ref.Window() : first.data();
        QVERIFY(LiveForms() <= 1);
    }
    Form2* window = ref.Window();
    QVERIFY(window != nullptr);
    QCOMPARE(window->parentWidget(), nullptr);
    QCOMPARE(window->isVisible(), visible);
    QCOMPARE(window->pos() == CentredPos(*window), centred);
    QCOMPARE(window == first.data(), sameWindow);
}

void AboutWindowTest::referenceDeletesItsWindow()
{
    QPointer<Form2> closed;
    QPointer<Form2> live;
    {
        AboutWindowRef ref;
        ref.Show();
        closed = ref.Window();
        closed->close(); // unloaded, its deletion still pending
        ref.Hide();
        live = ref.Window();
        QVERIFY(live != closed && !closed.isNull());
    }
    QVERIFY(live.isNull() && closed.isNull());
}

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"

// The main window as a user meets it: layout, start-up, provinces, the date line, dragging and its place.
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"
#include "ui/main/placement.h"

#include <QtTest>
#include <QtWidgets>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// The date line as the locale writes it; on Windows the user's, in Windows' names (the month's genitive, used
// beside a day) and ASCII digits.
static QString DateLine(const QString& locale, QDate date)
{
    if (locale != "system")
        return QLocale(locale).toString(date, "ddd dd MMM yyyy");
    wchar_t day[80] = {}, month[80] = {};
#ifdef Q_OS_WIN
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + date.dayOfWeek() - 1, day, 80);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT,
                    (LOCALE_SABBREVMONTHNAME1 + date.month() - 1) | LOCALE_RETURN_GENITIVE_NAMES, month, 80);
#endif
    return QString::fromWCharArray(day) + date.toString(" dd ") + QString::fromWCharArray(month)
        + date.toString(" yyyy");
}

// The weights of the label's runs: 0 in the designed face, else the face's OS/2 weight class, negated where a
// regular face is emboldened; none where a run has no face that has its characters (glyph 0, a box).
static QList<int> Weights(const QLabel& label, const QFont& designed)
{
    QTextLayout layout(label.text(), label.font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QList<int> weights;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QByteArray os2 = run.rawFont().fontTable("OS/2");
        if (run.glyphIndexes().contains(0) || os2.size() < 6)
            return {};
        const int weight = qFromBigEndian<quint16>(os2.constData() + 4);
        weights << (run.rawFont() == QRawFont::fromFont(designed)                       ? 0
                        : run.rawFont().weight() >= QFont::Bold && weight < QFont::Bold ? -weight
                                                                                        : weight);
    }
    return weights;
}

using namespace quorvane;

class MainWindowTest : public QObject, public Clock {
    Q_OBJECT
    QDate m_today;
    std::unique_ptr<Form1> m_form;

    QDate Today() const override { return m_today; }
    QLabel* Label(int n) const { return m_form->findChild<QLabel*>(QString("Label%1").arg(n)); }
    QTimer* Timer(int n) const { return m_form->findChild<QTimer*>(QString("Timer%1").arg(n)); }
    QRadioButton* Option(int n) const { return m_form->findChild<QRadioButton*>(QString("Option%1").arg(n)); }
    QString Shown() const
    {
        QStringList times;
        for (int number = 9; number <= 14; ++number)
            times << Label(number)->text();
        return Label(2)->text() + ": " + times.join(", ");
    }
    void WaitForTick(int timer) { QVERIFY(QSignalSpy(Timer(timer), &QTimer::timeout).wait(10000)); }
    void VerifyProvince(int chosen)
    {
        for (int number : {1, 2})
            QVERIFY(Timer(number)->isActive() == (number == chosen)
                    && Option(number)->isChecked() == (number == chosen)
                    && Option(number)->font().bold() == (number == chosen));
    }

private slots:
    void initTestCase() { InstallClassicFontSubstitutes(); }
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_today = QDate(2027, 1, 1);
        m_form = std::make_unique<Form1>(*this);
    }

    // A fixed borderless panel with no taskbar button, every caption as designed (no tick yet) in its
    // font and whole, each time beside its name, and where controls overlap, the designed one on top.
    void layout()
    {
        m_form->show();
        QVERIFY(m_form->minimumSize() == QSize(208, 294) && m_form->maximumSize() == QSize(208, 294));
        QVERIFY(m_form->windowFlags().testFlags(Qt::Tool | Qt::FramelessWindowHint));
        // Every control's place, size and alignment, one line each ("Label15 192 264 9 17 left", sorted by
        // name), as the designed table gives them in twips, rounded to pixels by hand; its SHA-256.
        QStringList controls;
        for (const QWidget* w : m_form->findChildren<QWidget*>(QRegularExpression("^(Label|Frame|Option)"))) {
            const auto* label = qobject_cast<const QLabel*>(w);
            const int align = label ? int(label->alignment() & Qt::AlignHorizontal_Mask) : 0;
            const char* alignment = align == Qt::AlignLeft ? "left"
                : align == Qt::AlignRight                  ? "right"
                : align == Qt::AlignHCenter                ? "centre"
                                                           : "-";
            controls << QString::asprintf("%s %d %d %d %d %s\n", qPrintable(w->objectName()), w->x(), w->y(),
                                          w->width(), w->height(), alignment);
        }
        controls.sort();
        QCOMPARE(QCryptographicHash::hash(controls.join("").toUtf8(), QCryptographicHash::Sha256).toHex(),
                 "5f80ec32c66ca5a15c864a1c3ec877a448a8bb3aad316356ea2afb9587cabdb3");
        // The face drawn, marked serif by PANOSE's serif style in its OS/2 table (11 to 13 are sans).
        const auto face = [](const QFont& font) {
            const int serifs = QRawFont::fromFont(font).fontTable("OS/2").leftJustified(34).at(33);
            return QFontInfo(font).family() + (serifs >= 11 && serifs <= 13 ? "" : " serif");
        };
        const auto caption = [&](int n) {
            const QFont font = Label(n)->font();
            const QString size = QString::number(font.pointSizeF()) + (font.bold() ? " bold" : "");
            return QString("%1 (%2 %3)").arg(Label(n)->text(), face(font), size);
        };
#ifdef Q_OS_WIN
        // Arial Narrow comes only with Office.
        QStringList fonts = {"Microsoft Sans Serif", "Arial"};
#else
        QStringList fonts = {"Liberation Sans", "Liberation Sans Narrow"};
#endif
        // Where even these are missing, any face without serifs (even where the system's default has them).
        for (int font : {0, 1})
            if (!QFontDatabase::hasFamily(fonts[font]))
                fonts[font] = QFontInfo(Label(font == 0 ? 3 : 1)->font()).family();
        QCOMPARE(QStringList({caption(1), caption(2), caption(3), caption(9), caption(15), caption(16)}),
                 QStringList({"QUORVANE (%2 11.25)", "QUORVANE (%1 12 bold)", "Fajr (Subah) (%1 12)",
                              "4:30 (%1 12)", "X (%1 8.25 bold)", "? (%1 8.25 bold)"})
                     .replaceInStrings("%1", fonts[0])
                     .replaceInStrings("%2", fonts[1]));
        const QString tips = face(QToolTip::font()); // the system's, in a face of its own
        QVERIFY2(Label(1)->cursor().shape() == Qt::SizeAllCursor
                     && Label(15)->toolTip() == "Double Click to Exit" && Label(16)->toolTip() == "About"
                     && !tips.endsWith(" serif"),
                 qPrintable("tool tips in " + tips));
        for (const QLabel* label : m_form->findChildren<QLabel*>()) {
            const QRect text = label->fontMetrics().boundingRect(label->contentsRect(),
                                                                 int(label->alignment()), label->text());
            QVERIFY2(label->contentsRect().contains(text)
                         && m_form->rect().contains(text.translated(label->mapTo(m_form.get(), QPoint()))),
                     qPrintable(label->objectName()));
        }
        QVERIFY(Option(1)->sizeHint().width() <= Option(1)->width()
                && Option(2)->sizeHint().width() <= Option(2)->width());
        const QList<std::pair<QPoint, const char*>> hits = {
            {{207, 5}, "Label1"},   {{40, 44}, "Frame1"},   {{108, 60}, "Label9"},   {{101, 227}, "Label14"},
            {{60, 275}, "Option2"}, {{40, 265}, "Option1"}, {{196, 270}, "Label15"}, {{195, 279}, "Label16"}};
        for (const auto& [at, inFront] : hits)
            QVERIFY2(m_form->childAt(at)->objectName() == inFront, inFront);
    }

    // Eastern from the start; a province chosen by access key, arrow key (as a click does) or focus shows
    // its times from its timer's next tick, a new date at the next tick. Without the system's move (as here)
    // a press of any button drags to the release, not a maximized window. Where a panel out of reach goes.
    void ticks()
    {
        QVERIFY(Timer(1)->isActive() && !Timer(2)->isActive() && !Option(1)->isChecked()); // as built
        QSignalSpy activated(m_form.get(), &Form1::activated);
        m_form->show(); // selected, and activated for the About window, whether or not the system does
        VerifyProvince(1);
        QCOMPARE(activated.count(), 1);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QVERIFY(Option(1)->hasFocus() && Timer(1)->interval() == 1000 && activated.count() == 1);
        WaitForTick(1);
        QCOMPARE(Shown(), "Fri 01 Jan 2027: 4 . 54, 6 . 16, 12 . 09, 3 . 30, 6 . 00, 7 . 15");
        for (const QString how : {"access key", "arrow key", "focus"})
            for (const auto& [chosen, key, arrow, times] :
                 {std::tuple {2, Qt::Key_N, Qt::Key_Down, "5 . 00, 6 . 22, 12 . 15, 3 . 36, 6 . 06, 7 . 21"},
                  std::tuple {1, Qt::Key_E, Qt::Key_Up, "4 . 54, 6 . 16, 12 . 09, 3 . 30, 6 . 00, 7 . 15"}}) {
                const QString before = Shown();
                if (how == "access key")
                    QTest::keyClick(m_form.get(), key, Qt::AltModifier);
                if (how == "arrow key")
                    QTest::keyClick(Option(3 - chosen), arrow);
                if (how == "focus")
                    Option(chosen)->setFocus(Qt::MouseFocusReason);
                VerifyProvince(chosen);
                QCOMPARE(Shown(), before); // until the next tick
                WaitForTick(chosen);
                QVERIFY2(Shown().endsWith(times), qPrintable(how));
            }
        m_today = QDate(2028, 2, 29);
        WaitForTick(1);
        QCOMPARE(Shown(), "Tue 29 Feb 2028: 5 . 03, 6 . 19, 12 . 19, 3 . 39, 6 . 17, 7 . 27");
        m_today = QDate(); // a clock that cannot tell the date: the times stay, the date line is blank
        m_form->Timer1_Timer();
        QCOMPARE(Shown(), " : 5 . 03, 6 . 19, 12 . 19, 3 . 39, 6 . 17, 7 . 27");
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            const QPoint start = m_form->pos();
            QTest::mousePress(Label(1), button, Qt::ShiftModifier, QPoint(50, 5));
            QTest::mouseMove(Label(1), QPoint(80, 25));
            QTest::mouseRelease(Label(1), button, {}, QPoint(80, 25));
            QTest::mouseMove(Label(1), QPoint(10, 10));
            QCOMPARE(m_form->pos(), start + QPoint(30, 20));
        }
        QSignalSpy exit(m_form.get(), &Form1::exitRequested);
        m_form->close(); // the system's close request ends the program, as "X" does
        QCOMPARE(exit.count(), 1);
        m_form->setWindowState(Qt::WindowMaximized);
        const QPoint maximized = m_form->pos();
        QTest::mousePress(Label(1), Qt::LeftButton, {}, QPoint(50, 5));
        QTest::mouseMove(Label(1), QPoint(90, 40));
        QCOMPARE(m_form->pos(), maximized);
        const QList<std::pair<QList<QRect>, QPoint>> places = {
            {{{0, 0, 1017, 732}}, {809, 438}},
            {{{900, 0, 600, 800}}, {1292, 506}},
            {{{0, 0, 640, 480}, {640, 0, 1280, 1024}}, {810, 438}},
            {{{0, 0, 900, 768}, {900, 0, 900, 768}}, {692, 474}},
            {{{0, 0, 150, 200}}, {0, 0}}};
        for (const auto& [areas, expected] : places)
            QCOMPARE(ReachablePosition({810, 438}, {208, 294}, areas, areas.first()), expected);
    }

    // The date line in every locale (on Windows also the user's), every month and weekday: the locale's text
    // (C's where no face has its script), without boxes, in one weight (bold where the script has a bold
    // face), whole in its band above the frame (clear rows either side, at least 8 pixels of ink), in one
    // size all year: 12 points, or only as much smaller as the year's lines need, also on a narrowed label.
    // English exactly as a plain label draws it.
    void dateLine()
    {
        QStringList locales = {"en_US", "C", "en_GB", "si_LK", "ta_LK", "hi_IN", "ar_SA"};
#ifdef Q_OS_WIN
        locales << "system";
#endif
        QLabel* const label = Label(2);
        const qreal scale = m_form->devicePixelRatioF();
        const int top = label->y() * scale, frame = m_form->findChild<QFrame*>("Frame1")->y() * scale;
        QLabel plain; // as a label draws the English line
        plain.setGeometry(label->geometry());
        plain.setFont(ClassicFont("MS Sans Serif", 12, true));
        plain.setAlignment(label->alignment());
        plain.setBackgroundRole(QPalette::Button);
        plain.setForegroundRole(QPalette::ButtonText);
        plain.setAutoFillBackground(true);
        const auto Ink = [&](const QImage& image, const QRect& area) { // what is not the background
            QRect ink;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (image.pixel(x, y) != label->palette().color(QPalette::Button).rgb())
                        ink |= QRect(x, y, 1, 1);
            return ink;
        };
        for (const auto& [width, names] : {std::pair {label->width(), locales}, {120, {"en_GB"}}})
            for (const QString& name : names) {
                const QLocale locale = name == "system" ? QLocale::system() : QLocale(name);
                const auto script =
                    QMap<QLocale::Script, QFontDatabase::WritingSystem> {
                        {QLocale::SinhalaScript, QFontDatabase::Sinhala},
                        {QLocale::TamilScript, QFontDatabase::Tamil},
                        {QLocale::DevanagariScript, QFontDatabase::Devanagari},
                        {QLocale::ArabicScript, QFontDatabase::Arabic}}
                        .value(locale.script(), QFontDatabase::Latin);
                const QStringList faces = QFontDatabase::families(script);
                const bool bold = std::ranges::any_of(
                    faces, [](const QString& face) { return QFontDatabase::styles(face).contains("Bold"); });
                qreal size = 0;
                bool wider = false; // at 0.25 points more, a line too wide, or the ink of the year's lines
                QRect larger; // (the label's own picture) more rows than the band less a clear row each
                for (QDate date(2027, 1, 4); date.year() == 2027; date = date.addDays(3)) {
                    label->resize(width, label->height());
                    QLocale::setDefault(locale);
                    m_today = date;
                    m_form->Timer1_Timer();
                    const QString line = DateLine(faces.isEmpty() ? "C" : name, date);
                    const QList<int> weights = Weights(*label, plain.font());
                    QVERIFY2(label->text() == line && !weights.isEmpty()
                                 && weights.count(weights[0]) == weights.size()
                                 && (weights[0] == 0 ? label->font().bold()
                                         : bold      ? weights[0] >= QFont::Bold
                                                     : weights[0] > 0),
                             qPrintable(label->text() + " / " + line));
                    size = size == 0 ? label->font().pointSizeF() : size;
                    QCOMPARE(label->font().pointSizeF(), size); // the year's
                    const int left = label->x() * scale + 1, right = (label->x() + width) * scale - 2;
                    const QRect ink = Ink(m_form->grab().toImage(),
                                          QRect(QPoint(left, top), QPoint(right, frame - 1)));
                    const QString seen = QString::asprintf("%s (%s) at %g: rows %d to %d of %d to %d",
                                                           qPrintable(label->text()), qPrintable(name), scale,
                                                           ink.top(), ink.bottom(), top, frame - 1);
                    QVERIFY2(ink.top() > top && ink.bottom() < frame - 1 && ink.height() >= 8 * scale,
                             qPrintable(seen));
                    const QFont fitted = label->font();
                    QFont font = fitted;
                    font.setPointSizeF(size + 0.25);
                    label->setFont(font);
                    const QImage picture = label->grab().toImage();
                    label->setFont(fitted);
                    wider |= QFontMetricsF(font).horizontalAdvance(label->text()) > width;
                    larger |= Ink(picture, picture.rect().adjusted(1, 0, -1, 0));
                    plain.setText(label->text());
                    QVERIFY2((name != "en_US" && name != "C")
                                 || plain.grab().toImage() == label->grab().toImage(),
                             qPrintable(seen));
                }
                QVERIFY2(
                    size == 12 || wider || larger.height() > frame - top - 2 * std::max(1, int(scale)),
                    qPrintable(QString("%1 at %2 points: %3 rows").arg(name).arg(size).arg(larger.height())));
            }
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

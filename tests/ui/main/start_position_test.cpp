// Where the main window opens, on screens of every size.
#include "ui/main/start_position.h"

#include <QTest>

using namespace quorvane;

class StartPositionTest : public QObject {
    Q_OBJECT
private slots:
    void chooses_data()
    {
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QPoint>("expected");
        const QRect xga(0, 0, 1024, 768);
        QTest::newRow("1024x768: as designed, in the corner") << QList<QRect>{xga} << QPoint(810, 438);
        QTest::newRow("exactly fits") << QList<QRect>{{0, 0, 1018, 732}} << QPoint(810, 438);
        QTest::newRow("1920x1080") << QList<QRect>{{0, 0, 1920, 1080}} << QPoint(810, 438);
        QTest::newRow("800x600: bottom-right corner") << QList<QRect>{{0, 0, 800, 600}} << QPoint(592, 306);
        QTest::newRow("one pixel short") << QList<QRect>{{0, 0, 1017, 732}} << QPoint(809, 438);
        QTest::newRow("taskbar at the bottom") << QList<QRect>{{0, 0, 1024, 700}} << QPoint(816, 406);
        QTest::newRow("panel on the left") << QList<QRect>{{900, 0, 600, 800}} << QPoint(1292, 506);
        QTest::newRow("second screen holds it")
            << QList<QRect>{{0, 0, 640, 480}, {640, 0, 1280, 1024}} << QPoint(810, 438);
        QTest::newRow("straddles two screens")
            << QList<QRect>{{0, 0, 900, 768}, {900, 0, 900, 768}} << QPoint(692, 474);
        QTest::newRow("screen smaller than the window") << QList<QRect>{{0, 0, 150, 200}} << QPoint(0, 0);
    }
    void chooses()
    {
        QFETCH(QList<QRect>, areas);
        QFETCH(QPoint, expected);
        QCOMPARE(ChooseStartPosition({810, 438}, {208, 294}, areas, areas.first()), expected);
    }
};

QTEST_GUILESS_MAIN(StartPositionTest)
#include "start_position_test.moc"

// Where the main window stands, on screens of every size and after they change.
#include "ui/main/placement.h"

#include <QTest>

using namespace quorvane;

class PlacementTest : public QObject {
    Q_OBJECT
private slots:
    void reachable_data()
    {
        QTest::addColumn<QPoint>("wanted");
        QTest::addColumn<QList<QRect>>("areas");
        QTest::addColumn<QPoint>("expected");
        const QPoint designed(810, 438);
        const QRect xga(0, 0, 1024, 768);
        QTest::newRow("1024x768: as designed, in the corner") << designed << QList<QRect>{xga} << designed;
        QTest::newRow("exactly fits") << designed << QList<QRect>{{0, 0, 1018, 732}} << designed;
        QTest::newRow("1920x1080") << designed << QList<QRect>{{0, 0, 1920, 1080}} << designed;
        QTest::newRow("800x600: bottom-right corner") << designed << QList<QRect>{{0, 0, 800, 600}} << QPoint(592, 306);
        QTest::newRow("one pixel short") << designed << QList<QRect>{{0, 0, 1017, 732}} << QPoint(809, 438);
        QTest::newRow("taskbar at the bottom") << designed << QList<QRect>{{0, 0, 1024, 700}} << QPoint(816, 406);
        QTest::newRow("panel on the left") << designed << QList<QRect>{{900, 0, 600, 800}} << QPoint(1292, 506);
        QTest::newRow("second screen holds it")
            << designed << QList<QRect>{{0, 0, 640, 480}, {640, 0, 1280, 1024}} << designed;
        QTest::newRow("straddles two screens")
            << designed << QList<QRect>{{0, 0, 900, 768}, {900, 0, 900, 768}} << QPoint(692, 474);
        QTest::newRow("screen smaller than the window") << designed << QList<QRect>{{0, 0, 150, 200}} << QPoint(0, 0);
        QTest::newRow("dragged onto a second screen")
            << QPoint(1510, 338) << QList<QRect>{xga, {1024, 0, 1024, 768}} << QPoint(1510, 338);
        QTest::newRow("that screen unplugged") << QPoint(1510, 338) << QList<QRect>{xga} << QPoint(816, 474);
    }
    void reachable()
    {
        QFETCH(QPoint, wanted);
        QFETCH(QList<QRect>, areas);
        QFETCH(QPoint, expected);
        QCOMPARE(ReachablePosition(wanted, {208, 294}, areas, areas.first()), expected);
    }
};

QTEST_GUILESS_MAIN(PlacementTest)
#include "placement_test.moc"

#include "app/display_guard.h"
#include "ui/main/classic_fonts.h"
#include "ui/main/form1.h"
#include "ui/main/start_position.h"

#include <QApplication>
#include <QScreen>

using namespace quorvane;

namespace {

void PlaceAtDesignedPosition(QWidget& window)
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    const QScreen* primary = QGuiApplication::primaryScreen();
    window.move(ChooseStartPosition(Form1::kDesignedPosition, window.size(), areas,
                                    primary ? primary->availableGeometry() : QRect()));
}

} // namespace

int main(int argc, char* argv[])
{
    ArmDisplayGuard();
    QApplication app(argc, argv);
    DisarmDisplayGuard();
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    InstallClassicFontSubstitutes();

    static const SystemClock clock;
    Form1 form1(clock);
    QObject::connect(&form1, &Form1::exitRequested, &app, &QCoreApplication::quit);
    PlaceAtDesignedPosition(form1);
    form1.show();
    return QApplication::exec();
}

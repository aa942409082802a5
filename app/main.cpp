#include "app/about_link.h"
#include "app/display_guard.h"
#include "ui/about/about_window_ref.h"
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"
#include "ui/main/start_position.h"

#include <QApplication>
#include <QIcon>
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
    AboutWindowRef about; // the program's one About window, built at first use
    Form1 form1(clock);
    form1.setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane-32.png")));
    LinkAboutWindow(form1, about);
    // "X" ends the program at once, the About window with it.
    QObject::connect(&form1, &Form1::exitRequested, &app, &QCoreApplication::quit);
    PlaceAtDesignedPosition(form1);
    form1.show();
    return QApplication::exec();
}

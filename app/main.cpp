#include "app/platform_choice.h"
#include "app/single_instance.h"
#include "app/startup_guard.h"
#include "ui/about/about_window_ref.h"
#include "ui/common/classic_fonts.h"
#include "ui/main/form1.h"
#include "ui/main/placement.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>

using namespace quorvane;

namespace {

// The window's icon, two colours as designed. It is kept as a PBM, which Qt
// reads itself where a PNG would bring in libpng and zlib, and read as one: a
// reader left to guess the format first loads every image format plugin to ask.
QIcon ProgramIcon()
{
    QImageReader reader(QStringLiteral(":/icons/quorvane-32.pbm"), "pbm");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<char*> arguments = QtArguments(argc, argv);
    int argumentCount = static_cast<int>(arguments.size()) - 1;
    ArmStartupGuard();
    QApplication app(argumentCount, arguments.data());
    DisarmStartupGuard();
    if (HandedOverToRunningPanel())
        return 0;
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    InstallClassicFontSubstitutes();

    static const SystemClock clock;
    AboutWindowRef about; // the program's one About window, built at first use
    Form1 form1(clock);
    form1.setWindowIcon(ProgramIcon());
    ComeToFrontOnRequest(form1);
    // "?" shows the About window; the main window's activation hides it. A
    // window not built yet (or unloaded by its close box) has nothing to hide:
    // it is built at the next "?", centred, as a hidden one built now would
    // stand, so the panel's first frame does not wait for it.
    QObject::connect(&form1, &Form1::aboutRequested, &form1, [&about] { about.Show(); });
    QObject::connect(&form1, &Form1::activated, &form1, [&about] {
        if (about.Window() != nullptr)
            about.Hide();
    });
    // "X" ends the program at once, the About window with it.
    QObject::connect(&form1, &Form1::exitRequested, &app, &QCoreApplication::quit);
    PlaceWithinReach(form1, Form1::kDesignedPosition);
    KeepWithinReach(form1);
    form1.show();
#ifdef Q_OS_WIN
    // Windows shows a program's first window active and on top (ShowWindow
    // with the start-up SW_SHOWNORMAL); Qt shows a tool window without
    // activating it, so the panel would open behind the window it was started
    // from. (Wine also leaves a window shown that way to itself rather than to
    // the window manager, which then cannot run the title drag.)
    form1.activateWindow();
    form1.raise();
#endif
    return QApplication::exec();
}

#include "app/single_instance.h"

#include <QPointer>
#include <QWidget>

namespace quorvane {
namespace {

QPointer<QWidget> g_panel;

} // namespace

void ComeToFrontOnRequest(QWidget& panel)
{
    g_panel = &panel;
}

void BringPanelToFront()
{
    if (g_panel == nullptr)
        return;
    g_panel->setWindowState(g_panel->windowState() & ~Qt::WindowMinimized);
    g_panel->show();
    g_panel->raise();
    g_panel->activateWindow();
}

} // namespace quorvane

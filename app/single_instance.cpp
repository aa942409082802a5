#include "app/single_instance.h"

#include "ui/common/bring_to_front.h"

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
    BringToFront(*g_panel);
}

} // namespace quorvane

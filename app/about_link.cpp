#include "app/about_link.h"

#include "ui/about/about_window_ref.h"
#include "ui/main/form1.h"

namespace quorvane {

void LinkAboutWindow(Form1& main, AboutWindowRef& about)
{
    QObject::connect(&main, &Form1::aboutRequested, &main, [&about] { about.Show(); });
    QObject::connect(&main, &Form1::activated, &main, [&about] { about.Hide(); });
}

} // namespace quorvane

#include "ui/about/about_window_ref.h"

#include "ui/about/form2.h"
#include "ui/common/bring_to_front.h"

namespace quorvane {

AboutWindowRef::~AboutWindowRef()
{
    delete m_window;
}

Form2& AboutWindowRef::Loaded()
{
    if (m_window == nullptr)
        m_window = new Form2;
    return *m_window;
}

void AboutWindowRef::Show()
{
    // Minimized by a window manager's menu or keys and shown as it stands, it
    // would stay an icon.
    BringToFront(Loaded());
}

void AboutWindowRef::Hide()
{
    Form2& window = Loaded();
    // A minimized window is out of sight already. Taken from its icon and
    // shown again at once (a click on "?" activates the panel first), it may
    // be taken up anew by the window manager without its taskbar state.
    if (!window.isMinimized())
        window.hide();
}

Form2* AboutWindowRef::Window() const
{
    return m_window;
}

} // namespace quorvane

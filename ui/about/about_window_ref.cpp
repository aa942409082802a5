#include "ui/about/about_window_ref.h"

#include "ui/about/form2.h"

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
    Form2& window = Loaded();
    window.show();
    window.raise();
    window.activateWindow();
}

void AboutWindowRef::Hide()
{
    Loaded().hide();
}

Form2* AboutWindowRef::Window() const
{
    return m_window;
}

} // namespace quorvane

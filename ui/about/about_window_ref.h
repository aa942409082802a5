// The program's one reference to its single About window.
#pragma once

#include <QPointer>

namespace quorvane {

class Form2;

// Empty until the first Show() or Hide(), which builds the window, centred.
// Hide() leaves it where it stands; its close box unloads it, and the next
// Show() or Hide() builds it anew, centred.
class AboutWindowRef {
public:
    AboutWindowRef() = default;
    ~AboutWindowRef();
    AboutWindowRef(const AboutWindowRef&) = delete;
    AboutWindowRef& operator=(const AboutWindowRef&) = delete;

    // Builds the window if need be, then shows it modeless, without owner, and activates it;
    // a minimized window is restored.
    void Show();
    // Builds the window (hidden) if need be, then hides it; a minimized window stays so.
    void Hide();

    // The built window; nullptr before the first use and once the close box has unloaded it.
    Form2* Window() const;

private:
    Form2& Loaded();

    QPointer<Form2> m_window;
};

} // namespace quorvane

// The program's one reference to its single About window.
#pragma once

#include <QPoint>
#include <QPointer>

namespace quorvane {

class Form2;

// Empty until the first Show() or Hide(), which builds the window from its design,
// centred on the primary screen. Hiding keeps the window (and where it stands);
// its close box unloads it, and the next Show() or Hide() builds it anew, centred.
// There is never more than one About window at a time.
class AboutWindowRef {
public:
    AboutWindowRef() = default;
    ~AboutWindowRef();

    AboutWindowRef(const AboutWindowRef&) = delete;
    AboutWindowRef& operator=(const AboutWindowRef&) = delete;

    // Loads the window if needed, then shows it modeless, without owner, and activates it.
    void Show();
    // Loads the window (hidden) if needed, then hides it.
    void Hide();

    // The loaded window; nullptr before the first use and after the close box unloaded it.
    Form2* Window() const;

private:
    Form2* Load();

    QPointer<Form2> window_;
    // A window closed by its close box, waiting for its deferred deletion.
    QPointer<Form2> unloading_;
    // A newly built window is centred by its client size; its frame is known once it
    // is first shown, and then it is centred again unless it was moved meanwhile.
    bool centre_on_first_show_ = false;
    QPoint built_at_;
};

} // namespace quorvane

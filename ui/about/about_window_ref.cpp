#include "ui/about/about_window_ref.h"

#include "ui/about/form2.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace quorvane {

namespace {

void CentreOnPrimaryScreen(QWidget& window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    window.move(available.x() + (available.width() - frame.width()) / 2,
                available.y() + (available.height() - frame.height()) / 2);
}

// Where the window manager adds the frame only once the window is mapped
// (X11), the frame's size is known at the first move after showing: centre
// the framed window then, once.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Move &&
            m_window.frameGeometry().size() != m_window.size()) {
            m_window.removeEventFilter(this);
            CentreOnPrimaryScreen(m_window);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

AboutWindowRef::~AboutWindowRef()
{
    delete window_;
    delete unloading_;
}

Form2* AboutWindowRef::Load()
{
    if (window_ == nullptr) {
        auto* window = new Form2;
        // The close box unloads the window: it goes away once the close has finished.
        window->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(window, &Form2::Unloaded, window, [this, window] {
            if (window_ == window) {
                unloading_ = window;
                window_ = nullptr;
            }
        });
        CentreOnPrimaryScreen(*window);
        window_ = window;
        centre_on_first_show_ = true;
        built_at_ = window->pos();
    }
    return window_;
}

void AboutWindowRef::Show()
{
    Form2* window = Load();
    window->show();
    if (centre_on_first_show_) {
        centre_on_first_show_ = false;
        if (window->pos() == built_at_) {
            if (window->frameGeometry().size() == window->size())
                new CentreWhenFramed(*window); // the frame is not known yet
            else
                CentreOnPrimaryScreen(*window);
        }
    }
    window->raise();
    window->activateWindow();
}

void AboutWindowRef::Hide()
{
    Load()->hide();
}

Form2* AboutWindowRef::Window() const
{
    return window_;
}

} // namespace quorvane

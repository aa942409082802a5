#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace quorvane {

// Moves a window with the mouse until the button is released, for systems
// that will not run a move of their own. It watches the whole application's
// mouse events, since the press that started it may have grabbed the mouse
// for any widget, and deletes itself at the release.
class ManualWindowMove : public QObject {
    Q_OBJECT
public:
    static void Start(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ManualWindowMove(QWidget& window);
    void Finish();

    QPointer<QWidget> m_window;
    QPoint m_startCursor;
    QPoint m_startWindow;
};

} // namespace quorvane

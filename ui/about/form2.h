// The About window: a heading, a read-only box of credits and an OK button.
#pragma once

#include <QWidget>

class QLabel;
class QMoveEvent;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace quorvane {

// Built centred on the primary screen. Its close box unloads it (the window
// deletes itself); OK only hides it.
class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);

    // The controls, named as in the window's design; all are children of the window.
    QPlainTextEdit* const Text1;
    QPushButton* const Command1;
    QLabel* const Label1;

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_centredWithFrame = false;
};

} // namespace quorvane

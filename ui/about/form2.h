// The About window: a heading, a read-only box of credits and an OK button.
#pragma once

#include <QWidget>

class QCloseEvent;
class QEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace quorvane {

class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);

    // The controls, named as in the window's design; all are children of the window.
    QPlainTextEdit* const Text1;
    QPushButton* const Command1;
    QLabel* const Label1;

signals:
    // The close box took the window down (the close was accepted).
    void Unloaded();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Button face behind the window and the credits box, window text in the box,
    // button text for the heading: taken from the application palette.
    void ApplySystemColours();
};

} // namespace quorvane

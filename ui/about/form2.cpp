#include "ui/about/form2.h"

#include "ui/about/credits.h"
#include "ui/common/classic_fonts.h"
#include "ui/common/taskbar.h"
#include "ui/common/twips.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace quorvane {
namespace {

void CentreOnPrimaryScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Text1(new QPlainTextEdit(this)),
      Command1(new QPushButton(this)),
      Label1(new QLabel(this))
{
    // A screen reader meets the window as a dialog named by its title; a plain
    // widget would come as a nameless pane (AT-SPI's filler, a UI Automation
    // group). Set before anything asks for the window's interface; Qt deletes it.
    QAccessible::registerAccessibleInterface(new QAccessibleWidget(this, QAccessible::Dialog));
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(TwipsToPixels(2610), TwipsToPixels(6120));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(ClassicDefaultFont());
    // The system's colours by role: the button face behind the window and
    // the credits, button text in the heading.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Credits")); // for a screen reader, which has no caption to go by
    Text1->setGeometry(TwipsRect(120, 360, 2295, 5175));
    Text1->viewport()->setBackgroundRole(QPalette::Button);
    Text1->setReadOnly(true);
    Text1->setUndoRedoEnabled(false);
    Text1->setAcceptDrops(false);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    // The credits use the box's full width so that their lines fit without wrapping.
    Text1->document()->setDocumentMargin(0);
    // The document turns each "\r\n" into one line break.
    Text1->setPlainText(CreditsText());

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(TwipsRect(600, 5640, 1335, 375));
    Command1->setText(QStringLiteral("OK"));

    Label1->setObjectName(QStringLiteral("Label1"));
    // Wider than the window: the end of the heading's box is clipped by the right edge.
    Label1->setGeometry(TwipsRect(120, 120, 2655, 375));
    Label1->setText(QStringLiteral("\"Alhamdulillah\""));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setForegroundRole(QPalette::ButtonText);

    // An earlier control lies in front of a later one: Text1 covers the foot of Label1.
    Label1->raise();
    Command1->raise();
    Text1->raise();

    // Keyboard order: OK first (it holds the focus when the window first appears),
    // then the credits box; the heading takes no focus.
    setTabOrder(Command1, Text1);
    Command1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &QWidget::hide);
    // Enter (the main key or the keypad's) on the focused OK presses it, as on Windows. A push button outside
    // a dialog takes Enter only when auto-default, which would also draw it as the default button: a changed
    // look.
    auto* enter = new QShortcut(Command1);
    enter->setKeys({Qt::Key_Return, Qt::Key_Enter});
    enter->setContext(Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, Command1, &QPushButton::click);
    CentreOnPrimaryScreen(*this);
}

void Form2::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // An X11 window manager adds the frame only once the window is shown:
    // centre the window again, frame and all, when its frame first appears.
    if (!m_centredWithFrame && frameGeometry().size() != size()) {
        m_centredWithFrame = true;
        CentreOnPrimaryScreen(*this);
    }
}

void Form2::showEvent(QShowEvent* event)
{
    KeepOutOfTaskbar(*this);
    QWidget::showEvent(event);
}

} // namespace quorvane

#include "ui/about/form2.h"

#include "ui/about/credits.h"
#include "ui/common/classic_fonts.h"
#include "ui/common/taskbar.h"
#include "ui/common/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

namespace quorvane {

namespace {

constexpr int kClientWidth = TwipsToPixels(2610);
constexpr int kClientHeight = TwipsToPixels(6120);

void SetRoleFrom(QPalette& target, QPalette::ColorRole role, const QPalette& source,
                 QPalette::ColorRole sourceRole)
{
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        target.setColor(group, role, source.color(group, sourceRole));
    }
}

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      Text1(new QPlainTextEdit(this)),
      Command1(new QPushButton(this)),
      Label1(new QLabel(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(kClientWidth, kClientHeight);

    setFont(ClassicDefaultFont());
    setAutoFillBackground(true);

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(TwipsRect(120, 360, 2295, 5175));
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
    Label1->setFocusPolicy(Qt::NoFocus);

    // An earlier control lies in front of a later one: Text1 covers the foot of Label1.
    Label1->raise();
    Command1->raise();
    Text1->raise();

    // Keyboard order: OK first (it holds the focus when the window first appears),
    // then the credits box; the heading takes no focus.
    setTabOrder(Command1, Text1);
    Command1->setFocus();

    ApplySystemColours();

    connect(Command1, &QPushButton::clicked, this, &QWidget::hide);
}

void Form2::ApplySystemColours()
{
    const QPalette system = QApplication::palette();

    QPalette window = palette();
    SetRoleFrom(window, QPalette::Window, system, QPalette::Button);
    setPalette(window);

    QPalette box = Text1->palette();
    SetRoleFrom(box, QPalette::Base, system, QPalette::Button);
    SetRoleFrom(box, QPalette::Text, system, QPalette::WindowText);
    Text1->setPalette(box);

    QPalette heading = Label1->palette();
    SetRoleFrom(heading, QPalette::WindowText, system, QPalette::ButtonText);
    Label1->setPalette(heading);
}

bool Form2::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Follow changes of the system colours.
    if (event->type() == QEvent::ApplicationPaletteChange) {
        ApplySystemColours();
    }
    return handled;
}

void Form2::showEvent(QShowEvent* event)
{
    KeepOutOfTaskbar(*this);
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit Unloaded();
    }
}

} // namespace quorvane

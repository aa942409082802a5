#include "ui/main/screen_reader.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

namespace quorvane {
namespace {

class ChildrenInOrder final : public QAccessibleWidget {
public:
    ChildrenInOrder(QWidget* widget, QAccessible::Role role, const QList<QWidget*>& children)
        : QAccessibleWidget(widget, role),
          m_children(children.cbegin(), children.cend())
    {
    }

    int childCount() const override { return static_cast<int>(m_children.size()); }
    QAccessibleInterface* child(int index) const override
    {
        return QAccessible::queryAccessibleInterface(m_children.value(index)); // none for one deleted
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int index = 0; child != nullptr && index < childCount(); ++index)
            if (m_children[index] == child->object())
                return index;
        return -1;
    }

private:
    QList<QPointer<QObject>> m_children;
};

// A label, read only as Qt reads one, with a press action.
class PressableLabel final : public QAccessibleWidget {
public:
    PressableLabel(QLabel* label, std::function<void()> press)
        : QAccessibleWidget(label, QAccessible::StaticText),
          m_press(std::move(press))
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            m_press();
    }

private:
    std::function<void()> m_press;
};

} // namespace

void SetAccessibleChildren(QWidget& widget, QAccessible::Role role, const QList<QWidget*>& children)
{
    // Deleted by Qt with the widget.
    QAccessible::registerAccessibleInterface(new ChildrenInOrder(&widget, role, children));
}

void OfferPress(QLabel& label, std::function<void()> press)
{
    QAccessible::registerAccessibleInterface(new PressableLabel(&label, std::move(press))); // deleted with it
}

void NameRow(QLabel& time, const QString& prayer, std::string_view text)
{
    QString spoken = prayer.trimmed();
    if (!text.empty())
        spoken += ", "
            + QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).replace(" . ", ":");
    time.setAccessibleName(spoken);
}

} // namespace quorvane

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

} // namespace

void SetAccessibleChildren(QWidget& widget, QAccessible::Role role, const QList<QWidget*>& children)
{
    // Deleted by Qt with the widget.
    QAccessible::registerAccessibleInterface(new ChildrenInOrder(&widget, role, children));
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

#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QWidget>

namespace MurvelUI {

namespace {

const MurvelAccessibleElement* elementOf(const QObject* object) {
    return dynamic_cast<const MurvelAccessibleElement*>(object);
}

class AccessibleKitWidget final : public QAccessibleWidget {
public:
    explicit AccessibleKitWidget(QWidget* widget) : QAccessibleWidget(widget) {}

    QAccessible::Role role() const override { return info().role; }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        const MurvelAccessibility described = info();
        if (described.hidden)
            state.invisible = true;
        if (described.selected)
            state.selected = true;
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget());
            button && button->isCheckable()) {
            state.checkable = true;
            state.checked = button->isChecked();
        }
        return state;
    }

    QString text(QAccessible::Text t) const override {
        const MurvelAccessibility described = info();
        switch (t) {
        case QAccessible::Name:
            return described.label.isEmpty() ? QAccessibleWidget::text(t) : described.label;
        case QAccessible::Value:
            return described.value;
        case QAccessible::Description:
            return described.hint.isEmpty() ? QAccessibleWidget::text(t) : described.hint;
        default:
            return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return int(announcedChildren().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = announcedChildren();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child)
            return -1;
        return int(announcedChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    QStringList actionNames() const override {
        if (qobject_cast<const QAbstractButton*>(widget()))
            return {pressAction()};
        return QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        auto* button = qobject_cast<QAbstractButton*>(widget());
        if (button && actionName == pressAction() && button->isEnabled())
            button->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    MurvelAccessibility info() const {
        const auto* element = elementOf(object());
        return element ? element->accessibility() : MurvelAccessibility{};
    }

    QList<QWidget*> announcedChildren() const {
        if (info().childrenIgnored)
            return {};
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isWindow() || child->isHidden())
                continue;
            if (const auto* element = elementOf(child); element && element->accessibility().hidden)
                continue;
            children.append(child);
        }
        return children;
    }
};

QAccessibleInterface* kitFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && elementOf(object))
        return new AccessibleKitWidget(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

MurvelAccessibleElement::MurvelAccessibleElement() {
    static const bool installed = [] {
        QAccessible::installFactory(&kitFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace MurvelUI

#pragma once

#include <QAccessible>
#include <QString>

namespace MurvelUI {

// How a kit widget presents itself to assistive technology.
struct MurvelAccessibility {
    QAccessible::Role role = QAccessible::Client;
    // Decoration: screen readers skip it, and its container leaves it out of its children.
    bool hidden = false;
    // One element that reads as `label`; its children are not announced.
    bool childrenIgnored = false;
    // The element is the current choice among its siblings (the selected button of a group).
    bool selected = false;
    QString label;
    QString value;
    QString hint;

    // Decoration that screen readers skip.
    static MurvelAccessibility decoration() {
        MurvelAccessibility info;
        info.hidden = true;
        return info;
    }
    static MurvelAccessibility element(QAccessible::Role role, const QString& label,
                                       const QString& value = {}, const QString& hint = {}) {
        MurvelAccessibility info;
        info.role = role;
        info.label = label;
        info.value = value;
        info.hint = hint;
        return info;
    }
    // One element that reads as `label`, its children not announced.
    static MurvelAccessibility combined(QAccessible::Role role, const QString& label,
                                        const QString& value = {}, const QString& hint = {}) {
        MurvelAccessibility info = element(role, label, value, hint);
        info.childrenIgnored = true;
        return info;
    }
};

// A kit widget that describes itself. Deriving from it is enough: the kit answers Qt's
// accessibility queries for every such widget from `accessibility()`.
class MurvelAccessibleElement {
public:
    virtual ~MurvelAccessibleElement() = default;
    virtual MurvelAccessibility accessibility() const = 0;

protected:
    MurvelAccessibleElement();
    MurvelAccessibleElement(const MurvelAccessibleElement&) = default;
    MurvelAccessibleElement& operator=(const MurvelAccessibleElement&) = default;
};

} // namespace MurvelUI

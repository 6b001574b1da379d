#pragma once

#include <QObject>

namespace Dialcove {

// How tall the search panel's content may grow: the panel window sets it from the screen it opens
// on, and the content caps its height with it. Main thread only.
class PanelGeometry final : public QObject {
    Q_OBJECT
    Q_PROPERTY(int maximumHeight READ maximumHeight WRITE setMaximumHeight NOTIFY maximumHeightChanged)

public:
    static constexpr int initialMaximumHeight = 900;

    explicit PanelGeometry(QObject* parent = nullptr);

    int maximumHeight() const { return maximumHeight_; }
    void setMaximumHeight(int height);

signals:
    void maximumHeightChanged();

private:
    int maximumHeight_ = initialMaximumHeight;
};

} // namespace Dialcove

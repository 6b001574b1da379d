#pragma once

#include <QKeySequence>
#include <QObject>
#include <functional>

namespace Dialcove {

// The application's Settings command on Control-comma, in every window of the app. Each window
// gets one binding when it is first shown, unless it binds the key itself (the panel's footer
// may): two bindings of one key in a window would make Qt run neither. Main thread only.
class SettingsCommand final : public QObject {
    Q_OBJECT

public:
    explicit SettingsCommand(std::function<void()> action, QObject* parent = nullptr);
    ~SettingsCommand() override;

    static QKeySequence key();

    // Binds the key in `window` now, unless it is bound there already.
    void bind(QWidget* window);

    void trigger() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> action_;
};

} // namespace Dialcove

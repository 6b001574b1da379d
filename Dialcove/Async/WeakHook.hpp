#pragma once

#include <QPointer>
#include <functional>
#include <type_traits>

namespace Dialcove {

// A callback that holds its target weakly: once the target is destroyed, calling it does
// nothing. Objects of the panel graph wire each other with these, so no cycle keeps one alive.
//
//   session->onAccessCheck = weakHook(panel, &ContactsPanel::refresh);
//   navigation->onMove = weakHook(actions, [](ContactActions& actions) { actions.cancel(); });
template <typename Target, typename... Args>
std::function<void(Args...)> weakHook(Target* target, void (Target::*method)(Args...)) {
    static_assert(std::is_base_of_v<QObject, Target>, "a weak hook's target is a QObject");
    return [target = QPointer<Target>(target), method](Args... args) {
        if (target)
            (target.data()->*method)(std::forward<Args>(args)...);
    };
}

// The same with a callable that receives the target first, then the hook's arguments.
template <typename... Args, typename Target, typename Callable>
std::function<void(Args...)> weakHook(Target* target, Callable callable) {
    static_assert(std::is_base_of_v<QObject, Target>, "a weak hook's target is a QObject");
    return [target = QPointer<Target>(target), callable = std::move(callable)](Args... args) {
        if (target)
            callable(*target, std::forward<Args>(args)...);
    };
}

// A callback that does nothing: where hooks start before anyone wires them.
template <typename... Args> std::function<void(Args...)> noHook() {
    return [](Args...) {};
}

} // namespace Dialcove

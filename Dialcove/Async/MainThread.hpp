#pragma once

#include <source_location>

namespace Dialcove {

// True on the thread of the application object (the GUI thread).
bool isMainThread();

// Stops the program when called anywhere but on the main thread: state confined to the main
// thread touched from another is a fault to find at once, not a race to live with.
void assertMainThread(std::source_location where = std::source_location::current());

} // namespace Dialcove

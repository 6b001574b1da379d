#pragma once

#include <functional>

class QWidget;
class QWindow;

namespace Dialcove {

class ContactSettings;
class ContactsPanel;

// Opens the preferences window: 560 points wide, centred on the pointer's screen when it was
// hidden, built once over `settings` (the live view, with the sync-folder button) and kept when
// closed. The caller closes the search panel first. Returns the window.
QWidget* showPreferencesWindow(ContactSettings& settings);

// Opens the welcome window, named for the app: 560 points wide and as tall as its page (up to the
// screen), centred on the pointer's screen when it was hidden, built once over `panel` and kept when
// closed. Both of its finishing buttons run `finish` (which stores that the welcome was seen, then
// closes it); Control-W and Escape close it without. `beforeShow` runs on its window just before
// it shows (or shows again). The caller closes the search panel first. Returns the window.
QWidget* showWelcomeWindow(ContactsPanel& panel, std::function<void()> finish,
                           const std::function<void(QWindow& window)>& beforeShow = {});
// Closes the welcome window when it is open.
void closeWelcomeWindow();

} // namespace Dialcove

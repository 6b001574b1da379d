#pragma once

class QWidget;

namespace Dialcove {

class ContactSettings;

// Opens the preferences window: 560 points wide, centred on the pointer's screen when it was
// hidden, built once over `settings` (the live view, with the sync-folder button) and kept when
// closed. The caller closes the search panel first. Returns the window.
QWidget* showPreferencesWindow(ContactSettings& settings);

} // namespace Dialcove

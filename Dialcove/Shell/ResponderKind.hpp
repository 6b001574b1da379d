#pragma once

namespace Dialcove {

// What has the keyboard focus in the panel, as the key router sees it.
enum class ResponderKind {
    // An editable text field: the search field.
    text,
    // Nothing focused, or a widget that is not a control (a list, a plain container).
    panel,
    // A button, check box, menu button, slider or spin box, a read-only text, a widget whose
    // accessible role is button-like, or any control that reported its focus to the panel keyboard.
    control,
};

} // namespace Dialcove

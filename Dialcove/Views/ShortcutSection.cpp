#include "Dialcove/Views/ShortcutSection.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/DesktopRouteTexts.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"
#include "Dialcove/Views/ShortcutCaps.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Cards/PanelActionRow.hpp"
#include "MurvelUI/Cards/PanelShortcutKeys.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

namespace Dialcove {

using MurvelUI::MurvelStackLayout;

namespace {

MurvelUI::PanelShortcutKeys::Editor editorFor(PanelKeyboard& keyboard) {
    return {ShortcutSection::tr("Search contacts"),
            ShortcutSection::editorHint(keyboard.recordingShortcut(), keyboard.shortcutConflict()),
            ShortcutSection::tr("Click to change the shortcut"), [&keyboard] { keyboard.toggleRecording(); }};
}

} // namespace

ShortcutSection::ShortcutSection(ContactsPanel& panel, QWidget* parent) : QWidget(parent), panel_(panel) {
    assertMainThread();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* column = new MurvelStackLayout(MurvelStackLayout::Axis::vertical, 8,
                                         MurvelStackLayout::Alignment::leading, this);
    PanelKeyboard& keyboard = panel_.keyboard();
    keys_ = new MurvelUI::PanelShortcutKeys(routeShortcutCaps(panel_.routes(), panel_.settings().values().shortcut), std::nullopt,
                                            appBrand(), false, false, false, editorFor(keyboard));
    PanelControlFocus::attach(keys_, &keyboard);

    MurvelUI::PanelActionRow::Inputs inputs;
    inputs.title = tr("Search contacts");
    inputs.symbol = QStringLiteral("magnifyingglass");
    inputs.brand = appBrand();
    row_ = new MurvelUI::PanelActionRow(std::move(inputs), keys_);
    // At a large text size the caps go under the title rather than squeeze it away.
    row_->stack()->setWrapsWhenCrowded(true);
    column->addWidget(row_, MurvelStackLayout::Options::filling());

    auto* hint = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::horizontal, 0,
                                           MurvelStackLayout::Alignment::leading);
    hint->setPadding(QMargins(40, 0, 0, 0));
    hint->setFillsWidth(true);
    auto* text = new MurvelUI::MurvelText(
        tr("Type the new shortcut \u00B7 Esc cancels \u00B7 \u232B restores the default"));
    text->setColor(MurvelUI::MurvelColor::of(&MurvelUI::BrandPalette::secondary));
    hint->stack()->addWidget(text, MurvelStackLayout::Options::filling());
    hint_ = hint;
    column->addWidget(hint_, MurvelStackLayout::Options::filling());

    auto* note = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::horizontal, 0,
                                           MurvelStackLayout::Alignment::leading);
    note->setPadding(QMargins(40, 0, 0, 0));
    note->setFillsWidth(true);
    noteText_ = new MurvelUI::MurvelText(QString());
    noteText_->setColor(MurvelUI::MurvelColor::of(&MurvelUI::BrandPalette::secondary));
    note->stack()->addWidget(noteText_, MurvelStackLayout::Options::filling());
    note_ = note;
    column->addWidget(note_, MurvelStackLayout::Options::filling());

    connect(&panel_.settings(), &ContactSettings::valuesChanged, this, &ShortcutSection::refresh);
    connect(&keyboard, &PanelKeyboard::recordingShortcutChanged, this, &ShortcutSection::refresh);
    connect(&keyboard, &PanelKeyboard::shortcutConflictChanged, this, &ShortcutSection::refresh);
    DesktopRoutes& routes = panel_.routes();
    connect(&routes, &DesktopRoutes::trayAvailableChanged, this, &ShortcutSection::refresh);
    connect(&routes, &DesktopRoutes::hotKeyRouteChanged, this, &ShortcutSection::refresh);
    connect(&routes, &DesktopRoutes::portalTriggerChanged, this, &ShortcutSection::refresh);
    refresh();
}

QString ShortcutSection::editorHint(bool recording, bool conflict) {
    if (recording)
        return tr("Type shortcut");
    if (conflict)
        return tr("Another app uses this shortcut");
    return tr("Click to change the shortcut");
}

void ShortcutSection::refresh() {
    PanelKeyboard& keyboard = panel_.keyboard();
    const bool recording = keyboard.recordingShortcut();
    const DialcoveCore::ContactPreferences& values = panel_.settings().values();
    const QStringList caps = routeShortcutCaps(panel_.routes(), values.shortcut);
    if (keys_->keys() != caps && !caps.isEmpty())
        keys_->setKeys(caps);
    // Where the desktop holds the shortcut and says of no key, there is nothing to click.
    keys_->setVisible(!caps.isEmpty() || recording);
    if (keys_->isEditing() != recording)
        keys_->setEditing(recording);
    const bool showsConflict = keyboard.shortcutConflict() && !recording;
    if (keys_->hasConflict() != showsConflict)
        keys_->setConflict(showsConflict);
    keys_->setEditor(editorFor(keyboard));
    hint_->setVisible(recording);
    const QString note = routeShortcutNote(panel_.routes(), values.enabled, keyboard.shortcutConflict());
    if (noteText_->text() != note)
        noteText_->setText(note);
    note_->setVisible(!recording && !note.isEmpty());
}

} // namespace Dialcove

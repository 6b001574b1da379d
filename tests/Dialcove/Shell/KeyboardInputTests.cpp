#include "Dialcove/Shell/KeyboardInput.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "tests/Dialcove/Support/PanelWindow.hpp"
#include "tests/support/QtPrinters.hpp"
#include "tests/support/XdgSandbox.hpp"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <variant>

using Dialcove::KeyboardInput;
using Dialcove::PanelPhase;
using Dialcove::ResponderKind;
using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;

namespace {

// Where a row of the routing table finds the panel: shown under a tray icon and listing Ana, Bruno
// and Carla, the search field focused and empty.
enum class Context {
    list,             // Bruno selected, between the other two
    listTextSelected, // the field holds "Ana", all of it selected
    listComposing,    // an input method composing in the field
    buttonFocused,    // the view's button has the focus
    recording,        // a new shortcut is being recorded
    detail,           // Ana open, her mobile number selected with copy
    detailComposing,  // the same, composing in the search field clicked again
};

void compose(PanelWindow& w) {
    QInputMethodEvent composing("ka", {});
    QCoreApplication::sendEvent(w.field(), &composing);
}

void enter(PanelWindow& w, Context context) {
    Dialcove::ContactNavigation& navigation = w.graph.navigation();
    navigation.move(DialcoveCore::MoveDirection::next);
    switch (context) {
    case Context::list:
        break;
    case Context::listTextSelected:
        w.field()->setText("Ana");
        w.field()->selectAll();
        break;
    case Context::listComposing:
        compose(w);
        break;
    case Context::buttonFocused:
        w.button()->setFocus();
        break;
    case Context::recording:
        w.graph.panel->keyboard().setRecordingShortcut(true);
        break;
    case Context::detail:
    case Context::detailComposing:
        navigation.move(DialcoveCore::MoveDirection::previous);
        navigation.openSelected();
        if (context == Context::detailComposing) {
            // The open contact takes the focus from the field; the user clicks back into it.
            w.field()->setFocus();
            compose(w);
        }
        break;
    }
}

// A key as QTest types it: a Qt key, or a character with the text it types.
struct Key {
    std::variant<Qt::Key, char> key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;

std::string describe(const DialcoveCore::NavigationState& state) {
    if (!state.selectedContactID)
        return "";
    std::string text = state.selectedContactID->rawValue;
    if (state.detail)
        text += state.detail->isEdit() ? " / edit"
                                       : " / " + state.detail->fieldID().rawValue + " " +
                                             std::string(DialcoveCore::rawValue(state.detail->action()));
    return text;
}

std::string describe(const DialcoveCore::ActionRequest& request) {
    const char* kinds[] = {"copy", "whatsapp", "message", "call", "email"};
    return std::string(kinds[static_cast<int>(request.kind)]) + " " + request.text;
}

// What the panel graph and the window show.
struct Outcome {
    PanelPhase phase;
    std::string selection;
    QString query;
    QString field;
    std::string output; // what was copied or opened
    int closes;
    int beeps;
    bool shown;
    int buttonPresses;
    bool recording;
    Shortcut shortcut;

    friend bool operator==(const Outcome&, const Outcome&) = default;

    static Outcome of(const PanelWindow& w) {
        std::string output;
        for (const std::string& copied : w.graph.output->copies)
            output += "copy " + copied;
        for (const auto& open : w.graph.output->opens)
            output += describe(open.request);
        return {w.graph.session().phase(),
                describe(w.graph.navigation().state()),
                w.graph.search().query(),
                w.field()->text(),
                output,
                w.graph.closes,
                w.graph.beeps,
                w.window.isVisible(),
                w.buttonPresses,
                w.graph.panel->keyboard().recordingShortcut(),
                w.graph.settings->values().shortcut};
    }
};

void PrintTo(const Outcome& o, std::ostream* out) {
    const char* phases[] = {"closed", "loading", "list", "detail", "failure", "permission"};
    *out << "{" << phases[static_cast<int>(o.phase)] << ", selection \"" << o.selection << "\", query \""
         << o.query.toStdString() << "\", field \"" << o.field.toStdString() << "\", output \"" << o.output
         << "\", closes " << o.closes << ", beeps " << o.beeps << (o.shown ? ", shown" : ", hidden")
         << ", button presses " << o.buttonPresses << (o.recording ? ", recording" : "") << ", shortcut "
         << o.shortcut.keyCode() << "/" << int(o.shortcut.modifiers().rawValue()) << "}";
}

// What a key changes; what it leaves out stays as the context had it.
struct Change {
    std::optional<PanelPhase> phase = std::nullopt;
    std::optional<std::string> selection = std::nullopt;
    std::optional<QString> query = std::nullopt;
    std::optional<QString> field = std::nullopt;
    std::optional<std::string> output = std::nullopt;
    std::optional<int> closes = std::nullopt;
    std::optional<int> beeps = std::nullopt;
    std::optional<bool> shown = std::nullopt;
    std::optional<int> buttonPresses = std::nullopt;
    std::optional<bool> recording = std::nullopt;
    std::optional<Shortcut> shortcut = std::nullopt;

    Outcome appliedTo(const Outcome& o) const {
        return {phase.value_or(o.phase),
                selection.value_or(o.selection),
                query.value_or(o.query),
                field.value_or(o.field),
                output.value_or(o.output),
                closes.value_or(o.closes),
                beeps.value_or(o.beeps),
                shown.value_or(o.shown),
                buttonPresses.value_or(o.buttonPresses),
                recording.value_or(o.recording),
                shortcut.value_or(o.shortcut)};
    }
};

// Closing empties the selection and hides the window.
const Change closed{.phase = PanelPhase::closed, .selection = "", .closes = 1, .shown = false};
const Change nothing{};

Change closedAfter(std::string output) {
    Change change = closed;
    change.output = std::move(output);
    return change;
}

const QRect trayIcon{600, 0, 24, 24};

// Every key goes through the window as the display would deliver it, past the router to the focused
// control when the router lets it go.
TEST(KeyboardInput, RoutesEachKeyByWhereThePanelIs) {
    const Shortcut controlOptionJ =
        *Shortcut::make(38, {ShortcutModifiers::control, ShortcutModifiers::option}, "J");
    const struct {
        const char* name;
        Context context;
        Key key;
        Change change;
    } cases[] = {
        // The list.
        {"Down selects the next contact", Context::list, {Qt::Key_Down}, {.selection = "carla"}},
        {"Up selects the one before", Context::list, {Qt::Key_Up}, {.selection = "ana"}},
        {"Return opens the selected contact",
         Context::list,
         {Qt::Key_Return},
         {.phase = PanelPhase::detail, .selection = "bruno / bruno-mail copy"}},
        {"keypad Enter too",
         Context::list,
         {Qt::Key_Enter, Qt::KeypadModifier},
         {.phase = PanelPhase::detail, .selection = "bruno / bruno-mail copy"}},
        {"Escape closes the panel", Context::list, {Qt::Key_Escape}, closed},
        {"Control-C without a number to copy beeps", Context::list, {Qt::Key_C, ctrl}, {.beeps = 1}},
        {"a letter types into the field and searches", Context::list, {'a'}, {.query = "a", .field = "a"}},
        {"Left is the field's", Context::list, {Qt::Key_Left}, nothing},
        {"Control-Return means nothing in the list", Context::list, {Qt::Key_Return, ctrl}, nothing},
        {"Shift-Down is the field's", Context::list, {Qt::Key_Down, Qt::ShiftModifier}, nothing},
        {"Alt-Return is the field's", Context::list, {Qt::Key_Return, Qt::AltModifier}, nothing},
        {"Control-Down is passed on", Context::list, {Qt::Key_Down, ctrl}, nothing},
        {"Control-Escape is passed on", Context::list, {Qt::Key_Escape, ctrl}, nothing},
        {"Control-C with text selected copies the text, not a number",
         Context::listTextSelected,
         {Qt::Key_C, ctrl},
         nothing},
        // An input method composing: every key is its.
        {"Return while composing", Context::listComposing, {Qt::Key_Return}, nothing},
        {"Escape while composing", Context::listComposing, {Qt::Key_Escape}, nothing},
        {"Down while composing", Context::listComposing, {Qt::Key_Down}, nothing},
        // A focused button keeps its keys, except Escape.
        {"Return presses the focused button", Context::buttonFocused, {Qt::Key_Return}, {.buttonPresses = 1}},
        {"Down stays with the button", Context::buttonFocused, {Qt::Key_Down}, nothing},
        {"a letter stays with the button", Context::buttonFocused, {'a'}, nothing},
        {"Escape still closes", Context::buttonFocused, {Qt::Key_Escape}, closed},
        // Recording a shortcut: every key is the recorder's.
        {"a combination becomes the shortcut",
         Context::recording,
         {Qt::Key_J, ctrl | Qt::AltModifier},
         {.recording = false, .shortcut = controlOptionJ}},
        {"Escape cancels the recording, not the panel",
         Context::recording,
         {Qt::Key_Escape},
         {.recording = false}},
        {"a plain letter is no shortcut and is not typed", Context::recording, {'a'}, nothing},
        {"an arrow is no shortcut and moves nothing", Context::recording, {Qt::Key_Down}, nothing},
        // An open contact.
        {"Down selects the next field",
         Context::detail,
         {Qt::Key_Down},
         {.selection = "ana / ana-mail copy"}},
        {"Right selects the next action",
         Context::detail,
         {Qt::Key_Right},
         {.selection = "ana / ana-mobile whatsapp"}},
        {"Return runs the selected action, and the panel closes",
         Context::detail,
         {Qt::Key_Return},
         closedAfter("copy +55 11 91234-5678")},
        {"Control-Return opens the chat",
         Context::detail,
         {Qt::Key_Return, ctrl},
         {.output = "whatsapp +5511912345678"}},
        {"Control-keypad-Enter too",
         Context::detail,
         {Qt::Key_Enter, ctrl | Qt::KeypadModifier},
         {.output = "whatsapp +5511912345678"}},
        {"Control-C is the field's", Context::detail, {Qt::Key_C, ctrl}, nothing},
        {"Escape goes back to the list",
         Context::detail,
         {Qt::Key_Escape},
         {.phase = PanelPhase::list, .selection = "ana"}},
        {"a letter goes back and searches for it alone",
         Context::detail,
         {'x'},
         {.phase = PanelPhase::list, .selection = "ana", .query = "x", .field = "x"}},
        {"a capital letter too",
         Context::detail,
         {'X', Qt::ShiftModifier},
         {.phase = PanelPhase::list, .selection = "ana", .query = "X", .field = "X"}},
        {"not with Alt: passed on, and the open contact has no field to type into",
         Context::detail,
         {'x', Qt::AltModifier},
         nothing},
        {"not with Control", Context::detail, {'x', ctrl}, nothing},
        {"Tab is no text", Context::detail, {Qt::Key_Tab}, nothing},
        {"not while composing", Context::detailComposing, {'x'}, {.field = "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelWindow w;
        w.showAndList(trayIcon, trayIcon);
        enter(w, c.context);
        const Outcome before = Outcome::of(w);

        QWindow* display = w.window.windowHandle();
        if (const auto* key = std::get_if<Qt::Key>(&c.key.key))
            QTest::keyClick(display, *key, c.key.modifiers);
        else
            QTest::keyClick(display, std::get<char>(c.key.key), c.key.modifiers);
        // An action asks the worker for its contact before it copies or opens.
        TestSupport::drainEvents();
        for (const auto& lookUp : w.graph.worker->lookUps) {
            for (const auto& contact : Contacts::all())
                if (contact.id() == lookUp.id)
                    lookUp.answer.answer(std::optional(contact));
            EXPECT_TRUE(TestSupport::waitUntil(
                [&] { return !w.graph.output->copies.empty() || !w.graph.output->opens.empty(); }));
        }
        TestSupport::drainEvents();

        EXPECT_EQ(Outcome::of(w), c.change.appliedTo(before));
    }
}

// Ending the recording registers the hot key from the settings, so the new shortcut must be in
// them, and in the sync, by then.
TEST(KeyboardInput, ARecordedShortcutIsStoredBeforeTheRecordingEnds) {
    TestSupport::XdgSandbox xdg;
    ASSERT_TRUE(xdg.isValid());
    auto defaults = std::make_shared<Platform::UserDefaults>(xdg.path("dialcove.ini"));
    auto settings = std::make_shared<Dialcove::ContactSettings>(
        defaults, std::nullopt,
        Dialcove::ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(std::nullopt),
                                           [] { return std::optional<std::string>("BR"); }});
    PanelWindow w(settings);
    w.showAndList(trayIcon);
    Dialcove::PanelKeyboard& keyboard = w.graph.panel->keyboard();
    keyboard.setRecordingShortcut(true);

    const Shortcut controlOptionJ =
        *Shortcut::make(38, {ShortcutModifiers::control, ShortcutModifiers::option}, "J");
    std::vector<std::pair<std::optional<Shortcut>, std::optional<Shortcut>>> atEachChange;
    keyboard.setOnRecordingChange([&] {
        const auto stored = settings->sync()->value<nlohmann::json>("shortcut");
        atEachChange.emplace_back(settings->values().shortcut,
                                  stored ? Shortcut::decode(*stored) : std::nullopt);
    });
    QTest::keyClick(w.window.windowHandle(), Qt::Key_J, ctrl | Qt::AltModifier);
    EXPECT_FALSE(keyboard.recordingShortcut());
    EXPECT_EQ(atEachChange,
              (std::vector{std::pair{std::optional(controlOptionJ), std::optional(controlOptionJ)}}));
}

// A custom-drawn control: a plain widget that tells assistive technology it is a button.
QAccessibleInterface* drawnButtonAccessible(const QString&, QObject* object) {
    if (object->isWidgetType() && object->objectName() == "drawn button")
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Button);
    return nullptr;
}

TEST(KeyboardInput, TellsTextFromControlsAndTheRest) {
    QAccessible::installFactory(drawnButtonAccessible);
    QLineEdit field;
    QLineEdit readOnly;
    readOnly.setReadOnly(true);
    QPushButton button;
    QCheckBox checkBox;
    QComboBox menu;
    QSlider slider;
    QLabel selectable("Ana");
    selectable.setTextInteractionFlags(Qt::TextSelectableByKeyboard);
    QListView results;
    QWidget container;
    QWidget drawn;
    drawn.setObjectName("drawn button");

    const struct {
        const char* name;
        const QWidget* responder;
        bool focusedControl;
        ResponderKind kind;
    } cases[] = {
        {"nothing focused", nullptr, false, ResponderKind::panel},
        {"the search field", &field, false, ResponderKind::text},
        {"a read-only field", &readOnly, false, ResponderKind::control},
        {"a button", &button, false, ResponderKind::control},
        {"a check box", &checkBox, false, ResponderKind::control},
        {"a menu", &menu, false, ResponderKind::control},
        {"a slider", &slider, false, ResponderKind::control},
        {"a selectable label", &selectable, false, ResponderKind::control},
        {"a list", &results, false, ResponderKind::panel},
        {"a container", &container, false, ResponderKind::panel},
        {"a drawn widget with a button's role", &drawn, false, ResponderKind::control},
        {"the field while a control reports its focus", &field, true, ResponderKind::control},
        {"nothing while a control reports its focus", nullptr, true, ResponderKind::control},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyboardInput::classifyResponder(c.responder, c.focusedControl), c.kind) << c.name;
    QAccessible::removeFactory(drawnButtonAccessible);
}

TEST(KeyboardInput, TellsTypedTextFromKeysThatTypeNone) {
    const struct {
        const char* name;
        QString text;
        bool special;
    } cases[] = {
        {"a letter", "a", false},
        {"a capital with a diacritic", QString::fromUtf8("É"), false},
        {"a digit", "7", false},
        {"a space", " ", false},
        {"an emoji", QString::fromUtf8("😀"), false},
        {"nothing", "", false},
        {"Tab", "\t", true},
        {"Return", "\r", true},
        {"Escape", "\x1b", true},
        {"Delete", "\x7f", true},
        {"a format character", QString(QChar(0x200B)), true},
        {"an arrow as some systems report it", QString(QChar(0xF700)), true},
        {"the last of that range", QString(QChar(0xF8FF)), true},
        {"a letter and a control character", "a\x01", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyboardInput::hasSpecialCharacter(c.text), c.special) << c.name;
}

} // namespace

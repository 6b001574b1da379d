#include "Dialcove/Views/ContactsPreferencesView.hpp"

#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ShortcutCaps.hpp"
#include "DialcoveCore/PhonePlan.hpp"
#include "DialcoveCore/PreferenceKey.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"
#include "MurvelUI/Preferences/PreferencesGroup.hpp"
#include "MurvelUI/Preferences/PreferencesLayout.hpp"
#include "MurvelUI/Preferences/PreferencesLoginRow.hpp"
#include "MurvelUI/Preferences/PreferencesMenuStyle.hpp"
#include "MurvelUI/Preferences/PreferencesRow.hpp"
#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <vector>

using DialcoveCore::PhonePlan;
using namespace MurvelUI;

Q_LOGGING_CATEGORY(lcPreferencesView, "works.murvel.dialcove.preferences")

namespace Dialcove {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ContactsPreferencesView", text);
}

QString planLabel(const PhonePlan& plan) {
    switch (plan) {
    case PhonePlan::brazil:
        return tr("Brazil (+55)");
    case PhonePlan::northAmerica:
        return tr("United States / Canada (+1)");
    case PhonePlan::portugal:
        return tr("Portugal (+351)");
    case PhonePlan::mexico:
        return tr("Mexico (+52)");
    case PhonePlan::spain:
        return tr("Spain (+34)");
    case PhonePlan::germany:
        return tr("Germany (+49)");
    case PhonePlan::austria:
        return tr("Austria (+43)");
    case PhonePlan::switzerland:
        return tr("Switzerland (+41)");
    case PhonePlan::other:
        return tr("Other: only numbers with +");
    }
    return {};
}

QString keyName(DialcoveCore::PreferenceKey key) {
    const std::string_view raw = DialcoveCore::rawValue(key);
    return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
}

} // namespace

ContactsPreferencesView::ContactsPreferencesView(ContactSettings& settings, bool isSnapshot,
                                                 ChooseSyncFolder chooseSyncFolder, LoginItem* loginItem,
                                                 QWidget* parent)
    : QWidget(parent), settings_(&settings), isSnapshot_(isSnapshot),
      chooseSyncFolder_(std::move(chooseSyncFolder)) {
    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);

    // General: open at login, the shortcut, and the sync note while there is no sync.
    general_ = new PreferencesGroup(tr("General"));
    if (isSnapshot_) {
        loginRow_ = new PreferencesToggleRow(QCoreApplication::translate("MurvelUI", "Open at Login"),
                                             std::nullopt, false);
        connect(loginRow_->toggle(), &QAbstractButton::toggled, this,
                &ContactsPreferencesView::snapshotOpenAtLoginChanged);
    } else {
        loginRow_ = loginItem ? new PreferencesLoginRow(*loginItem) : new PreferencesLoginRow;
    }
    loginRow_->toggle()->setObjectName(QStringLiteral("preferences.loginSwitch"));
    general_->addRow(loginRow_);

    caps_ = new KeyCaps;
    caps_->setObjectName(QStringLiteral("preferences.shortcutCaps"));
    general_->addRow(
        new PreferencesRow(tr("Search shortcut"), tr("Change it in the menu bar panel."), false, caps_));

    auto* sync = new MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::leading);
    sync->setObjectName(QStringLiteral("preferences.syncNote"));
    sync->setFillsWidth(true);
    sync->setPadding(QMargins(0, 4, 0, 8));
    // Plain text in the body style, which grows with the text size like every other text here.
    auto* note = new MurvelText(tr("iCloud is unavailable. Your settings stay on this Mac."));
    applyFont(note, MurvelTextStyle::body);
    sync->stack()->addWidget(note, MurvelStackLayout::Options::filling());
    if (chooseSyncFolder_) {
        chooseButton_ = new MurvelButton(tr("Choose Sync Folder\u2026"));
        chooseButton_->setObjectName(QStringLiteral("preferences.chooseSyncFolder"));
        applyPreferencesMenuStyle(chooseButton_);
        connect(chooseButton_, &QAbstractButton::clicked, this, [this] {
            // A copy: choosing may rebuild what holds this view's callbacks.
            const ChooseSyncFolder choose = chooseSyncFolder_;
            choose(window());
        });
        sync->stack()->addWidget(chooseButton_, {});
    }
    syncNote_ = sync;
    general_->addRow(syncNote_);

    // The chosen folder, with the way to change it or to stop syncing.
    auto* folderButtons =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    auto* change = new MurvelButton(tr("Change\u2026"));
    change->setObjectName(QStringLiteral("preferences.changeSyncFolder"));
    applyPreferencesMenuStyle(change);
    connect(change, &QAbstractButton::clicked, this, [this] {
        const ChooseSyncFolder choose = chooseSyncFolder_;
        if (choose)
            choose(window());
        showSyncState();
    });
    auto* stop = new MurvelButton(tr("Stop Syncing"));
    stop->setObjectName(QStringLiteral("preferences.stopSyncing"));
    applyPreferencesMenuStyle(stop);
    connect(stop, &QAbstractButton::clicked, this, [this] {
        const std::function<void()> forget = place_.stop;
        if (forget)
            forget();
        showSyncState();
    });
    folderButtons->stack()->addWidget(change, {});
    folderButtons->stack()->addWidget(stop, {});
    folderRow_ = new PreferencesRow(tr("Sync folder"), QString(), false, folderButtons);
    folderRow_->setObjectName(QStringLiteral("preferences.syncFolder"));
    general_->addRow(folderRow_);

    // Phone numbers: the country code, every plan in declaration order.
    phone_ = new PreferencesGroup(tr("Phone numbers"));
    const std::vector<PhonePlan> plans(DialcoveCore::allPhonePlans.begin(),
                                       DialcoveCore::allPhonePlans.end());
    countryCode_ = PreferencesChoiceMenu::make<PhonePlan>(tr("Country code"), settings.values().phonePlan,
                                                          plans, &planLabel);
    countryCode_->setObjectName(QStringLiteral("preferences.countryCode"));
    connect(countryCode_, &ChoiceMenu::selectionChosen, this, &ContactsPreferencesView::choosePlan);
    phone_->addRow(new PreferencesRow(
        tr("Country code"), tr("For numbers saved without + and the country code."), true, countryCode_));

    auto* form =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 32, MurvelStackLayout::Alignment::leading);
    form->setFillsWidth(true);
    form->stack()->addWidget(general_, MurvelStackLayout::Options::filling());
    form->stack()->addWidget(phone_, MurvelStackLayout::Options::filling());
    layout_ = new PreferencesLayout(appBrand(), tr("Preferences"), form, this);

    connect(&settings, &ContactSettings::valuesChanged, this, &ContactsPreferencesView::showValues);
    connect(&settings, &ContactSettings::syncUnavailableChanged, this,
            &ContactsPreferencesView::showSyncState);
    showValues();
    showSyncState();
}

bool ContactsPreferencesView::snapshotOpenAtLogin() const {
    return isSnapshot_ && loginRow_->isOn();
}

void ContactsPreferencesView::showValues() {
    if (!settings_)
        return;
    const DialcoveCore::ContactPreferences& values = settings_->values();
    const QStringList caps = Dialcove::shortcutCaps(values.shortcut);
    if (caps_->keys() != caps)
        caps_->setKeys(caps);
    // Moves the menu only: a value that arrives is never written back.
    if (countryCode_->selection().value<PhonePlan>() != values.phonePlan)
        countryCode_->setSelection(QVariant::fromValue(values.phonePlan));
}

void ContactsPreferencesView::setSyncFolderPlace(SyncFolderPlace place) {
    place_ = std::move(place);
    showSyncState();
}

void ContactsPreferencesView::showSyncState() {
    syncNote_->setVisible(settings_ && settings_->syncUnavailable());
    const std::optional<QString> folder = place_.current ? place_.current() : std::nullopt;
    if (folder && folderRow_->noteView() != nullptr)
        folderRow_->noteView()->setText(*folder);
    folderRow_->setVisible(folder.has_value());
}

void ContactsPreferencesView::choosePlan(const QVariant& choice) {
    if (!settings_)
        return;
    const PhonePlan plan = choice.value<PhonePlan>();
    settings_->update(DialcoveCore::PreferenceValue::phonePlan(plan));
    // The sync of this moment: a new account replaces it.
    if (MurvelPreferences::PreferenceSync* sync = settings_->sync())
        sync->set(plan, keyName(DialcoveCore::PreferenceKey::phonePlan));
    qCDebug(lcPreferencesView) << "country code chosen:"
                               << QString::fromUtf8(DialcoveCore::rawValue(plan).data());
}

QSize ContactsPreferencesView::sizeHint() const {
    return layout_->sizeHint();
}

int ContactsPreferencesView::heightForWidth(int width) const {
    return layout_->heightForWidth(width);
}

void ContactsPreferencesView::resizeEvent(QResizeEvent* event) {
    layout_->setGeometry(0, 0, layout_->sizeHint().width(), height());
    QWidget::resizeEvent(event);
}

} // namespace Dialcove

// Renders every component of the UI kit, in the light and the dark scheme, to PNG files, so that a
// person can look at the kit without running the app. Usage: MurvelUIGallery <output folder>.

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/MurvelTextStyle.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/ActionRow.hpp"
#include "MurvelUI/Cards/GlassCard.hpp"
#include "MurvelUI/Cards/InlineNotice.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/NoticeCard.hpp"
#include "MurvelUI/Cards/OpenAtLoginRow.hpp"
#include "MurvelUI/Cards/PanelActionRow.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Cards/PanelShortcutKeys.hpp"
#include "MurvelUI/Cards/PrivacyLine.hpp"
#include "MurvelUI/Cards/SettingRow.hpp"
#include "MurvelUI/Cards/UpdateCard.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/ChoiceMenu.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "PreferencesPages.hpp"
#include "WelcomePages.hpp"
#include "tests/MurvelUI/Support/OffscreenSetup.hpp"
#include "tests/MurvelUI/gallery/SampleColumn.hpp"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace MurvelUI;

namespace {

using Gallery::brand;

// A page of the gallery: the brand background behind a column of labelled samples, 368 points wide
// like the search panel.
class Page final : public Gallery::SampleColumn {
public:
    Page() {
        setAttribute(Qt::WA_DontShowOnScreen);
        applyFont(this, MurvelFont::detail);
    }
};

// A row of colour squares with their names.
class Swatches final : public QWidget {
public:
    using Entry = std::pair<QString, QColor (*)(MurvelColorScheme)>;
    explicit Swatches(QList<Entry> entries) : entries_(std::move(entries)) {
        setFixedHeight(int((entries_.size() + 1) / 2) * 28);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
        painter.setFont(font());
        for (int i = 0; i < entries_.size(); ++i) {
            const QRectF square((i % 2) * 168.0, (i / 2) * 28.0 + 2, 22, 22);
            QPen pen(SystemPalette::primary(scheme));
            pen.setWidthF(0.5);
            painter.setPen(pen);
            painter.setBrush(entries_[i].second(scheme));
            painter.drawRoundedRect(square, 5, 5);
            painter.setPen(SystemPalette::primary(scheme));
            painter.drawText(square.translated(30, 0).adjusted(0, 0, 120, 0), Qt::AlignVCenter,
                             entries_[i].first);
        }
    }

private:
    QList<Entry> entries_;
};

QColor accentOf(MurvelColorScheme scheme) {
    return brand.accent(scheme);
}

MurvelButton* smallButton(const QString& title) {
    auto* button = new MurvelButton(title);
    button->setControlSize(MurvelControlSize::small);
    return button;
}

void brandPage(Page& page) {
    page.caption(QStringLiteral("BrandPalette, PrivacyGreen, brand accent"));
    page.add(new Swatches({{QStringLiteral("focusRing"), &BrandPalette::focusRing},
                           {QStringLiteral("secondary"), &BrandPalette::secondary},
                           {QStringLiteral("fill"), &BrandPalette::fill},
                           {QStringLiteral("strongFill"), &BrandPalette::strongFill},
                           {QStringLiteral("attention"), &BrandPalette::attention},
                           {QStringLiteral("PrivacyGreen"), &PrivacyGreen::color},
                           {QStringLiteral("accent"), &accentOf},
                           {QStringLiteral("quaternary"), &SystemPalette::quaternary}}));
    page.caption(QStringLiteral("MurvelFont roles"));
    const char* names[] = {"title",           "text",
                           "textSemibold",    "support",
                           "supportSemibold", "heading",
                           "welcomeTitle",    "mark",
                           "detail",          "detailSemibold",
                           "keyCap",          "versionLine",
                           "footerSymbol",    "readout 0123456789"};
    for (std::size_t i = 0; i < allMurvelFonts.size(); ++i) {
        auto* sample = new MurvelText(QString::fromLatin1(names[i]));
        applyFont(sample, allMurvelFonts[i]);
        page.add(sample, false);
    }
}

void symbolsPage(Page& page) {
    page.caption(QStringLiteral("Symbols, by name (secondary and accent)"));
    const QStringList names = {"person.crop.rectangle",
                               "person.crop.rectangle.fill",
                               "exclamationmark.triangle",
                               "exclamationmark.triangle.fill",
                               "exclamationmark.circle",
                               "checkmark",
                               "checkmark.circle",
                               "checkmark.circle.fill",
                               "circle",
                               "2.circle",
                               "3.circle.fill",
                               "info.circle",
                               "clock",
                               "pencil",
                               "hand.raised",
                               "network.slash",
                               "arrow.up.forward.app",
                               "arrow.down.circle",
                               "gearshape",
                               "questionmark.circle",
                               "power",
                               "magnifyingglass",
                               "chevron.left",
                               "birthday.cake"};
    for (int i = 0; i < names.size(); ++i) {
        auto* row = new MurvelStack(MurvelStackLayout::Axis::horizontal, 8,
                                    MurvelStackLayout::Alignment::firstBaseline);
        applyFont(row, MurvelFont::support);
        row->stack()->addWidget(
            new MurvelSymbolView(names[i], MurvelColor::of(i % 2 ? &accentOf : &BrandPalette::secondary)),
            MurvelStackLayout::Options::framed(20));
        auto* big = new MurvelSymbolView(names[i]);
        applyFont(big, MurvelFont::title);
        row->stack()->addWidget(big, MurvelStackLayout::Options::framed(30));
        row->stack()->addWidget(new MurvelText(names[i]), {});
        page.add(row);
    }
}

void noticesPage(Page& page) {
    page.caption(QStringLiteral("InlineNotice: warning, waiting, info with a trailing button"));
    page.add(new InlineNotice(NoticeKind::warning, QStringLiteral("The shortcut is taken by another app.")));
    page.add(
        new InlineNotice(NoticeKind::waiting, QStringLiteral("Waiting for Contacts access. This can take a "
                                                             "moment while the address book is read.")));
    page.add(new InlineNotice(NoticeKind::info, QStringLiteral("Sync is off."),
                              smallButton(QStringLiteral("Retry"))));
    page.caption(QStringLiteral("NoticeCard with actions, and without"));
    page.add(new NoticeCard(
        QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Contacts access is off"),
        QStringLiteral("Dialcove needs to read your address book to search it. It never changes "
                       "a contact."),
        {new MurvelButton(QStringLiteral("Open Settings")), new MurvelButton(QStringLiteral("Try Again"))}));
    page.add(new NoticeCard(QStringLiteral("exclamationmark.triangle.fill"),
                            QStringLiteral("Could not open the app"),
                            QStringLiteral("No app handles this link.")));
}

void keysAndLinesPage(Page& page) {
    page.caption(QStringLiteral("KeyCaps: \u2303\u2325K, Space \u2318, K K, none"));
    page.add(new KeyCaps({QStringLiteral("\u2303"), QStringLiteral("\u2325"), QStringLiteral("K")}), false);
    page.add(new KeyCaps({QStringLiteral("Space"), QStringLiteral("\u2318")}), false);
    page.add(new KeyCaps({QStringLiteral("K"), QStringLiteral("K")}), false);
    page.add(new KeyCaps(QStringList()), false);
    page.caption(QStringLiteral("AppIcon 24, 40, 88 (no application icon: the generic image)"));
    auto* icons =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center);
    for (qreal size : {24.0, 40.0, 88.0})
        icons->stack()->addWidget(new AppIcon(size), {});
    page.add(icons, false);
    page.caption(QStringLiteral("PrivacyLine: the brand's line, a custom one, a long one"));
    page.add(new PrivacyLine(brand.privacyLine()));
    page.add(
        new PrivacyLine(QStringLiteral("Your contacts, read only"), QStringLiteral("person.crop.rectangle")));
    page.add(
        new PrivacyLine(QStringLiteral("No internet, no data collected, nothing leaves this computer, ever, "
                                       "not even a crash report"),
                        QStringLiteral("network.slash")));
}

// A row of the search panel; `configure` sets what differs from a plain clickable row.
PanelActionRow* actionRow(const QString& title, const std::function<void(PanelActionRow::Inputs&)>& configure,
                          QWidget* trailing = nullptr) {
    PanelActionRow::Inputs inputs;
    inputs.title = title;
    inputs.brand = brand;
    inputs.symbol = QStringLiteral("magnifyingglass");
    inputs.perform = [] {};
    configure(inputs);
    return new PanelActionRow(inputs, trailing);
}

QStringList defaultKeys() {
    return {QStringLiteral("\u2303"), QStringLiteral("\u2325"), QStringLiteral("K")};
}

void actionRowsPage(Page& page) {
    page.caption(QStringLiteral("PanelActionRow: plain, suggested, hovered, disabled, badge, static"));
    page.add(actionRow(
        QStringLiteral("Search contacts"), [](auto&) {},
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, false)));
    page.add(actionRow(QStringLiteral("Suggested row"), [](auto& in) { in.isSuggested = true; }));
    page.add(actionRow(QStringLiteral("Hovered row (also suggested)"), [](auto& in) {
        in.hovered = true;
        in.isSuggested = true;
    }));
    page.add(actionRow(
        QStringLiteral("Disabled row"),
        [](auto& in) {
            in.isDisabled = true;
            in.isSuggested = true;
        },
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, true)));
    page.add(actionRow(QStringLiteral("Recent contacts"), [](auto& in) {
        in.symbol = QStringLiteral("clock");
        in.badge = QStringLiteral("12");
    }));
    page.add(actionRow(
        QStringLiteral("A very long title that has to give way to the trailing keys and wraps onto a "
                       "second line before it is cut"),
        [](auto&) {}, new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, false)));
    page.add(actionRow(QStringLiteral("Static label, no action"), [](auto& in) {
        in.symbol = QStringLiteral("info.circle");
        in.perform = nullptr;
    }));
    page.caption(QStringLiteral("PanelShortcutKeys: keys, editing, conflict, both, placeholder, disabled"));
    const PanelShortcutKeys::Editor editor{QStringLiteral("Search shortcut"),
                                           QStringLiteral("Records a new shortcut"),
                                           QStringLiteral("Change the shortcut"), [] {}};
    auto* keysRow =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    keysRow->stack()->addWidget(
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, false, false, editor), {});
    keysRow->stack()->addWidget(
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, true, false, false, editor), {});
    keysRow->stack()->addWidget(
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, true, false, editor), {});
    keysRow->stack()->addWidget(
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, true, true, false, editor), {});
    page.add(keysRow, false);
    auto* keysRow2 =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    keysRow2->stack()->addWidget(new PanelShortcutKeys(defaultKeys(), QStringLiteral("Type a shortcut"),
                                                       brand, true, false, false, editor),
                                 {});
    keysRow2->stack()->addWidget(new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, true), {});
    keysRow2->stack()->addWidget(
        new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, false, true, editor), {});
    page.add(keysRow2, false);
}

void cardsPage(Page& page, LoginItem& loginOff, LoginItem& loginOn) {
    page.caption(QStringLiteral("PanelCard and GlassCard (spacing 8), an empty PanelCard"));
    page.add(new PanelCard(8, {new MurvelText(QStringLiteral("Loading your contacts\u2026")),
                               new MurvelText(QStringLiteral("Search for a name to get started."))}));
    page.add(new GlassCard(8, {new MurvelText(QStringLiteral("A glass card")),
                               new MurvelText(QStringLiteral("Flat fill of the glass material."))}));
    page.add(new PanelCard(8), false);
    page.caption(QStringLiteral("SettingRow, ActionRow, OpenAtLoginRow (off, on), ChoiceMenu"));
    auto* settings = new PanelCard(0);
    auto* sw = new MurvelSwitch;
    sw->setControlSize(MurvelControlSize::small);
    sw->setChecked(true);
    sw->setTint(MurvelColor(brand.accent(MurvelColorScheme::light), brand.accent(MurvelColorScheme::dark)));
    settings->addContent(
        new SettingRow(QStringLiteral("Search contacts"), QStringLiteral("magnifyingglass"), sw));
    settings->addContent(new SettingRow(QStringLiteral("A setting whose title is far too long for one line"),
                                        QStringLiteral("gearshape"), new MurvelSwitch));
    settings->addContent(new ActionRow(QStringLiteral("Getting Started"),
                                       QStringLiteral("questionmark.circle"), MurvelColor::of(&accentOf),
                                       smallButton(QStringLiteral("Open"))));
    settings->addContent(new OpenAtLoginRow(MurvelColor::of(&accentOf), loginOff));
    settings->addContent(new OpenAtLoginRow(MurvelColor::of(&accentOf), loginOn));
    const std::vector<QString> plans = {QStringLiteral("Brazil"), QStringLiteral("United States / Canada"),
                                        QStringLiteral("Portugal")};
    settings->addContent(
        new SettingRow(QStringLiteral("Country code"), QStringLiteral("info.circle"),
                       ChoiceMenu::make<QString>(plans[0], plans, [](const QString& s) { return s; })));
    page.add(settings);
}

void updateAndFocusPage(Page& page) {
    page.caption(QStringLiteral("UpdateCard"));
    page.add(new UpdateCard(
        brand, {QStringLiteral("1.1"), QUrl(QStringLiteral("https://murvel.works/downloads/"))}, [] {}));
    page.add(new UpdateCard(
        brand, {QStringLiteral("2.0 beta"), QUrl(QStringLiteral("https://murvel.works/"))}, [] {}));
    page.caption(QStringLiteral("Focus rings after keyboard use: button, switch, shortcut keys"));
    auto* row =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 16, MurvelStackLayout::Alignment::center);
    row->setPadding(4);
    auto* button = new MurvelButton(QStringLiteral("Focused"));
    auto* sw = new MurvelSwitch;
    auto* keys = new PanelShortcutKeys(defaultKeys(), std::nullopt, brand, false, false);
    row->stack()->addWidget(button, {});
    row->stack()->addWidget(sw, {});
    row->stack()->addWidget(keys, {});
    page.add(row, false);
    (new BrandFocusRing(button, MurvelShape::roundedRectangle(6)))->setOn(true);
    (new BrandFocusRing(sw, MurvelShape::capsule()))->setOn(true);
    (new BrandFocusRing(keys, MurvelShape::roundedRectangle(8)))->setOn(true);
}

bool renderPage(const QString& folder, const QString& name, MurvelColorScheme scheme,
                const std::function<void(Page&)>& fill) {
    Page page;
    MurvelEnvironment::of(&page)->setForcedColorScheme(scheme);
    fill(page);
    const int width = 368;
    page.resize(width, page.heightForWidth(width));
    page.show(); // lays the children out and lets the rings follow them
    QCoreApplication::processEvents();
    page.resize(width, page.heightForWidth(width));
    QCoreApplication::processEvents();
    QImage image(page.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    page.render(&image);
    const QString file =
        folder + QLatin1Char('/') + name + QLatin1Char('-') +
        (scheme == MurvelColorScheme::dark ? QStringLiteral("dark") : QStringLiteral("light")) +
        QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // The login rows write an autostart entry: keep it away from the real configuration.
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    const auto entry = [](const char* id) {
        return Platform::AutostartEntry(QString::fromLatin1(id), QStringLiteral("Gallery"),
                                        QCoreApplication::applicationFilePath());
    };
    LoginItem loginOff(entry("works.murvel.dialcove.gallery-off"));
    LoginItem loginOn(entry("works.murvel.dialcove.gallery-on"));
    loginOn.setEnabled(true);
    const std::pair<QString, std::function<void(Page&)>> pages[] = {
        {QStringLiteral("brand"), brandPage},
        {QStringLiteral("symbols"), symbolsPage},
        {QStringLiteral("notices"), noticesPage},
        {QStringLiteral("keys-icon-privacy"), keysAndLinesPage},
        {QStringLiteral("action-rows"), actionRowsPage},
        {QStringLiteral("cards-rows"), [&](Page& page) { cardsPage(page, loginOff, loginOn); }},
        {QStringLiteral("update-focus"), updateAndFocusPage},
    };
    bool ok = true;
    for (const auto& [name, fill] : pages)
        for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark})
            ok = renderPage(folder, name, scheme, fill) && ok;
    ok = Gallery::renderPreferencesPages(folder, loginOff, loginOn) && ok;
    ok = Gallery::renderWelcomePages(folder, loginOn) && ok;
    return ok ? 0 : 1;
}

#include "WelcomePages.hpp"

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/PermissionRow.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Welcome/WelcomeButton.hpp"
#include "MurvelUI/Welcome/WelcomeLayout.hpp"
#include "MurvelUI/Welcome/WelcomeStepDetail.hpp"
#include "MurvelUI/Welcome/WelcomeStepRow.hpp"
#include "MurvelUI/Welcome/WelcomeStepsLayout.hpp"
#include "tests/MurvelUI/gallery/GalleryVariants.hpp"
#include "tests/MurvelUI/gallery/SampleColumn.hpp"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace MurvelUI;

namespace Gallery {

namespace {

// Samples on the brand background, 496 points wide like the welcome page.
class Sheet final : public SampleColumn {
public:
    Sheet() { setFixedWidth(528); }
};

// Builds the sample inside a window that already has the variant's scheme and text size, so it is
// laid out once at its final fonts, and writes it at twice the resolution.
bool save(const std::function<QWidget*()>& make, const QString& folder, const QString& name,
          const Variant& variant) {
    QWidget host;
    host.setAttribute(Qt::WA_DontShowOnScreen);
    MurvelEnvironment::of(&host)->setForcedColorScheme(variant.scheme);
    MurvelEnvironment::of(&host)->setTypeSize(variant.size);
    QWidget* widget = make();
    widget->setParent(&host);
    const auto size = [&] {
        // A widget of fixed width is measured at that width.
        const int width =
            std::clamp(widget->sizeHint().width(), widget->minimumWidth(), widget->maximumWidth());
        return QSize(width, widget->hasHeightForWidth() ? widget->heightForWidth(width)
                                                        : widget->sizeHint().height());
    };
    widget->resize(size());
    host.resize(widget->size());
    host.show();
    for (int turn = 0; turn < 10; ++turn)
        QCoreApplication::processEvents();
    widget->resize(size());
    host.resize(widget->size());
    QCoreApplication::processEvents();
    QImage image(widget->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    widget->render(&image);
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + QLatin1String(variant.suffix) +
                         QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QWidget* buttonRow(const QList<QWidget*>& buttons) {
    auto* row =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center);
    for (QWidget* button : buttons)
        row->stack()->addWidget(button, {});
    return row;
}

QWidget* shortcutLine() {
    auto* line =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center);
    line->stack()->setMinimumCrossExtent(32);
    line->stack()->addWidget(
        new KeyCaps({QStringLiteral("\u2303"), QStringLiteral("\u2325"), QStringLiteral("K")}), {});
    line->stack()->addWidget(new MurvelText(QStringLiteral("Opens the search in any app")),
                             MurvelStackLayout::Options::filling());
    return line;
}

const QString celebration = QStringLiteral("All set! Press the shortcut in any app to search.");

void fillSheet(Sheet& sheet) {
    sheet.caption(
        QStringLiteral("Welcome buttons: prominent, prominent disabled, bordered, bordered disabled"));
    sheet.add(buttonRow({WelcomeButton::make({QStringLiteral("Let\u2019s go"), false, {}}, brand, true),
                         WelcomeButton::make({QStringLiteral("Let\u2019s go"), true, {}}, brand, true)}),
              false);
    sheet.add(
        buttonRow({WelcomeButton::make({QStringLiteral("Start without setup"), false, {}}, brand, false),
                   WelcomeButton::make({QStringLiteral("Back"), true, {}}, brand, false)}),
        false);
    sheet.caption(
        QStringLiteral("Step rows: todo with action, attention with action, attention without, done"));
    const auto detail = [](const QString& text) { return new MurvelText(text); };
    sheet.add(new WelcomeStepRow(
        WelcomeStepState::todo, brand, celebration,
        WelcomeStepsButton{QStringLiteral("Allow Access"), false, {}},
        detail(QStringLiteral("Dialcove only reads: it never creates, changes or deletes a contact."))));
    sheet.add(new WelcomeStepRow(WelcomeStepState::attention, brand, celebration,
                                 WelcomeStepsButton{QStringLiteral("Open Contacts Access"), false, {}},
                                 detail(QStringLiteral("Allow Dialcove to read your contacts in the Contacts "
                                                       "Access window."))));
    sheet.add(
        new WelcomeStepRow(WelcomeStepState::attention, brand, celebration, std::nullopt,
                           detail(QStringLiteral("~/contacts, set by DIALCOVE_CONTACTS_DIR, does not exist or "
                                                 "cannot be read. Start Dialcove without DIALCOVE_CONTACTS_DIR, "
                                                 "or set it to a folder you can read."))));
    sheet.add(new WelcomeStepRow(
        WelcomeStepState::done, brand, celebration,
        WelcomeStepsButton{QStringLiteral("Allow Access"), false, {}},
        detail(QStringLiteral("Dialcove only reads: it never creates, changes or deletes a contact."))));
    sheet.caption(QStringLiteral("Step detail, lined up with the rows above"));
    sheet.add(new WelcomeStepDetail(8, {shortcutLine()}));
}

WelcomeStepsLayout* stepsLayout() {
    WelcomeStepsLayout::Inputs in;
    in.brand = brand;
    in.title = QStringLiteral("Your contacts, one shortcut away");
    in.lead = QStringLiteral("Find a number from any app and get back to what you were doing.");
    in.step = 2;
    in.stepCount = 3;
    in.stepLabel = QStringLiteral("Step 2 of 3");
    in.stepTitle = QStringLiteral("Allow access to your contacts");
    in.privacy = QStringLiteral("Your contacts, read only");
    in.privacySymbol = QStringLiteral("person.crop.rectangle");
    in.skip = WelcomeStepsButton{QStringLiteral("Start without setup"), false, {}};
    in.back = WelcomeStepsButton{QStringLiteral("Back"), false, {}};
    in.primary = {QStringLiteral("Continue"), false, {}};
    in.note = QStringLiteral("You can change all of this later in Preferences.");
    auto* card = new MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    card->stack()->addWidget(
        new WelcomeStepRow(WelcomeStepState::todo, brand, celebration,
                           WelcomeStepsButton{QStringLiteral("Allow Access"), false, {}},
                           new MurvelText(QStringLiteral(
                               "Dialcove only reads: it never creates, changes or deletes a contact."))),
        MurvelStackLayout::Options::filling());
    card->stack()->addWidget(new WelcomeStepDetail(8, {shortcutLine()}),
                             MurvelStackLayout::Options::filling());
    return new WelcomeStepsLayout(in, card);
}

WelcomeLayout* singlePage(LoginItem& login) {
    const QColor accent(15, 138, 125);
    auto* extra = new MurvelText(QStringLiteral("Three things to set up, one minute in all."));
    extra->setTextAlignment(Qt::AlignHCenter);
    return new WelcomeLayout(
        brand, QStringLiteral("Welcome to Dialcove"),
        QStringLiteral("Your contacts, one shortcut away. Set up the three permissions below to start."),
        QStringLiteral("Your contacts, read only"), QStringLiteral("person.crop.rectangle"), [] {}, extra,
        {new PermissionRow(
             1, true, false, QStringLiteral("Contacts"),
             QStringLiteral("Dialcove only reads: it never creates, changes or deletes a contact."),
             QStringLiteral("Allow Access"), accent, [] {}),
         new PermissionRow(2, false, false, QStringLiteral("Accessibility"),
                           QStringLiteral("Lets the shortcut paste a number into the app in front."),
                           QStringLiteral("Open Settings"), accent, [] {}),
         new PermissionRow(3, false, true, QStringLiteral("Notifications"),
                           QStringLiteral("Tells you when a copied number is ready."),
                           QStringLiteral("Allow"), accent, [] {})},
        &login);
}

} // namespace

bool renderWelcomePages(const QString& folder, LoginItem& login) {
    bool ok = true;
    for (const Variant& variant : variants) {
        ok = save(
                 [] {
                     auto* sheet = new Sheet;
                     fillSheet(*sheet);
                     return sheet;
                 },
                 folder, QStringLiteral("welcome-kit"), variant) &&
             ok;
        ok = save(stepsLayout, folder, QStringLiteral("welcome-steps"), variant) && ok;
        ok =
            save([&login] { return singlePage(login); }, folder, QStringLiteral("welcome-layout"), variant) &&
            ok;
    }
    return ok;
}

} // namespace Gallery

#include "PreferencesPages.hpp"

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesChoiceMenu.hpp"
#include "MurvelUI/Preferences/PreferencesDestructiveLabel.hpp"
#include "MurvelUI/Preferences/PreferencesField.hpp"
#include "MurvelUI/Preferences/PreferencesGap.hpp"
#include "MurvelUI/Preferences/PreferencesGroup.hpp"
#include "MurvelUI/Preferences/PreferencesLayout.hpp"
#include "MurvelUI/Preferences/PreferencesLoginRow.hpp"
#include "MurvelUI/Preferences/PreferencesNote.hpp"
#include "MurvelUI/Preferences/PreferencesPaneLayout.hpp"
#include "MurvelUI/Preferences/PreferencesStatusRow.hpp"
#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"
#include "MurvelUI/Preferences/PreferencesValueRow.hpp"
#include "tests/MurvelUI/gallery/GalleryVariants.hpp"

#include <QCoreApplication>
#include <QImage>
#include <QLineEdit>
#include <cstdio>
#include <functional>

using namespace MurvelUI;

namespace Gallery {

namespace {

bool save(QWidget& widget, const QString& folder, const QString& name, const Variant& variant) {
    widget.setAttribute(Qt::WA_DontShowOnScreen);
    MurvelEnvironment::of(&widget)->setForcedColorScheme(variant.scheme);
    MurvelEnvironment::of(&widget)->setTypeSize(variant.size);
    const int width = widget.sizeHint().width();
    const auto height = [&] {
        return widget.hasHeightForWidth() ? widget.heightForWidth(width) : widget.sizeHint().height();
    };
    widget.resize(width, height());
    widget.show();
    QCoreApplication::processEvents();
    widget.resize(width, height());
    QCoreApplication::processEvents();
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    widget.render(&image);
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + QLatin1String(variant.suffix) +
                         QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QWidget* rowsForm(LoginItem& loginOff, LoginItem& loginOn) {
    auto* form =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 32, MurvelStackLayout::Alignment::leading);
    form->setFillsWidth(true);

    auto* general = new PreferencesGroup(QStringLiteral("PreferencesGroup with rows"));
    general->addRow(new PreferencesLoginRow(loginOff));
    general->addRow(new PreferencesLoginRow(loginOn));
    general->addRow(new PreferencesToggleRow(QStringLiteral("PreferencesToggleRow with a note"),
                                             QStringLiteral("The note is the switch's hint."), true));
    general->addRow(new PreferencesRow(
        QStringLiteral("PreferencesRow, key caps"), QStringLiteral("Change it in the search panel."), false,
        new KeyCaps({QStringLiteral("Ctrl"), QStringLiteral("Alt"), QStringLiteral("K")})));
    const std::vector<QString> plans = {QStringLiteral("Germany (+49)"), QStringLiteral("Austria (+43)"),
                                        QStringLiteral("Other: only numbers with +")};
    general->addRow(
        new PreferencesRow(QStringLiteral("PreferencesChoiceMenu"),
                           QStringLiteral("For numbers saved without + and the country code."), true,
                           PreferencesChoiceMenu::make<QString>(QStringLiteral("Country code"), plans[0],
                                                                plans, [](const QString& s) { return s; })));
    general->addRow(
        new PreferencesValueRow(QStringLiteral("PreferencesValueRow"), QStringLiteral("1.0 (42)")));
    form->stack()->addWidget(general, MurvelStackLayout::Options::filling());
    form->stack()->addWidget(
        new PreferencesNote(QStringLiteral("PreferencesNote: a note under a group, in the "
                                           "secondary colour, wrapping as it needs.")),
        MurvelStackLayout::Options::filling());
    form->stack()->addWidget(new PreferencesGap, MurvelStackLayout::Options::filling());

    auto* status = new PreferencesGroup(QStringLiteral("PreferencesStatusRow"));
    status->addRow(
        new PreferencesStatusRow(PreferencesStatus::good, QStringLiteral("good, no detail"), std::nullopt));
    status->addRow(
        new PreferencesStatusRow(PreferencesStatus::info, QStringLiteral("info"),
                                 QStringLiteral("A detail under the title, which makes it semibold.")));
    status->addRow(
        new PreferencesStatusRow(PreferencesStatus::warning, QStringLiteral("warning, with an action"),
                                 QStringLiteral("No sync folder is set or it cannot be reached."), true,
                                 new MurvelButton(QStringLiteral("Choose Sync Folder\u2026"))));
    status->addRow(
        new PreferencesStatusRow(PreferencesStatus::waiting, QStringLiteral("waiting"), std::nullopt));
    form->stack()->addWidget(status, MurvelStackLayout::Options::filling());

    auto* fields = new PreferencesGroup(QStringLiteral("PreferencesField, detail field, destructive label"));
    auto* field = new PreferencesField;
    field->lineEdit()->setText(QStringLiteral("A preference field"));
    auto* detail = PreferencesField::detailField();
    detail->lineEdit()->setPlaceholderText(QStringLiteral("A detail field"));
    auto* focused = new PreferencesField;
    focused->lineEdit()->setText(QStringLiteral("A third field"));
    fields->addRow(field);
    fields->addRow(new PreferencesGap);
    fields->addRow(detail);
    fields->addRow(new PreferencesGap);
    fields->addRow(focused);
    auto* destructive = new MurvelText(QStringLiteral("Remove all synced settings"));
    PreferencesDestructiveLabel::apply(destructive);
    fields->addRow(new PreferencesGap);
    fields->addRow(destructive);
    form->stack()->addWidget(fields, MurvelStackLayout::Options::filling());
    return form;
}

} // namespace

bool renderPreferencesPages(const QString& folder, LoginItem& loginOff, LoginItem& loginOn) {
    bool ok = true;
    for (const Variant& variant : variants) {
        PreferencesLayout layout(brand, QStringLiteral("PreferencesLayout"), rowsForm(loginOff, loginOn));
        ok = save(layout, folder, QStringLiteral("preferences-rows"), variant) && ok;

        const QList<PreferencesPane> panes = {
            {1, QStringLiteral("General"), QStringLiteral("gearshape"), std::nullopt, std::nullopt},
            {2, QStringLiteral("Shortcut"), QStringLiteral("magnifyingglass"), std::nullopt, std::nullopt},
            {3, QStringLiteral("Sync"), QStringLiteral("clock"), QStringLiteral("Data"), std::nullopt},
            {4, QStringLiteral("A pane title far too long for the list"), QStringLiteral("info.circle"),
             std::nullopt, MurvelColor(QColor(184, 80, 0))},
        };
        PreferencesPaneLayout panesLayout(brand, panes, 1, [](const QVariant&) {
            auto* group = new PreferencesGroup(QStringLiteral("PreferencesPaneLayout"));
            group->addRow(
                new PreferencesToggleRow(QStringLiteral("A switch in a pane"), std::nullopt, false));
            return group;
        });
        ok = save(panesLayout, folder, QStringLiteral("preferences-panes"), variant) && ok;
    }
    return ok;
}

} // namespace Gallery

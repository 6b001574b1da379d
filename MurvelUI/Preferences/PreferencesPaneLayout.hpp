#pragma once

#include "MurvelUI/Preferences/PreferencesChrome.hpp"
#include "MurvelUI/Preferences/PreferencesPane.hpp"

#include <QList>
#include <functional>

namespace MurvelUI {

class PreferencesHeader;
class PreferencesPaneList;

// The sidebar preferences page, in a 768-point `PreferencesChrome`: on the left (176 points) the
// application icon over the list of panes; 32 points to the right (496 points) the selected pane's
// title and its content. The selection belongs to the caller: a click on a pane writes it here and
// emits `selectionChosen`; `setSelection` moves it without a signal. The content is built anew
// for each selection, also for one that matches no pane (then the title is empty).
class PreferencesPaneLayout final : public PreferencesChrome {
    Q_OBJECT
public:
    // Builds the content for a selection; the layout owns what it returns.
    using ContentBuilder = std::function<QWidget*(const QVariant&)>;

    PreferencesPaneLayout(const MurvelBrand& brand, const QList<PreferencesPane>& panes,
                          const QVariant& selection, ContentBuilder content, QWidget* parent = nullptr);

    QVariant selection() const { return selection_; }
    void setSelection(const QVariant& selection);

    PreferencesPaneList* paneList() const { return list_; }
    PreferencesHeader* header() const { return header_; }
    QWidget* paneContent() const { return content_; }

    static constexpr int outerWidth = 768;

signals:
    void selectionChosen(const QVariant& selection);

private:
    PreferencesPaneLayout(const MurvelBrand& brand, const QList<PreferencesPane>& panes,
                          const QVariant& selection, ContentBuilder content, MurvelStack* columns,
                          QWidget* parent);
    void show(const QVariant& selection);

    QList<PreferencesPane> panes_;
    ContentBuilder build_;
    QVariant selection_;
    PreferencesPaneList* list_ = nullptr;
    PreferencesHeader* header_ = nullptr;
    MurvelStack* right_ = nullptr;
    QWidget* content_ = nullptr;
};

} // namespace MurvelUI

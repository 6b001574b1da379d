#pragma once

#include "Dialcove/ContactsPanel.hpp"
#include "Dialcove/PanelControlFocus.hpp"
#include "Dialcove/SearchPanel.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

// Stands in for the panel's view, which the app does not have yet: a search field bound to the query,
// the listed names under it, one per line (so the view grows and shrinks with the list), and one
// button that reports its focus to the panel keyboard, as the view's buttons do.
class StandInPanelView : public QWidget {
public:
    explicit StandInPanelView(Dialcove::ContactsPanel& panel) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(field);
        layout->addWidget(list);
        layout->addWidget(button);
        QObject::connect(field, &QLineEdit::textEdited, &panel.search(),
                         [&panel](const QString& text) { panel.search().update(text); });
        QObject::connect(&panel.search(), &Dialcove::ContactSearch::queryChanged, field, [this, &panel] {
            if (field->text() != panel.search().query())
                field->setText(panel.search().query());
        });
        QObject::connect(&panel.navigation(), &Dialcove::ContactNavigation::resultsChanged, list,
                         [this, &panel] {
                             QStringList names;
                             for (const auto& contact : panel.navigation().results())
                                 names << QString::fromStdString(contact.formattedName());
                             list->setText(names.join('\n'));
                         });
        button->setAutoDefault(true); // Return presses it while it has the focus
        QObject::connect(button, &QPushButton::clicked, [this] { ++buttonPresses; });
        Dialcove::PanelControlFocus::attach(button, &panel.keyboard());
    }

    // Builds the view and tells the test where it is.
    static Dialcove::SearchPanel::ContentFactory factory(StandInPanelView*& made) {
        return [&made](const Dialcove::SearchPanel::Content& content) {
            auto view = std::make_unique<StandInPanelView>(content.panel);
            made = view.get();
            return std::unique_ptr<QWidget>(std::move(view));
        };
    }

    QLineEdit* field = new QLineEdit;
    QLabel* list = new QLabel;
    QPushButton* button = new QPushButton("Preferences");
    int buttonPresses = 0;
};

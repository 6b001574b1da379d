#pragma once

#include "Platform/Contacts/AddressBook.hpp"
#include "Platform/Contacts/ClosingDialog.hpp"

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace Platform {

// Where the user sees and changes what Dialcove may read: the contacts folder and the consent,
// with a line saying whether the folder can be read. Changes apply at once and are announced
// through `accessChanged`. A consent the settings file does not take holds until Dialcove quits,
// and a line says so.
class AccessDialog : public ClosingDialog {
    Q_OBJECT

public:
    // Asks the user for a folder, starting at the one given; empty when they cancel.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;

    // `chooser` defaults to the desktop's folder picker.
    explicit AccessDialog(AddressBook book, FolderChooser chooser = {}, QWidget* parent = nullptr);

    // Reads the folder's state again: it may have come or gone since.
    void refresh();

signals:
    void accessChanged();

private:
    void chooseFolder();
    void useDefaultFolder();
    void setAllowed(bool allowed);
    void showState();
    // After a change of folder, or the line saying the file did not take it.
    void folderChosen(bool saved);

    AddressBook book_;
    FolderChooser chooser_;
    QLabel* folder_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* error_ = nullptr;
    QPushButton* choose_ = nullptr;
    QPushButton* useDefault_ = nullptr;
    QCheckBox* allowed_ = nullptr;
    bool folderNotSaved_ = false;
};

} // namespace Platform

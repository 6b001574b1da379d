#pragma once

#include "Platform/Contacts/AddressBook.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A home of its own for each test: XDG folders point into a temporary folder, so no test reads
// or writes the real settings or contacts.
class AddressBookFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath("config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home_.filePath("data")));
        qunsetenv(Platform::AddressBookSettings::kFolderVariable);
        folder_ = home_.filePath("contacts");
        ASSERT_TRUE(QDir().mkpath(folder_));
        settings().setFolder(folder_);
    }

    void TearDown() override { qunsetenv(Platform::AddressBookSettings::kFolderVariable); }

    Platform::AddressBookSettings settings() const { return Platform::AddressBookSettings(); }

    // A book with consent given, read through the real folder check unless one is given.
    Platform::AddressBook book(Platform::FolderAccessCheck check = {}) const {
        settings().setConsent(Platform::AddressBookSettings::Consent::given);
        return Platform::AddressBook(settings(), std::move(check));
    }

    void write(const QString& relative, const QByteArray& bytes) const {
        const QString path = QDir(folder_).filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static QByteArray card(const QByteArray& lines) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
    }

    QTemporaryDir home_;
    QString folder_;
};

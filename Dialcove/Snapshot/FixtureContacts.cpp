#include "Dialcove/Snapshot/FixtureContacts.hpp"

#include <QCoreApplication>
#include <array>
#include <string>

namespace Dialcove {

using DialcoveCore::Contact;
using DialcoveCore::ContactField;
using DialcoveCore::ContactID;
using DialcoveCore::FieldID;
using DialcoveCore::FieldKind;

namespace {

struct Person {
    const char* given;
    const char* family;
};

constexpr std::array<Person, 8> kPeople{{
    {"Heloísa", "Prado"},
    {"Tomás", "Ferraz"},
    {"Lívia", "Barreto"},
    {"Caio", "Mendonça"},
    {"Beatriz", "Sampaio"},
    {"Rafael", "Quintela"},
    {"Marina", "Teixeira"},
    {"Otávio", "Rangel"},
}};

constexpr const char* kCompany = "Estúdio Aurora";
constexpr const char* kEmail = "oi@auroraestudio.br";
constexpr const char* kLongName = "Heloísa Beatriz Albuquerque Vasconcelos · Estúdio Aurora Design";
constexpr const char* kLongEmail = "heloisa.beatriz@auroraestudio.br";

std::string text(const char* english) {
    return QCoreApplication::translate("FixtureContacts", english).toStdString();
}

std::string twoDigits(int n) {
    return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

} // namespace

std::vector<Contact> FixtureContacts::make(bool longVariant) {
    const std::string mobile = text("Mobile");
    const std::string service = text("Service");
    const std::string work = text("Work");
    std::vector<Contact> contacts;
    contacts.reserve(kPeople.size());
    for (int n = 0; n < int(kPeople.size()); ++n) {
        const std::string index = std::to_string(n);
        const bool isLong = longVariant && n == 0;
        std::vector<ContactField> fields;
        if (isLong)
            for (int i = 0; i < 10; ++i)
                fields.push_back({FieldID("long" + std::to_string(i)), FieldKind::phone, work,
                                  "+55 11 91234-56" + twoDigits(i)});
        // Area code 11 with the ninth digit: a mobile under the Brazilian plan.
        fields.push_back({FieldID(index + "phone"), FieldKind::phone, mobile, "(11) 98765-432" + index});
        fields.push_back({FieldID(index + "service"), FieldKind::phone, service, "0800 123 456" + index});
        fields.push_back({FieldID(index + "email"), FieldKind::email, work, isLong ? kLongEmail : kEmail});
        const Person& person = kPeople[std::size_t(n)];
        std::string formatted =
            isLong ? std::string(kLongName) : std::string(person.given) + " " + person.family;
        contacts.emplace_back(ContactID("fixture-" + index), std::move(formatted), person.given,
                              person.family, kCompany, text("Designer"), std::move(fields),
                              DialcoveCore::Birthday::make(23, 5, 1990));
    }
    return contacts;
}

} // namespace Dialcove

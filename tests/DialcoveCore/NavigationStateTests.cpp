#include "DialcoveCore/NavigationState.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;
using A = ContactAction;
constexpr auto previous = MoveDirection::previous;
constexpr auto next = MoveDirection::next;

namespace DialcoveCore {
void PrintTo(const DetailSelection& selection, std::ostream* out) {
    if (selection.isEdit())
        *out << "edit";
    else
        *out << selection.fieldID().rawValue << "/" << rawValue(selection.action());
}
} // namespace DialcoveCore

namespace {

DetailSelection field(const char* id, ContactAction action) {
    return DetailSelection::field(FieldID(id), action);
}
const DetailSelection edit = DetailSelection::edit();

// Under `other`: a national number (copy, message, call), an international one (copy, whatsapp,
// message, call) and an e-mail (copy, email); 10 rows with the edit row.
Contact ana(std::vector<ContactField> fields = {
                {FieldID("national"), FieldKind::phone, "home", "(11) 91234-5678"},
                {FieldID("intl"), FieldKind::phone, "mobile", "+55 11 91234-5678"},
                {FieldID("mail"), FieldKind::email, "work", "ana@example.com"},
            }) {
    return Contact(ContactID("ana"), "Ana", "Ana", "", "", "", std::move(fields));
}

NavigationState openOn(const DetailSelection& selection, const char* contact = "ana") {
    return NavigationState{ContactID(contact), selection};
}

TEST(NavigationState, Selections) {
    EXPECT_EQ(NavigationState::selections(ana(), PhonePlan::other),
              (std::vector<DetailSelection>{
                  field("national", A::copy), field("national", A::message), field("national", A::call),
                  field("intl", A::copy), field("intl", A::whatsapp), field("intl", A::message),
                  field("intl", A::call), field("mail", A::copy), field("mail", A::email), edit}));
    EXPECT_EQ(NavigationState::selections(ana({}), PhonePlan::other), std::vector<DetailSelection>{edit});
}

TEST(NavigationState, MovesThroughTheListWithoutWrapping) {
    const std::vector<ContactID> ids{ContactID("a"), ContactID("b"), ContactID("c")};
    const struct {
        std::optional<const char*> from;
        MoveDirection direction;
        std::optional<const char*> to;
    } cases[] = {
        {std::nullopt, next, "a"}, {std::nullopt, previous, "a"}, {"a", previous, "a"},
        {"a", next, "b"},          {"b", previous, "a"},          {"c", next, "c"},
        {"gone", next, "a"},       {"gone", previous, "a"},
    };
    for (const auto& c : cases) {
        NavigationState state{c.from ? std::optional(ContactID(*c.from)) : std::nullopt, field("x", A::copy)};
        state.moveContact(c.direction, ids);
        EXPECT_EQ(state, (NavigationState{ContactID(*c.to), std::nullopt})) << c.from.value_or("none");
    }
    NavigationState state{ContactID("a"), std::nullopt};
    state.moveContact(next, {});
    EXPECT_EQ(state, NavigationState{});
}

TEST(NavigationState, ReconcileKeepsThePreferredResultAndClosesTheDetail) {
    const std::vector<ContactID> ids{ContactID("a"), ContactID("b")};
    NavigationState state = openOn(field("x", A::copy), "a");
    state.reconcile(ContactID("b"), ids);
    EXPECT_EQ(state, (NavigationState{ContactID("b"), std::nullopt}));

    state = openOn(field("x", A::copy), "a");
    state.reconcile(ContactID("gone"), ids);
    EXPECT_EQ(state, (NavigationState{ContactID("a"), std::nullopt})); // same selection, detail closed

    state.reconcile(std::nullopt, {});
    EXPECT_EQ(state, NavigationState{});
}

TEST(NavigationState, OpensOnTheFirstFieldOrTheEditRow) {
    NavigationState state;
    state.openContact(ana());
    EXPECT_EQ(state, openOn(field("national", A::copy)));
    state.closeDetail();
    EXPECT_EQ(state, (NavigationState{ContactID("ana"), std::nullopt}));
    state.openContact(ana({}));
    EXPECT_EQ(state, openOn(edit));
}

struct Move {
    DetailSelection from;
    MoveDirection direction;
    DetailSelection to;
};

// Each move of `cases` by `operation` in Ana's open detail, under `other`.
void expectMoves(void (NavigationState::*operation)(MoveDirection, const Contact&, PhonePlan),
                 std::initializer_list<Move> cases) {
    for (const Move& c : cases) {
        NavigationState state = openOn(c.from);
        (state.*operation)(c.direction, ana(), PhonePlan::other);
        EXPECT_EQ(state, openOn(c.to))
            << testing::PrintToString(c.from) << (c.direction == next ? " next" : " previous");
    }
}

TEST(NavigationState, MoveField) {
    expectMoves(&NavigationState::moveField,
                {
                    {field("national", A::message), next,
                     field("intl", A::message)}, // the action is kept when offered
                    {field("national", A::call), next, field("intl", A::call)},
                    {field("intl", A::whatsapp), next, field("mail", A::email)}, // else the same slot, 1
                    {field("intl", A::call), next, field("mail", A::email)},     // else the last action
                    {field("intl", A::whatsapp), previous, field("national", A::message)},
                    {field("mail", A::email), previous, field("intl", A::whatsapp)},
                    {field("mail", A::email), next, edit},
                    {edit, next, edit},
                    {edit, previous, field("mail", A::copy)},
                    {field("national", A::call), previous, field("national", A::call)},
                    // A field that has gone: the first field, keeping the action when it offers it.
                    {field("gone", A::message), next, field("national", A::message)},
                    {field("gone", A::whatsapp), previous, field("national", A::copy)},
                });
    NavigationState state = openOn(field("gone", A::copy));
    state.moveField(next, ana({}), PhonePlan::other);
    EXPECT_EQ(state, openOn(edit));
}

TEST(NavigationState, MoveActionWalksEveryRow) {
    expectMoves(&NavigationState::moveAction,
                {
                    {field("national", A::call), next, field("intl", A::copy)}, // crosses to the next field
                    {field("intl", A::copy), previous, field("national", A::call)},
                    {field("intl", A::copy), next, field("intl", A::whatsapp)},
                    {field("mail", A::email), next, edit},
                    {edit, next, edit},
                    {field("national", A::copy), previous, field("national", A::copy)},
                    {field("intl", A::email), next, field("national", A::copy)}, // not a row: the first
                });
}

TEST(NavigationState, SelectAndRefresh) {
    NavigationState state = openOn(edit);
    state.selectField(FieldID("national"), A::whatsapp, ana(), PhonePlan::other); // no international form
    EXPECT_EQ(state, openOn(field("national", A::copy)));
    state.selectField(FieldID("intl"), A::whatsapp, ana(), PhonePlan::other);
    EXPECT_EQ(state, openOn(field("intl", A::whatsapp)));
    state.selectField(FieldID("gone"), A::copy, ana(), PhonePlan::other);
    EXPECT_EQ(state, openOn(field("intl", A::whatsapp)));
    state.selectEdit(ContactID("ana"));
    EXPECT_EQ(state, openOn(edit));

    // A change of plan takes WhatsApp away from the national number: copy on the same field.
    state = openOn(field("national", A::whatsapp));
    state.refresh(ana(), PhonePlan::brazil);
    EXPECT_EQ(state, openOn(field("national", A::whatsapp)));
    state.refresh(ana(), PhonePlan::other);
    EXPECT_EQ(state, openOn(field("national", A::copy)));

    state = openOn(field("intl", A::call));
    state.refresh(ana({{FieldID("mail"), FieldKind::email, "", "a@b"}}), PhonePlan::other);
    EXPECT_EQ(state, openOn(field("mail", A::copy)));
    state.refresh(ana({}), PhonePlan::other);
    EXPECT_EQ(state, openOn(edit));
    state.refresh(ana(), PhonePlan::other);
    EXPECT_EQ(state, openOn(edit));
}

TEST(NavigationState, DetailOperationsIgnoreAnotherContactOrAClosedDetail) {
    const Contact other(ContactID("bo"), "Bo", "", "", "", "", ana().fields());
    const NavigationState states[] = {openOn(field("intl", A::whatsapp)),
                                      NavigationState{ContactID("ana"), std::nullopt}};
    for (const NavigationState& start : states) {
        NavigationState state = start;
        state.moveField(next, other, PhonePlan::other);
        state.moveAction(next, other, PhonePlan::other);
        state.selectField(FieldID("mail"), A::email, other, PhonePlan::other);
        state.selectEdit(ContactID("bo"));
        state.refresh(other, PhonePlan::other);
        EXPECT_EQ(state, start);
    }
    NavigationState closed{ContactID("ana"), std::nullopt};
    closed.moveField(next, ana(), PhonePlan::other);
    closed.moveAction(next, ana(), PhonePlan::other);
    closed.refresh(ana(), PhonePlan::other);
    EXPECT_EQ(closed, (NavigationState{ContactID("ana"), std::nullopt}));
}

} // namespace

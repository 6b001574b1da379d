#include "DialcoveCore/KeyboardRouting.hpp"

#include <gtest/gtest.h>

using namespace DialcoveCore;
using D = KeyDecision;
using K = PanelKey;
constexpr auto previous = MoveDirection::previous;
constexpr auto next = MoveDirection::next;

namespace {

constexpr PanelKey allKeys[] = {K::up,          K::down,   K::left, K::right,       K::enter,
                                K::keypadEnter, K::escape, K::copy, K::commandEnter};

TEST(KeyboardRouting, Table) {
    const struct {
        PanelKey key;
        bool contactOpen;
        KeyDecision decision;
    } table[] = {
        {K::up, false, D::moveContact(previous)},
        {K::up, true, D::moveField(previous)},
        {K::down, false, D::moveContact(next)},
        {K::down, true, D::moveField(next)},
        {K::left, false, D::passThrough()},
        {K::left, true, D::moveAction(previous)},
        {K::right, false, D::passThrough()},
        {K::right, true, D::moveAction(next)},
        {K::enter, false, D::openContact()},
        {K::enter, true, D::performSelectedAction()},
        {K::keypadEnter, false, D::openContact()},
        {K::keypadEnter, true, D::performSelectedAction()},
        {K::escape, false, D::close()},
        {K::escape, true, D::backToList()},
        {K::copy, false, D::copyFirstPhone()},
        {K::copy, true, D::passThrough()},
        {K::commandEnter, false, D::passThrough()},
        {K::commandEnter, true, D::openWhatsApp()},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message()
                     << "key " << static_cast<int>(row.key) << ", contact open " << row.contactOpen);
        EXPECT_EQ(KeyboardRouting::decide(row.key, row.contactOpen, false, false), row.decision);
        // Composing text or an extra modifier (Shift, Control, Option) leaves every key to the text field.
        EXPECT_EQ(KeyboardRouting::decide(row.key, row.contactOpen, true, false), D::passThrough());
        EXPECT_EQ(KeyboardRouting::decide(row.key, row.contactOpen, false, true), D::passThrough());
        EXPECT_EQ(KeyboardRouting::decide(row.key, row.contactOpen, true, true), D::passThrough());
    }
    EXPECT_EQ(std::size(table), 2 * std::size(allKeys));
}

TEST(KeyDecision, EqualByCaseAndDirection) {
    EXPECT_NE(D::moveContact(next), D::moveContact(previous));
    EXPECT_NE(D::moveContact(next), D::moveField(next));
    EXPECT_EQ(D::moveAction(previous).direction(), previous);
    EXPECT_EQ(D::close().direction(), std::nullopt);
}

} // namespace

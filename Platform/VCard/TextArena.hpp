#pragma once

#include <deque>
#include <string>
#include <string_view>

namespace Platform {

// Texts made while a card is read (decoded, joined, unescaped), kept where views into them stay
// valid until the arena is cleared; most texts need none and stay views into the file's bytes.
class TextArena {
public:
    std::string_view keep(std::string&& text) {
        texts_.push_back(std::move(text));
        return texts_.back();
    }
    void clear() { texts_.clear(); }

private:
    // A deque never moves what it holds as it grows.
    std::deque<std::string> texts_;
};

} // namespace Platform

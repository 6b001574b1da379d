#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// Texts made while a card is read (decoded, joined, unescaped), copied into blocks where views into
// them stay valid until the arena is cleared; most texts need none and stay views into the file's
// bytes. Clearing keeps the first block, so reading card after card allocates nothing.
class TextArena {
public:
    std::string_view keep(std::string_view text) {
        if (blocks_.empty() || text.size() > room_) {
            const std::size_t size = std::max(kBlock, text.size());
            blocks_.push_back({std::make_unique_for_overwrite<char[]>(size), size});
            used_ = 0;
            room_ = size;
        }
        char* at = blocks_.back().bytes.get() + used_;
        if (!text.empty())
            std::memcpy(at, text.data(), text.size());
        used_ += text.size();
        room_ -= text.size();
        return std::string_view(at, text.size());
    }

    void clear() {
        if (blocks_.size() > 1 || (!blocks_.empty() && blocks_.front().size > kBlock))
            blocks_.clear();
        used_ = 0;
        room_ = blocks_.empty() ? 0 : blocks_.front().size;
    }

private:
    static constexpr std::size_t kBlock = 4096;
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size;
    };
    std::vector<Block> blocks_;
    std::size_t used_ = 0;
    std::size_t room_ = 0;
};

} // namespace Platform

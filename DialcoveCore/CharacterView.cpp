#include "DialcoveCore/CharacterView.hpp"

#include "DialcoveCore/UnicodeText.hpp"

#include <algorithm>
#include <vector>

namespace DialcoveCore {

bool CharacterView::isBoundary(std::size_t offset) const {
    if (boundaries_.empty())
        return offset <= text_.size();
    return std::binary_search(boundaries_.begin(), boundaries_.end(), static_cast<std::uint32_t>(offset));
}

bool CharacterView::contains(std::string_view needle) const {
    for (std::size_t found = text_.find(needle); found != std::string_view::npos;
         found = text_.find(needle, found + 1))
        if (isBoundary(found) && isBoundary(found + needle.size()))
            return true;
    return false;
}

std::vector<std::uint32_t> characterBoundaries(std::string_view text) {
    if (isAscii(text) && text.find("\r\n") == std::string_view::npos)
        return {};
    const auto boundaries = graphemeBoundaries(text);
    return std::vector<std::uint32_t>(boundaries.begin(), boundaries.end());
}

} // namespace DialcoveCore

// Feeds arbitrary bytes to the shortcut's stored form, as another machine's synced record would
// bring it: parsed as JSON and decoded both as the app reads it and member-ordered, and, taken as
// a key code, modifiers and label, to make(). Besides crashes and sanitizer reports it stops on a
// broken promise: the two decodings disagree, a decoded shortcut that make() would refuse or that
// does not come back from its own stored form, or an exception out of code that promises none.
#include "DialcoveCore/Shortcut.hpp"
#include "fuzz/BrokenPromise.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

using DialcoveCore::Shortcut;
using DialcoveCore::ShortcutModifiers;

using Fuzz::require;

void checkShortcut(const Shortcut& shortcut) {
    require(Shortcut::make(shortcut.keyCode(), shortcut.modifiers(), shortcut.keyLabel()) == shortcut,
            "make() takes what it made as it is");
    const nlohmann::ordered_json stored = shortcut.encoded();
    require(Shortcut::decode(stored) == shortcut, "the stored form decodes back");
    require(Shortcut::decode(nlohmann::json::parse(stored.dump())) == shortcut, "its text decodes back");
    require(!shortcut.keyLabel().empty() && shortcut.displayParts().size() >= 2,
            "a label and at least one modifier to show");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const nlohmann::json json = nlohmann::json::parse(bytes, nullptr, false);
        const nlohmann::ordered_json ordered = nlohmann::ordered_json::parse(bytes, nullptr, false);
        require(json.is_discarded() == ordered.is_discarded(), "both parsers take the same texts");
        if (!json.is_discarded()) {
            const std::optional<Shortcut> decoded = Shortcut::decode(json);
            require(decoded == Shortcut::decode(ordered), "the member order does not matter");
            if (decoded)
                checkShortcut(*decoded);
        }
        if (size >= 5) {
            std::uint32_t keyCode = 0;
            std::memcpy(&keyCode, data, sizeof keyCode);
            const std::optional<Shortcut> made =
                Shortcut::make(keyCode % 256, ShortcutModifiers(data[4]), bytes.substr(5));
            if (made)
                checkShortcut(*made);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "exception: %s\n", error.what());
        require(false, "never throws");
    }
    return 0;
}

#include "Names.h"

#include <unictype.h>
#include <uninorm.h>
#include <unistr.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kMostBytes = 256; // far more than 16 characters in any script
constexpr std::size_t kFewest = 2;
constexpr std::size_t kMost = 16;

// Scripts that one name may mix: Japanese writes Kanji with both kana.
std::string writingSystem(ucs4_t c) {
    const uc_script_t* script = uc_script(c);
    std::string name = script ? script->name : "Unknown";
    if (name == "Han" || name == "Hiragana" || name == "Katakana") return "Han";
    return name;
}

NameCheck refuse(std::string why) {
    return {{}, std::move(why)};
}

} // namespace

NameCheck checkName(std::string_view utf8) {
    if (utf8.size() > kMostBytes) return refuse("the name is too long");
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    if (u8_check(bytes, utf8.size()) != nullptr) return refuse("the name is not valid UTF-8");
    std::size_t length = 0;
    std::unique_ptr<uint8_t, decltype(&std::free)> normal(
        u8_normalize(UNINORM_NFKC, bytes, utf8.size(), nullptr, &length), &std::free);
    if (!normal) return refuse("the name cannot be normalised");
    std::vector<ucs4_t> chars;
    for (const uint8_t* at = normal.get(); at < normal.get() + length;) {
        ucs4_t c = 0;
        at += u8_mbtouc(&c, at, static_cast<std::size_t>(normal.get() + length - at));
        chars.push_back(c);
    }
    if (chars.size() < kFewest || chars.size() > kMost) return refuse("a name has 2 to 16 characters");
    std::string system;
    bool after_letter = false;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const ucs4_t c = chars[i];
        if (uc_is_general_category(c, UC_CATEGORY_Cc)) return refuse("the name holds a control character");
        if (uc_is_general_category(c, UC_CATEGORY_Cf) || uc_is_general_category(c, UC_CATEGORY_Zl) ||
            uc_is_general_category(c, UC_CATEGORY_Zp))
            return refuse("the name holds an invisible or direction-changing character");
        if (c == ' ') {
            if (i == 0 || i + 1 == chars.size()) return refuse("a name cannot start or end with a space");
            if (chars[i - 1] == ' ') return refuse("a name cannot hold two spaces together");
            after_letter = false;
            continue;
        }
        if (uc_is_general_category(c, UC_CATEGORY_M)) {
            if (!after_letter) return refuse("a combining mark must follow a letter");
            after_letter = false; // one mark a letter: no towers of them
            continue;
        }
        after_letter = false;
        if (c == '_' || c == '-' || (c >= '0' && c <= '9')) continue; // other scripts' digits mislead
        if (!uc_is_general_category(c, UC_CATEGORY_L))
            return refuse("a name holds letters, digits, spaces, '_' and '-' only");
        after_letter = true;
        const std::string own = writingSystem(c);
        if (system.empty()) system = own;
        if (own != system) {
            return refuse(std::string("a name is written in one writing system (").append(system).append(" and ").append(own) +
                          ")");
        }
    }
    return {std::string(reinterpret_cast<const char*>(normal.get()), length), {}};
}

std::string generatedName(std::string_view tag) {
    return "Ghost-" + std::string(tag.substr(0, 4));
}

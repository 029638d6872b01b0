#include "Names.h"
#include "replay/Sha256.h"

#include <gtest/gtest.h>

namespace {

// Names from every script the game is played in, and the tricks a board meets: look-alike letters from
// two scripts, direction overrides, invisible joiners, control characters, towers of marks.
TEST(NamesTest, TheRulesOfADisplayName) {
    const struct {
        const char* given;
        const char* shown; // nullptr: refused
    } cases[] = {
        {"Ghost_42", "Ghost_42"},
        {"Zoë Brandt", "Zoë Brandt"},
        {"Zoe\xCC\x88", "Zoë"},            // a combining diaeresis composes
        {"ＧＨＯＳＴ", "GHOST"},          // full width is folded
        {"幽霊のゆう", "幽霊のゆう"},      // Kanji with kana: one writing system
        {"유령 하나", "유령 하나"},
        {"Призрак-7", "Призрак-7"},
        {"A", nullptr},                    // too short
        {"ABCDEFGHIJKLMNOPQ", nullptr},    // 17
        {"Pаypal", nullptr},               // a Cyrillic а among Latin letters
        {"Ghost\xE2\x80\xAE" "evil", nullptr}, // right-to-left override
        {"Gh\xE2\x80\x8Bost", nullptr},    // zero-width space
        {"Gh\tost", nullptr},
        {" Ghost", nullptr},
        {"Gh  ost", nullptr},
        {"Gh!ost", nullptr},
        {"\xCC\x88Ghost", nullptr},        // a mark with no letter
        {"Go\xCC\x88\xCC\x88\xCC\x88st", nullptr}, // a tower of marks: ö and two more
        {"Gh\xFFost", nullptr},            // not UTF-8
        {"١٢٣ab", nullptr},                // another script's digits
    };
    for (const auto& c : cases) {
        const NameCheck check = checkName(c.given);
        if (c.shown) {
            EXPECT_EQ(check.why, "") << c.given;
            EXPECT_EQ(check.name, c.shown) << c.given;
        } else {
            EXPECT_NE(check.why, "") << c.given << " was taken as " << check.name;
        }
    }
    EXPECT_EQ(generatedName("3f2a9c01"), "Ghost-3f2a");
}

// Run ids and player hashes: the standard's vectors, and the lengths where the padding takes a block more.
TEST(Sha256Test, GivesTheStandardsDigests) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

} // namespace

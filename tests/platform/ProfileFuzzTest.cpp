// Random profile files: reading never fails, and a write changes exactly the key it names.
#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <random>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

// Names compare as the profile compares them: blanks around them ignored, letter case ignored.
bool SameName(std::string a, std::string b) {
    auto norm = [](std::string t) {
        t.erase(0, t.find_first_not_of(' '));
        t.erase(t.find_last_not_of(' ') + 1);
        for (auto& c : t)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    return norm(a) == norm(b);
}

std::string RandomProfile(std::mt19937& rng) {
    static const std::string_view pieces[] = {
        "[", "]", "=", ";", "\r",  "\n", "\r\n", " ",   "\t",   "s",
        "S", "k", "K", "x", "a b", "\"", "'",    "0x1", "\xff", std::string_view("\0", 1)};
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 60)(rng);
    for (int i = 0; i < count; ++i) {
        if (rng() % 8 == 0)
            text += static_cast<char>(rng() % 256);
        else
            text += pieces[rng() % std::size(pieces)];
    }
    return text;
}

TEST(ProfileFuzz, AWriteChangesOnlyTheKeyItNames) {
    TempDir dir;
    const std::string file = dir.Path() + "fuzz.ini";
    const char* const sections[] = {"s", "S", " s ", "a b", "x"};
    const char* const keys[] = {"k", "K", "x", "a b"};
    std::mt19937 rng(20261208);
    for (int round = 0; round < 800; ++round) {
        const std::string original = RandomProfile(rng);
        dir.Write("fuzz.ini", original);
        const std::string section = sections[rng() % std::size(sections)];
        const std::string key = keys[rng() % std::size(keys)];
        const std::string value = "v" + std::to_string(round);

        std::vector<std::string> before;
        for (auto s : sections)
            for (auto k : keys)
                before.push_back(GetPrivateProfileString(s, k, "<absent>", file));
        (void)GetProfileInteger(section, key, 0, file);

        ASSERT_TRUE(WritePrivateProfileString(section, key, value, file)) << testing::PrintToString(original);
        ASSERT_EQ(GetPrivateProfileString(section, key, "", file), value) << testing::PrintToString(original);
        size_t i = 0;
        for (auto s : sections)
            for (auto k : keys) {
                const bool same = SameName(s, section) && SameName(k, key);
                const std::string now = GetPrivateProfileString(s, k, "<absent>", file);
                if (same ? now != value : now != before[i])
                    ADD_FAILURE() << "writing [" << section << "] " << key << " changed [" << s << "] " << k
                                  << " in " << testing::PrintToString(original);
                ++i;
            }
    }
}

} // namespace
} // namespace kemptor

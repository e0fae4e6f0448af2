#include <gtest/gtest.h>

#include <array>

#include "settings/multi_string.h"
#include "settings/preset_store.h"
#include "store_fakes.h"

// Entries end at an empty one or at the block's end, closing NULs or not.
TEST(MultiString, SplitAndJoin) {
    using List = std::vector<std::string>;
    using namespace std::string_literals;
    const std::string paths = "a\0bc\0C:\\x y\\z.png\0\0"s;
    for (const auto& [block, list] : {std::pair{paths, List{"a", "bc", "C:\\x y\\z.png"}},
                                      {"\0"s, {}}, {""s, {}}, {"a\0\0b\0"s, {"a"}}, {"ab\0cd"s, {"ab", "cd"}}}) {
        List split = {"stale"};
        SplitMultiString(split, block.data(), block.size());
        EXPECT_EQ(split, list) << block;
    }
    EXPECT_EQ(JoinMultiString({"a", "bc", "C:\\x y\\z.png"}), std::vector<char>(paths.begin(), paths.end()));
    EXPECT_EQ(JoinMultiString({}), std::vector<char>{'\0'});
    // Joining a list with an empty entry therefore loses what follows it.
    const std::vector<char> lossy = JoinMultiString({"x", "", "y"});
    List split;
    SplitMultiString(split, lossy.data(), lossy.size());
    EXPECT_EQ(split, List{"x"});
}

TEST(Preset, NumericBlockLayout) {
    Preset p;
    p.StarsCount = 0x01020304;
    p.MoveSpeed = -1;
    p.AntiAliase = 5;
    p.UseNUR = true;
    // Eight little-endian numbers, then the switch byte and three of padding.
    const std::array<uint8_t, 36> expected{4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(encodePresetBlock(p), expected);
}

TEST(Preset, WriteReadRoundTripWithPictures) {
    MemoryStore store;
    const Preset p{{1, 2, -3, 4, 5, 6, 7, 4, true}, {"a.bmp", "b.jpg", "c.png"}, "D", "Three pictures"};
    WritePreset(7, p, &store.key());
    EXPECT_EQ(store.names("write"), (std::vector<std::string>{"PRESETb7", "PRESETi7", "PRESETs7", "PRESETn7"}));

    Preset back;
    ASSERT_TRUE(ReadPreset(7, store.key(), back));
    EXPECT_EQ(back, p);

    // Applied to the settings and captured again, it is the same preset.
    Settings s;
    ApplyPreset(back, s);
    Preset captured;
    CapturePreset(s, captured);
    captured.Name = p.Name;
    EXPECT_EQ(captured, p);
}

TEST(Preset, ReadStopsAtTheFirstUnacceptedValue) {
    MemoryStore store;
    Preset p;
    p.Name = "x";
    WritePreset(0, p, &store.key());
    store.key().remove("PRESETs0");
    store.log.clear();
    Preset out;
    out.Name = "untouched";
    EXPECT_FALSE(ReadPreset(0, store.key(), out));
    EXPECT_EQ(store.names("read"), (std::vector<std::string>{"PRESETb0", "PRESETi0", "PRESETs0"}));
    EXPECT_EQ(out.Name, "untouched");

    // Wrong type, too large, or too short to hold the switch.
    WritePreset(1, p, &store.key());
    writeString(&store.key(), "PRESETi1", "text");
    EXPECT_FALSE(ReadPreset(1, store.key(), out));
    WritePreset(2, p, &store.key());
    const std::vector<uint8_t> big(37, 0);
    writeBinary(&store.key(), "PRESETb2", big.data(), 37);
    EXPECT_FALSE(ReadPreset(2, store.key(), out));
    writeBinary(&store.key(), "PRESETb2", big.data(), 32);
    EXPECT_FALSE(ReadPreset(2, store.key(), out));
    writeBinary(&store.key(), "PRESETb2", big.data(), 33);  // padding may be absent
    EXPECT_TRUE(ReadPreset(2, store.key(), out));
}

TEST(Preset, DeleteReportsWhetherAnyValueExisted) {
    MemoryStore store;
    EXPECT_FALSE(DeletePresetValues(0, &store.key()));
    writeString(&store.key(), "PRESETs0", "only the sound");
    EXPECT_TRUE(DeletePresetValues(0, &store.key()));
    EXPECT_FALSE(store.has("PRESETs0"));
    EXPECT_FALSE(DeletePresetValues(0, nullptr));
}

TEST(Preset, ApplyLeavesLanguageHelpAndHistoryAndCutsLongSounds) {
    Settings s;
    s.Language = "l";
    s.HelpFile = "h";
    s.RecentSounds = {"r"};
    Preset p;
    p.BackSound = std::string(400, 's');
    ApplyPreset(p, s);
    EXPECT_EQ(s.BackSound.size(), 299u);
    EXPECT_EQ(s.Language, "l");
    EXPECT_EQ(s.HelpFile, "h");
    EXPECT_EQ(s.RecentSounds, std::vector<std::string>{"r"});
}

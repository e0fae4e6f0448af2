#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "i18n/language_file.h"
#include "settings/multi_string.h"
#include "settings/preset_store.h"
#include "settings/settings_store.h"
#include "fallback_flight.h"
#include "store_fakes.h"

namespace {

Settings sampleSettings() {
    Settings s;
    static_cast<FlightParameters&>(s) = {12345, 777, -42, 64, 9, 55, 4, 5, true};
    s.NURimages = {"C:\\pics\\a.bmp", "C:\\pics\\b.png"};
    s.BackSound = "C:\\sounds\\space.wav";
    s.RecentSounds = {"C:\\sounds\\old.wav"};
    s.Language = "";
    s.HelpFile = "C:\\Lumara\\help.chm";
    s.ProgramDir = "C:\\Lumara";
    AddFactoryPresets(s);
    Preset custom;
    CapturePreset(s, custom);
    custom.Name = "Mine";
    s.Presets.push_back(custom);
    return s;
}

}  // namespace

TEST_F(SettingsStore, FirstRunGetsFallbacksAndFactoryPresetsAndWritesNothing) {
    const Settings s = loaded();

    expectFallbackFlight(s);
    EXPECT_EQ(s.RecentSoundsLimit, 10);
    EXPECT_EQ(s.Language, "");
    EXPECT_EQ(s.HelpFile, "");
    EXPECT_EQ(s.ProgramDir, "");  // no machine key: nothing derived

    EXPECT_EQ(s.Presets, (std::vector<Preset>{{{1000, 600, -10, 40, 1, 0, 0, 0, false}, {}, "", "Simple"},
                                              {{6000, 600, -25, 80, 10, 30, 5, 3, false}, {}, "D", "Realistic"},
                                              {{4000, 600, -25, 60, 10, 10, 0, 2, false}, {}, "D", "Rational"}}));
    EXPECT_TRUE(store.names("write").empty());
    EXPECT_TRUE(store.names("delete").empty());
}

TEST_F(SettingsStore, RoundTripsEverySavedField) {
    const Settings original = saved(sampleSettings());
    store.log.clear();
    const Settings s = loaded();
    EXPECT_EQ(flightOf(s), flightOf(original));
    EXPECT_EQ(s.NURimages, original.NURimages);
    EXPECT_EQ(s.BackSound, original.BackSound);
    EXPECT_EQ(s.HelpFile, original.HelpFile);
    EXPECT_EQ(s.ProgramDir, "C:\\Lumara");
    EXPECT_EQ(s.Presets, original.Presets);
    // Saving moved the current sound to the front of the history.
    EXPECT_EQ(s.RecentSounds, (std::vector<std::string>{"C:\\sounds\\space.wav", "C:\\sounds\\old.wav"}));
    // Loading changes nothing in the store.
    EXPECT_TRUE(store.names("write").empty());
    EXPECT_TRUE(store.names("delete").empty());
}

TEST_F(SettingsStore, WritesEveryValueInStoreOrder) {
    Settings s = sampleSettings();
    s.Presets.resize(1);
    s = saved(s);

    const std::vector<std::string> expected = {
        "StarsCount", "MoveSpeed", "RotSpeed", "Smoothness", "RoamFreq", "RoamMagn", "RandSeed",
        "AntiAliase", "Clouds", "BackSound", "Language", "HelpFile", "UseNUR", "NURimages",
        "PRESETb0", "PRESETi0", "PRESETs0", "PRESETn0", "RECSOUND 0", "RECSOUND 1", "ProgramDir"};
    EXPECT_EQ(store.names("write"), expected);
    EXPECT_EQ(store.names("delete"),
              (std::vector<std::string>{"PRESETb1", "PRESETi1", "PRESETs1", "PRESETn1", "RECSOUND 2"}));
    EXPECT_EQ(store.log.front(), "create user");
    EXPECT_EQ(store.log.back(), "close machine");

    // The stored checksum is the record's, and the switch is 0 or 1.
    int32_t seed = 0;
    ASSERT_TRUE(readNumber(store.key(), "RandSeed", seed));
    EXPECT_EQ(static_cast<uint32_t>(seed), SettingsChecksum(s));
    uint8_t data[4];
    uint32_t size = 4;
    ValueType type{};
    ASSERT_TRUE(store.key().read("UseNUR", type, data, size));
    EXPECT_EQ(type, ValueType::Dword);
    EXPECT_EQ(data[0], 1);
}

TEST_F(SettingsStore, EmptyPictureListIsOneNulByteAndLoadsEmpty) {
    saved(Settings());
    const RegistryValue* v = store.section().find("NURimages");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, ValueType::MultiString);
    EXPECT_EQ(v->data, std::vector<uint8_t>{0});
    EXPECT_TRUE(loaded().NURimages.empty());
}

TEST_F(SettingsStore, ChecksumMismatchBringsFallbacksButKeepsTheRest) {
    Settings sample = sampleSettings();
    sample.Language = "/opt/lumara/Test.lang";
    folders.files[sample.Language] = "Test\n\n3029=Eins";
    const Settings original = saved(sample);
    writeNumber(&store.key(), "RandSeed", 12345);

    const Settings s = loaded();
    expectFallbackFlight(s);
    EXPECT_EQ(s.Language, original.Language);
    EXPECT_NE(s.LanguageTable.count(), 0u) << "the language still loads";
    EXPECT_EQ(s.NURimages, original.NURimages);
    EXPECT_EQ(s.Presets, original.Presets);
    EXPECT_EQ(s.RecentSounds, original.RecentSounds);
    EXPECT_EQ(s.HelpFile, original.HelpFile);
}

TEST_F(SettingsStore, OutOfRangeValuesWithMatchingChecksumAreKept) {
    Settings original;
    original.StarsCount = 999999;
    original.RotSpeed = -5000;
    original.AntiAliase = 17;
    const Settings stored = saved(original);  // before loading: argument order is unspecified
    EXPECT_EQ(flightOf(loaded()), flightOf(stored));
}

TEST_F(SettingsStore, NumbersAreReadWhateverTheirTypeButMustFitFourBytes) {
    Settings expected;  // what the values below load as, so the checksum matches
    expected.StarsCount = 0x1234;
    expected.MoveSpeed = 31;
    writeNumber(&store.key(), "RandSeed", SettingsChecksum(expected));
    const uint8_t two[2] = {0x34, 0x12};
    store.key().write("StarsCount", ValueType::Binary, two, 2);
    const uint8_t eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    store.key().write("MoveSpeed", ValueType::String, eight, 8);

    Settings s;
    s.MoveSpeed = 31;
    LoadSettings(s, store, folders);
    EXPECT_EQ(s.StarsCount, 0x1234);  // two bytes, zero-extended
    EXPECT_EQ(s.MoveSpeed, 31);       // too large for four bytes: kept
}

// One preset that cannot be read costs no other: loading passes over it,
// reads on to the first index with none of a preset's values and writes
// nothing; the next save writes the list that was loaded, without gaps.
TEST_F(SettingsStore, UnreadablePresetsArePassedOverAndOnlyASaveTidies) {
    Settings original = sampleSettings();  // four presets
    original.Presets.push_back(original.Presets[0]);
    original.Presets.back().Name = "Fifth";
    saved(original);
    writeString(&store.key(), "PRESETb1", "not a block");           // index 1 damaged
    writeString(&store.key(), "PRESETn3", std::string(5000, 'n'));  // index 3 too long to read
    writeString(&store.key(), "PRESETn6", "stray");                 // beyond the first empty index
    const std::string before = formatRegistryFile(store.hives[0]);

    Settings s = loaded();
    EXPECT_EQ(presetNames(s), (std::vector<std::string>{"Simple", "Rational", "Fifth"}));
    EXPECT_EQ(formatRegistryFile(store.hives[0]), before);

    saved(s);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(store.has("PRESETn" + std::to_string(i)));
    for (const char* gone : {"PRESETb3", "PRESETi3", "PRESETs3", "PRESETn3", "PRESETb4", "PRESETn4"})
        EXPECT_FALSE(store.has(gone)) << gone;
    EXPECT_TRUE(store.has("PRESETn6"));
    EXPECT_EQ(loaded().Presets, s.Presets);

    // An index 0 with none of its values ends the list at once: the factory
    // presets appear, and what lies beyond stays unread.
    for (const char* kind : {"b", "i", "s", "n"}) store.key().remove(std::string("PRESET") + kind + "0");
    EXPECT_EQ(presetNames(loaded()), (std::vector<std::string>{"Simple", "Realistic", "Rational"}));
}

// Lumara stores only what it reads back: a text one byte longer than its
// read buffer fails the save before anything of the user key is written,
// and one that just fits comes back whole.
TEST_F(SettingsStore, TextsLongerThanTheLoadReadsAreNeverWritten) {
    const auto text = [](size_t stored) { return std::string(stored - 1, 'x'); };  // with its NUL
    const auto list = [](size_t stored) {  // a picture list taking `stored` bytes as a block
        std::vector<std::string> pictures(3, std::string(99, 'p'));
        pictures.push_back(std::string(stored - 1 - 300 - 1, 'q'));
        return pictures;
    };
    struct Case {
        const char* value;
        size_t limit;
        std::function<void(Settings&, size_t)> set;
    };
    const Case cases[] = {
        {"BackSound", 300, [&](Settings& s, size_t n) { s.BackSound = text(n); }},
        {"Language", 1000, [&](Settings& s, size_t n) { s.Language = text(n); }},
        {"HelpFile", 1000, [&](Settings& s, size_t n) { s.HelpFile = text(n); }},
        {"NURimages", 10000, [&](Settings& s, size_t n) { s.NURimages = list(n); }},
        {"RECSOUND 1", 300, [&](Settings& s, size_t n) { s.RecentSounds = {"a.wav", text(n)}; }},
        {"PRESETi0", 5000, [&](Settings& s, size_t n) { s.Presets[0].NURimages = list(n); }},
        {"PRESETs0", 5000, [&](Settings& s, size_t n) { s.Presets[0].BackSound = text(n); }},
        {"PRESETn0", 5000, [&](Settings& s, size_t n) { s.Presets[0].Name = text(n); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " " + std::to_string(c.limit));
        MemoryStore fresh;
        Settings s;
        s.Presets.resize(1);
        c.set(s, c.limit + 1);
        const Outcome refused = SaveSettings(s, fresh);
        EXPECT_FALSE(refused.ok());
        EXPECT_NE(refused.message().find(std::string("\"") + c.value + "\""), std::string::npos) << refused.message();
        EXPECT_TRUE(fresh.names("write").empty());

        c.set(s, c.limit);
        ASSERT_TRUE(SaveSettings(s, fresh).ok());
        Settings back;
        LoadSettings(back, fresh, folders);
        EXPECT_EQ(back.Presets, s.Presets);
        EXPECT_EQ(back.NURimages, s.NURimages);
        EXPECT_EQ(back.RecentSounds, s.RecentSounds);
        EXPECT_EQ(back.Language, s.Language);
        EXPECT_EQ(back.HelpFile, s.HelpFile);
        EXPECT_EQ(back.BackSound, s.BackSound);
    }
}

// Presets beyond index 254 are read and tidied like the others: a deleted
// one does not come back.
TEST_F(SettingsStore, HundredsOfPresetsLoadAndShrinkWhole) {
    Settings s;
    s.Presets.resize(300);
    for (size_t i = 0; i < s.Presets.size(); ++i) s.Presets[i].Name = std::to_string(i);
    saved(s);
    EXPECT_EQ(loaded().Presets.size(), 300u);
    s.Presets.erase(s.Presets.begin() + 5);
    saved(s);
    EXPECT_FALSE(store.has("PRESETn299"));
    EXPECT_EQ(loaded().Presets, s.Presets);
}

TEST_F(SettingsStore, GapEndsTheListAndTheValueBeyondStays) {
    saved(Settings());
    writeString(&store.key(), "RECSOUND 0", "a.wav");
    writeString(&store.key(), "RECSOUND 1", "b.wav");
    writeString(&store.key(), "RECSOUND 3", "d.wav");
    const Settings s = loaded();
    EXPECT_EQ(s.RecentSounds, (std::vector<std::string>{"a.wav", "b.wav"}));

    store.log.clear();
    saved(s);
    const auto deletes = store.names("delete");
    EXPECT_EQ(std::count(deletes.begin(), deletes.end(), "RECSOUND 2"), 1);
    EXPECT_EQ(std::count(deletes.begin(), deletes.end(), "RECSOUND 3"), 0);
    EXPECT_TRUE(store.has("RECSOUND 3"));
}

TEST(RecentSounds, AddMovesToFrontAndDropsOnlyAtExactlyTheLimit) {
    using List = std::vector<std::string>;
    struct Case {
        List before;
        const char* added;
        int32_t limit;
        List after;
    };
    const List nine{"0", "1", "2", "3", "4", "5", "6", "7", "8"};
    List ten = nine;
    ten.push_back("9");
    List newFirst{"new"};
    newFirst.insert(newFirst.end(), nine.begin(), nine.end());
    for (const Case& c : {Case{{"1", "2", "3", "4"}, "3", 10, {"3", "1", "2", "4"}},
                          Case{ten, "new", 10, newFirst},  // the oldest drops out
                          Case{nine, "new", 10, newFirst},
                          Case{{"A.wav"}, "a.wav", 10, {"a.wav", "A.wav"}},  // byte for byte: case matters
                          Case{{}, "first", 0, {"first"}}}) {
        List list = c.before;
        AddRecentSound(list, c.added, c.limit);
        EXPECT_EQ(list, c.after) << c.added << " into " << c.before.size();
    }
}

TEST_F(SettingsStore, OnlyAFileSoundEntersTheHistory) {
    for (const char* sound : {"", "D"}) {
        Settings s;
        s.BackSound = sound;
        s.RecentSounds = {"x.wav"};
        EXPECT_EQ(saved(s).RecentSounds, std::vector<std::string>{"x.wav"}) << sound;
    }
}

// Every value is still attempted, then the user key is put back as it was:
// a checksum written before the failing value would otherwise make the next
// load fall back to the defaults.
TEST(SaveSettings, AValueThatCannotBeWrittenFailsTheSaveAndLeavesTheStoredSettingsAsTheyWere) {
    MemoryStore full;
    Settings s = sampleSettings();
    EXPECT_TRUE(SaveSettings(s, full).ok());
    std::vector<std::string> userWrites = full.names("write");
    ASSERT_EQ(userWrites.back(), "ProgramDir");
    userWrites.pop_back();  // the machine key's, which a failed save never reaches
    for (const char* refused : {"RotSpeed", "HelpFile", "PRESETb3", "RECSOUND 1"}) {
        SCOPED_TRACE(refused);
        MemoryStore store;
        Settings before;
        before.Presets.resize(6);  // the failed save deletes two presets, then puts them back
        before.RecentSounds = {"C:\\sounds\\kept.wav"};
        EXPECT_TRUE(SaveSettings(before, store).ok());
        const std::string stored = formatRegistryFile(store.hives[0]);
        store.log.clear();
        store.refusedValue = refused;
        s = sampleSettings();
        const Outcome saved = SaveSettings(s, store);
        EXPECT_FALSE(saved.ok());
        EXPECT_NE(saved.message().find(std::string("\"") + refused + "\""), std::string::npos) << saved.message();
        EXPECT_EQ(store.names("write"), userWrites);  // the same values, in the same order
        EXPECT_EQ(store.names("revert"), std::vector<std::string>{"user"});
        EXPECT_EQ(formatRegistryFile(store.hives[0]), stored);
    }
}

// A user key that cannot be created, or whose changes cannot be kept: the
// machine key is not written either.
TEST(SaveSettings, AUserKeyThatFailsFailsTheSaveKeepsTheSoundHistoryAndWritesNothing) {
    for (const bool creatable : {false, true}) {
        SCOPED_TRACE(creatable);
        MemoryStore store;
        store.creatable[0] = creatable;
        store.commitFails = creatable;
        Settings s;
        s.BackSound = "new.wav";
        s.ProgramDir = "C:\\P";
        const Outcome saved = SaveSettings(s, store);
        EXPECT_FALSE(saved.ok());
        EXPECT_FALSE(saved.message().empty());
        EXPECT_TRUE(s.RecentSounds.empty());  // a failed save changes nothing in memory
        EXPECT_FALSE(store.has("ProgramDir", Hive::Machine));
        EXPECT_EQ(store.names("create"), std::vector<std::string>{"user"});
    }
}

TEST_F(SettingsStore, UnwritableMachineHiveAffectsNothingElse) {
    store.creatable[1] = false;
    const Settings s = saved(sampleSettings());
    EXPECT_FALSE(store.has("ProgramDir", Hive::Machine));
    EXPECT_EQ(loaded().Presets, s.Presets);
}

TEST_F(SettingsStore, UnopenableUserKeyKeepsPresetsAndClearsRecentSounds) {
    store.openable[0] = false;
    Settings s;
    Preset p;
    p.Name = "held";
    s.Presets.push_back(p);
    s.RecentSounds = {"x.wav"};
    LoadSettings(s, store, folders);
    ASSERT_EQ(s.Presets.size(), 1u);
    EXPECT_EQ(s.Presets[0].Name, "held");
    EXPECT_TRUE(s.RecentSounds.empty());
    EXPECT_EQ(s.StarsCount, 2000);
}

TEST_F(SettingsStore, FactoryPresetsAreNamedInTheLoadedLanguage) {
    const std::string path = "/opt/lumara/Test.lang";
    folders.files[path] = "Test\n\n3029=Eins\n3031=Zwei";
    Settings original;
    original.Language = path;
    saved(original);
    const Settings s = loaded();
    EXPECT_EQ(s.LanguageTable.description, "Test");
    EXPECT_EQ(presetNames(s), (std::vector<std::string>{"Eins", "Zwei", "Rational"}));

    // A file that fails leaves no texts but keeps what its header said.
    folders.files[path] = "Bad\nFont,8,0\n3029=Eins\n\n3031=Zwei";
    const Settings bad = loaded();
    EXPECT_EQ(bad.LanguageTable.count(), 0u);
    EXPECT_EQ(bad.LanguageTable.popupFont, "Font,8,0");
    EXPECT_EQ(bad.Presets[0].Name, "Simple");

    // One that is missing, or that the reader will not read (too large, or
    // not a regular file), cannot be opened: the built-in texts stay.
    for (const bool huge : {false, true}) {
        folders.files.erase(path);
        if (huge) folders.files[path] = "Huge\n\n3029=Eins" + std::string(kLanguageFileLimit, 'x');
        const Settings unread = loaded();
        EXPECT_EQ(unread.Language, path);
        EXPECT_EQ(unread.LanguageTable.description, "default");
        EXPECT_EQ(unread.LanguageTable.count(), 0u);
        EXPECT_EQ(unread.Presets[0].Name, "Simple");
    }

    // Named once, when made: stored, they keep those names in another language.
    folders.files[path] = "Test\n\n3029=Eins\n3031=Zwei";
    saved(loaded());
    folders.files[path] = "Test\n\n3029=Un\n3031=Deux";
    EXPECT_EQ(presetNames(loaded()), (std::vector<std::string>{"Eins", "Zwei", "Rational"}));
}

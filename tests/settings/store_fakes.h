#pragma once
// In-memory store and folder system for driving the settings logic: every
// operation is logged in order, hives can be made unreadable or unwritable,
// and a key reverts to its values when it was opened.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/program_folder.h"
#include "settings/settings_store.h"
#include "settings/registry_file.h"
#include "settings/store.h"
#include "settings/store_values.h"

class MemoryStore final : public Store {
public:
    RegistryDocument hives[2];
    bool openable[2] = {true, true};
    bool creatable[2] = {true, true};
    std::string refusedValue;    // a value name whose writes fail
    bool commitFails = false;    // the user key's changes cannot be made durable
    std::vector<std::string> log;  // "open user", "read X", "write X", "delete X", "close user", ...

    std::unique_ptr<StoreKey> open(Hive hive, std::string_view keyPath) override {
        log.push_back("open " + hiveName(hive));
        if (!openable[index(hive)] || !hives[index(hive)].hasKey(sectionPath(hive, keyPath))) return nullptr;
        return std::make_unique<Key>(*this, hive, sectionPath(hive, keyPath), false);
    }

    std::unique_ptr<StoreKey> create(Hive hive, std::string_view keyPath) override {
        log.push_back("create " + hiveName(hive));
        if (!creatable[index(hive)]) return nullptr;
        hives[index(hive)].obtain(sectionPath(hive, keyPath));
        return std::make_unique<Key>(*this, hive, sectionPath(hive, keyPath), true);
    }

    // The product key of a hive, created when absent: its values, and an
    // open key on it for arranging a store through the logged operations.
    RegistrySection& section(Hive hive = Hive::User) {
        return hives[index(hive)].obtain(sectionPath(hive, kProductKeyPath));
    }
    StoreKey& key(Hive hive = Hive::User) {
        section(hive);
        auto& held = held_[index(hive)];
        if (!held) held = std::make_unique<Key>(*this, hive, sectionPath(hive, kProductKeyPath), true);
        return *held;
    }
    bool has(const std::string& name, Hive hive = Hive::User) { return section(hive).find(name) != nullptr; }

    // Log entries of one kind ("write", "delete", "read"), names only.
    std::vector<std::string> names(const std::string& kind) const {
        std::vector<std::string> out;
        for (const std::string& entry : log)
            if (entry.rfind(kind + " ", 0) == 0) out.push_back(entry.substr(kind.size() + 1));
        return out;
    }

private:
    static size_t index(Hive hive) { return hive == Hive::User ? 0 : 1; }
    static std::string hiveName(Hive hive) { return hive == Hive::User ? "user" : "machine"; }

    class Key final : public StoreKey {
    public:
        Key(MemoryStore& store, Hive hive, std::string path, bool writable)
            : store_(store), hive_(hive), path_(std::move(path)), writable_(writable), opened_(section()) {}
        ~Key() override { store_.log.push_back("close " + hiveName(hive_)); }
        bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) override {
            store_.log.push_back("read " + std::string(name));
            return section().read(name, type, data, size);
        }
        bool has(std::string_view name) override { return section().find(name) != nullptr; }
        // Keys opened for reading refuse writes, as the real stores' do.
        bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) override {
            store_.log.push_back("write " + std::string(name));
            if (!writable_ || name == store_.refusedValue) return false;
            section().write(name, type, data, size);
            return true;
        }
        bool commit() override { return !(hive_ == Hive::User && store_.commitFails); }
        void revert() override {
            store_.log.push_back("revert " + hiveName(hive_));
            if (writable_) section() = opened_;
        }
        bool remove(std::string_view name) override {
            store_.log.push_back("delete " + std::string(name));
            return writable_ && section().remove(name);
        }

    private:
        RegistrySection& section() { return store_.hives[index(hive_)].obtain(path_); }
        MemoryStore& store_;
        Hive hive_;
        std::string path_;
        bool writable_;
        RegistrySection opened_;  // the key's values when it was opened
    };

    std::unique_ptr<StoreKey> held_[2];  // declared last: closed before the log goes
};

class FakeFolders final : public FolderSystem {
public:
    ProgramFolderLayout folderLayout = windowsProgramFolderLayout();
    std::optional<std::string> programFiles = "C:\\Program Files";
    std::map<std::string, std::vector<std::string>> folders;  // folder -> entry names
    std::map<std::string, std::string> files;                 // path -> contents
    std::vector<std::string> created;

    const ProgramFolderLayout& layout() const override { return folderLayout; }
    bool installedProgramsFolder(std::string& folder) override {
        if (!programFiles) return false;
        folder = *programFiles;
        return true;
    }
    void createFolder(const std::string& path) override {
        created.push_back(path);
        folders[path];
    }
    std::vector<std::string> listFolder(const std::string& folder, std::string_view pattern) override {
        // Only the "*.ext" patterns the program uses.
        const std::string ext(pattern.substr(1));
        std::vector<std::string> out;
        for (const std::string& name : folders[folder])
            if (name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
                out.push_back(name);
        return out;
    }
    FileReadResult readFile(const std::string& path, size_t limit, std::string& out) override {
        const auto file = files.find(path);
        if (file == files.end()) return FileReadResult::Absent;
        if (file->second.size() > limit) return FileReadResult::TooLarge;
        out = file->second;
        return FileReadResult::Read;
    }
};

// A store and folder system in memory, and what loading from them gives.
class SettingsStore : public ::testing::Test {
protected:
    Settings loaded() {
        Settings s;
        LoadSettings(s, store, folders);
        return s;
    }
    // `s` as a successful save leaves it (the sound moved into the history).
    Settings saved(Settings s) {
        EXPECT_TRUE(SaveSettings(s, store).ok());
        return s;
    }
    MemoryStore store;
    FakeFolders folders;
};

#include "platform/linux/store/file_store.h"

#include <cstdlib>
#include <unistd.h>

#include "platform/linux/store/atomic_file.h"
#include "platform/linux/store/regular_file.h"
#include "settings/registry_file.h"

namespace {

// Far above any settings file; a larger file is treated as damaged rather
// than read into memory.
constexpr size_t kHiveFileLimit = 8u << 20;

struct LoadedHive {
    FileReadResult result;
    bool damaged = false;
    RegistryDocument document;
};

LoadedHive loadHive(const std::string& file) {
    LoadedHive hive;
    std::string text;
    hive.result = readRegularFile(file, kHiveFileLimit, text);
    if (hive.result == FileReadResult::TooLarge) {
        hive.damaged = true;
    } else if (hive.result == FileReadResult::Read) {
        hive.damaged = !parseRegistryFile(text, hive.document);
    }
    return hive;
}

// What both kinds of key read: the key's section of a hive file as it was
// when the key was opened.
class FileKey : public StoreKey {
public:
    FileKey(std::string section, RegistryDocument document)
        : section_(std::move(section)), document_(std::move(document)) {}

    bool read(std::string_view name, ValueType& type, uint8_t* data, uint32_t& size) override {
        const RegistrySection* s = document_.find(section_);
        return s && s->read(name, type, data, size);
    }

    bool has(std::string_view name) override {
        const RegistrySection* s = document_.find(section_);
        return s && s->find(name);
    }

protected:
    std::string section_;
    RegistryDocument document_;
};

// A key opened for reading: never written back, so a load cannot undo a
// save another process made meanwhile.
class FileReadKey final : public FileKey {
public:
    using FileKey::FileKey;
    bool write(std::string_view, ValueType, const uint8_t*, uint32_t) override { return false; }
    bool remove(std::string_view) override { return false; }
    void revert() override {}
};

// A key opened for writing: its hive file, written back whole when changed.
// Nothing reaches the file before the commit or the close, so reverting
// only takes up the document as it was read again.
class FileWriteKey final : public FileKey {
public:
    FileWriteKey(std::string file, std::string section, RegistryDocument document, bool damaged, bool dirty)
        : FileKey(std::move(section), document), file_(std::move(file)), opened_(std::move(document)),
          damaged_(damaged), dirty_(dirty) {}

    ~FileWriteKey() override { commit(); }

    bool write(std::string_view name, ValueType type, const uint8_t* data, uint32_t size) override {
        if (!isStorableValueName(name)) return false;
        document_.obtain(section_).write(name, type, data, size);
        dirty_ = true;
        return true;
    }

    bool remove(std::string_view name) override {
        RegistrySection* s = document_.find(section_);
        if (!s || !s->remove(name)) return false;
        dirty_ = true;
        return true;
    }

    // Writes the changed file; a damaged file that cannot be kept, or one
    // made read-only since the key was opened, is not replaced. Closing the
    // key without a commit still writes, silently.
    bool commit() override {
        if (!dirty_) return true;
        dirty_ = false;
        if (isReadOnlyFile(file_)) return false;
        if (damaged_ && !keepDamagedCopy(file_)) return false;
        damaged_ = false;
        return writeFileAtomically(file_, formatRegistryFile(document_));
    }

    void revert() override {
        document_ = opened_;
        dirty_ = false;
    }

private:
    std::string file_;
    RegistryDocument opened_;  // as read when the key was opened
    bool damaged_;
    bool dirty_;
};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

FileStore::FileStore(std::string userFile, std::string machineFile)
    : userFile_(std::move(userFile)), machineFile_(std::move(machineFile)) {}

FileStore FileStore::fromEnvironment() {
    return FileStore(userStorePathFromEnvironment(), machineStorePathFromEnvironment());
}

std::unique_ptr<StoreKey> FileStore::open(Hive hive, std::string_view keyPath) {
    const std::string& file = fileOf(hive);
    if (file.empty()) return nullptr;
    LoadedHive loaded = loadHive(file);
    if (loaded.result == FileReadResult::Unreadable) return nullptr;
    std::string section = sectionPath(hive, keyPath);
    const bool present = hive == Hive::Machine || (!loaded.damaged && loaded.document.hasKey(section));
    if (!present) return nullptr;
    return std::make_unique<FileReadKey>(std::move(section), std::move(loaded.document));
}

std::unique_ptr<StoreKey> FileStore::create(Hive hive, std::string_view keyPath) {
    const std::string& file = fileOf(hive);
    if (file.empty() || hive == Hive::Machine) return nullptr;
    const std::string folder = folderOf(file);
    if (!createFolders(folder) || ::access(folder.c_str(), W_OK) != 0 || isReadOnlyFile(file)) return nullptr;
    LoadedHive loaded = loadHive(file);
    if (loaded.result == FileReadResult::Unreadable) return nullptr;
    std::string section = sectionPath(hive, keyPath);
    const bool added = !loaded.document.find(section);
    if (added) loaded.document.obtain(section);
    return std::make_unique<FileWriteKey>(file, std::move(section), std::move(loaded.document), loaded.damaged,
                                          added);
}

std::string userStorePathFromEnvironment() {
    if (std::string path = environment("LUMARA_USER_STORE"); !path.empty()) return path;
    std::string config = environment("XDG_CONFIG_HOME");
    // Relative values are invalid for XDG_CONFIG_HOME and are ignored.
    if (config.empty() || config[0] != '/') {
        const std::string home = environment("HOME");
        if (home.empty()) return "";
        config = home + "/.config";
    }
    return config + "/lumara/user.reg";
}

std::string machineStorePathFromEnvironment() {
    if (std::string path = environment("LUMARA_MACHINE_STORE"); !path.empty()) return path;
    return "/etc/lumara/machine.reg";
}

std::unique_ptr<Store> makePlatformStore() { return std::make_unique<FileStore>(FileStore::fromEnvironment()); }

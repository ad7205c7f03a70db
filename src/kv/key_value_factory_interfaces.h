// Interfaces and class identifiers of the key-value store factories and data
// sources. Paths and names are UTF-8; the store handed out is the new store's
// IIndexedKeyValueStorage with one reference owned by the caller.
#pragma once

#include <cstdint>
#include <string>

#include "kv/key_value_storage_interfaces.h"

namespace data_storage {

namespace class_ids {
constexpr velk::clsid_t kKeyValueStorageManager = 0xFDFF45E2;
constexpr velk::clsid_t kKeyValueStorageFactoryWithSettings = 0xA126B8E4;
constexpr velk::clsid_t kSecureKeyValueStorageFactoryWithSettings = 0x10594D35;
constexpr velk::clsid_t kKeyValueDataSourceFactory = 0xF0E3A378;
}  // namespace class_ids

// Path-based factory: the path is used exactly as given.
struct IKeyValueStorageFactory : velk::IObject {
  static constexpr velk::iid_t IID = 0x1C0E6B36;
  virtual velk::result_t CreateStorage(const std::string& path, IIndexedKeyValueStorage** out) = 0;
  // Copies the base into memory; the base is left in read-only mode.
  virtual velk::result_t CreateInMemory(const std::string& basePath, IIndexedKeyValueStorage** out) = 0;
};

// A store file is in read-only mode while its journal mode is DELETE, and
// writable (WAL) otherwise.
struct IKeyValueStorageManager : velk::IObject {
  static constexpr velk::iid_t IID = 0x1D1C5076;
  // kNotFound when the file does not exist.
  virtual velk::result_t DeleteStorage(const std::string& path) = 0;
  virtual velk::result_t ChangeJournalMode(const std::string& path, bool deleteMode) = 0;
  virtual velk::result_t IsReadOnly(const std::string& path, bool& readOnly) = 0;
};

// Name-based factory: a name stands for the file "<directory>/<name>.kvdb".
struct INamedKeyValueStorageFactory : velk::IObject {
  static constexpr velk::iid_t IID = 0x5B27B9C0;
  virtual velk::result_t CreateStorageByName(const std::string& name, IIndexedKeyValueStorage** out) = 0;
  virtual velk::result_t DeleteStorageByName(const std::string& name) = 0;
};

// The settings of the name-based factories: the directory of the store files.
struct IKeyValueFactoryConstruction : velk::IObject {
  static constexpr velk::iid_t IID = 0xB548F4D8;
  virtual velk::result_t Construct(const std::string& directory) = 0;
};

struct IKeyValueFactorySettings : velk::IObject {
  static constexpr velk::iid_t IID = 0xECADE765;
  virtual velk::result_t SetSettings(const std::string& directory) = 0;
  virtual velk::result_t GetSettings(std::string& directory) = 0;
};

// Flags of a data source.
namespace data_source_flags {
constexpr uint32_t kInMemory = 1;  // an in-memory copy of the named file
constexpr uint32_t kSecure = 2;    // from the secure factory's class
}  // namespace data_source_flags

// A named source of a store; the name is the database path.
struct IKeyValueDataSource : velk::IObject {
  static constexpr velk::iid_t IID = 0x308321D4;
  virtual velk::result_t CreateStorage(IIndexedKeyValueStorage** out) = 0;
};

struct IKeyValueDataSourceFactory : velk::IObject {
  static constexpr velk::iid_t IID = 0xA19AE443;
  virtual velk::result_t CreateDataSource(const std::string& name, uint32_t flags, IKeyValueDataSource** out) = 0;
};

}  // namespace data_storage

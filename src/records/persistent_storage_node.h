// records/: what a key-value database holds, seen as XML documents: one
// record a document (persistent storage nodes and their cache, the record
// value stream), and the exchange file that export writes and import reads.
//
// One record of a key-value database seen as the input/output object of an
// XML storage: the storage reads the record's document once, and each flush
// of the storage writes the printed document back under the record's id,
// unless it is the content the node stored last.
#pragma once

#include <string>

#include "kv/key_value_storage_interfaces.h"
#include "velk/tracer.h"
#include "xmlfile/io.h"

namespace app_core {

class PersistentStorageNode : public velk::ObjectBase<velk::IIO> {
 public:
  // The record of `key`; a new key gets a record holding "<root></root>"
  // at once. A failing find or insert gives kMediaError.
  static velk::result_t open(velk::Ref<velk::ITracer> tracer, velk::Ref<data_storage::IIndexedKeyValueStorage> store,
                             std::string key, velk::Ref<PersistentStorageNode>& out);

  PersistentStorageNode(velk::Ref<velk::ITracer> tracer, velk::Ref<data_storage::IIndexedKeyValueStorage> store,
                        std::string key, int64_t id, data_storage::Bytes content);

  // Copies from the start of the content, whatever was read before.
  velk::result_t Read(void* buffer, uint32_t size, uint32_t* count) override;
  velk::result_t Write(const void* bytes, uint32_t size, uint32_t* count) override;
  velk::result_t Flush() override;
  velk::result_t GetPosition(uint64_t* position) override;
  velk::result_t GetSize(uint64_t* size) override;
  velk::result_t SetSize(uint64_t size) override;
  velk::result_t Seek(uint64_t position) override;

  // Once the storage has parsed the content it is the only copy needed.
  void dropContent();

  const std::string& key() const { return key_; }
  int64_t id() const { return id_; }
  // The failure of the last write, or 0: a storage released after a change
  // writes itself back with nobody to tell of a failure but this.
  velk::result_t lastWriteResult() const { return lastWriteResult_; }

 private:
  velk::Ref<velk::ITracer> tracer_;
  velk::Ref<data_storage::IIndexedKeyValueStorage> store_;
  std::string key_;
  int64_t id_;
  data_storage::Bytes content_;
  uint32_t storedSize_ = 0;
  uint32_t storedChecksum_ = 0;
  velk::result_t lastWriteResult_ = velk::errors::kOk;
};

}  // namespace app_core

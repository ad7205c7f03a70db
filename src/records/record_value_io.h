// A record's value as a read-only input/output object, so that the XML
// storage can parse the document it holds.
#pragma once

#include "kv/key_value_storage_interfaces.h"
#include "xmlfile/io.h"

namespace app_core {

class RecordValueIo : public velk::ObjectBase<velk::IIO> {
 public:
  explicit RecordValueIo(data_storage::Bytes value) : value_(std::move(value)) {}

  velk::result_t Read(void* buffer, uint32_t size, uint32_t* count) override;
  // The value is only read: writing is refused.
  velk::result_t Write(const void* bytes, uint32_t size, uint32_t* count) override;
  velk::result_t Flush() override { return velk::errors::kOk; }
  velk::result_t GetPosition(uint64_t* position) override;
  velk::result_t GetSize(uint64_t* size) override;
  velk::result_t SetSize(uint64_t size) override;
  velk::result_t Seek(uint64_t position) override;

 private:
  data_storage::Bytes value_;
  size_t position_ = 0;
};

}  // namespace app_core

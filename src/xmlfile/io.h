// A byte stream the XML storage reads a document from and writes it back to:
// a file, or a record of a key-value database.
#pragma once

#include <cstdint>

#include "velk/object.h"

namespace velk {

struct IIO : IObject {
  static constexpr iid_t IID = 10;

  // Copies up to `size` bytes from the current position; `*count` receives
  // how many were copied (0 at the end).
  virtual result_t Read(void* buffer, uint32_t size, uint32_t* count) = 0;
  virtual result_t Write(const void* bytes, uint32_t size, uint32_t* count) = 0;
  virtual result_t Flush() = 0;
  virtual result_t GetPosition(uint64_t* position) = 0;
  virtual result_t GetSize(uint64_t* size) = 0;
  virtual result_t SetSize(uint64_t size) = 0;
  virtual result_t Seek(uint64_t position) = 0;
};

}  // namespace velk

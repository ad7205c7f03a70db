#include "records/record_value_io.h"

#include <algorithm>
#include <cstring>

namespace app_core {

using velk::result_t;

result_t RecordValueIo::Read(void* buffer, uint32_t size, uint32_t* count) {
  if (!count || (!buffer && size)) return velk::errors::kInvalidArgument;
  size_t n = std::min<size_t>(size, value_.size() - position_);
  if (n) std::memcpy(buffer, value_.data() + position_, n);
  position_ += n;
  *count = static_cast<uint32_t>(n);
  return velk::errors::kOk;
}

result_t RecordValueIo::Write(const void*, uint32_t, uint32_t* count) {
  if (count) *count = 0;
  return velk::errors::kAccessDenied;
}

result_t RecordValueIo::GetPosition(uint64_t* position) {
  if (!position) return velk::errors::kInvalidArgument;
  *position = position_;
  return velk::errors::kOk;
}

result_t RecordValueIo::GetSize(uint64_t* size) {
  if (!size) return velk::errors::kInvalidArgument;
  *size = value_.size();
  return velk::errors::kOk;
}

result_t RecordValueIo::SetSize(uint64_t) { return velk::errors::kAccessDenied; }

result_t RecordValueIo::Seek(uint64_t position) {
  if (position > value_.size()) return velk::errors::kInvalidArgument;
  position_ = static_cast<size_t>(position);
  return velk::errors::kOk;
}

}  // namespace app_core

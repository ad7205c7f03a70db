#include "xmlfile/output_file.h"

#include <cerrno>
#include <cstring>

#include "xmlfile/file_io.h"

namespace velk {
namespace {

result_t resultOf(const std::error_code& error) { return error ? fromErrno(error.value()) : errors::kOk; }

}  // namespace

OutputFile::OutputFile(std::string path, std::string bytes, bool existed)
    : path_(path), bytes_(std::move(bytes)), existed_(existed), replacement_(std::move(path)) {}

result_t OutputFile::open(const std::string& path, Ref<OutputFile>& out) {
  out.reset();
  Ref<IIO> file;
  std::string bytes;
  result_t r = FileIo::open(path, FileIo::Mode::kRead, file);
  bool existed = r != fromErrno(ENOENT);
  if (existed) {
    if (failed(r)) return r;
    r = readRest(*file, bytes);
    if (failed(r)) return r;
  }
  out = Ref<OutputFile>(new OutputFile(path, std::move(bytes), existed));
  return errors::kOk;
}

result_t OutputFile::stage() { return resultOf(replacement_.stage(bytes_)); }

result_t OutputFile::commit() { return resultOf(replacement_.commit()); }

result_t OutputFile::Read(void* buffer, uint32_t size, uint32_t* count) {
  if (!count || (!buffer && size)) return errors::kInvalidArgument;
  size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
  size_t copied = std::min<size_t>(size, available);
  if (copied) std::memcpy(buffer, bytes_.data() + position_, copied);
  position_ += copied;
  *count = static_cast<uint32_t>(copied);
  return errors::kOk;
}

result_t OutputFile::Write(const void* bytes, uint32_t size, uint32_t* count) {
  if (!bytes && size) return errors::kInvalidArgument;
  if (position_ + size > bytes_.size()) bytes_.resize(position_ + size);
  if (size) std::memcpy(bytes_.data() + position_, bytes, size);
  position_ += size;
  if (count) *count = size;
  return errors::kOk;
}

result_t OutputFile::GetPosition(uint64_t* position) {
  if (!position) return errors::kInvalidArgument;
  *position = position_;
  return errors::kOk;
}

result_t OutputFile::GetSize(uint64_t* size) {
  if (!size) return errors::kInvalidArgument;
  *size = bytes_.size();
  return errors::kOk;
}

result_t OutputFile::SetSize(uint64_t size) {
  bytes_.resize(static_cast<size_t>(size));
  return errors::kOk;
}

result_t OutputFile::Seek(uint64_t position) {
  position_ = static_cast<size_t>(position);
  return errors::kOk;
}

}  // namespace velk

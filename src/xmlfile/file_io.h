// A file of the local file system seen as an input/output object.
#pragma once

#include <string>

#include "xmlfile/io.h"

namespace velk {

class FileIo : public ObjectBase<IIO> {
 public:
  enum class Mode {
    kRead,       // existing file, reading only
    kReadWrite,  // created when missing, content kept
    kRewrite,    // created when missing, emptied
  };

  // Opens `path`; a failure gives the platform code of the error.
  static result_t open(const std::string& path, Mode mode, Ref<IIO>& out);

  result_t Read(void* buffer, uint32_t size, uint32_t* count) override;
  result_t Write(const void* bytes, uint32_t size, uint32_t* count) override;
  result_t Flush() override;
  result_t GetPosition(uint64_t* position) override;
  result_t GetSize(uint64_t* size) override;
  result_t SetSize(uint64_t size) override;
  result_t Seek(uint64_t position) override;

 private:
  explicit FileIo(int fd) : fd_(fd) {}
  ~FileIo() override;

  int fd_;
};

// Reads from the current position to the end into `bytes`: the size tells
// how much to expect, a short read ends early.
result_t readRest(IIO& io, std::string& bytes);

}  // namespace velk

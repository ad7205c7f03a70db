// An output file whose new content is kept in memory while a run writes it
// and is put in place of the file only when the run has succeeded: staged
// into a temporary file beside it, flushed to disk, then renamed over it.
// A run that fails or is stopped leaves the file as it was.
#pragma once

#include <string>

#include "platform/file_replacement.h"
#include "xmlfile/io.h"

namespace velk {

class OutputFile : public ObjectBase<IIO> {
 public:
  // Loads the file's current bytes, the position at their start; a missing
  // file starts empty. Gives the platform code of a failure to read it.
  static result_t open(const std::string& path, Ref<OutputFile>& out);

  // False when the file did not exist when it was opened.
  bool existed() const { return existed_; }
  const std::string& path() const { return path_; }

  // Writes the content into the temporary file, flushed to disk.
  result_t stage();
  // Puts the staged temporary in place of the file.
  result_t commit();

  result_t Read(void* buffer, uint32_t size, uint32_t* count) override;
  result_t Write(const void* bytes, uint32_t size, uint32_t* count) override;
  // The content reaches the file through stage and commit only.
  result_t Flush() override { return errors::kOk; }
  result_t GetPosition(uint64_t* position) override;
  result_t GetSize(uint64_t* size) override;
  result_t SetSize(uint64_t size) override;
  result_t Seek(uint64_t position) override;

 private:
  OutputFile(std::string path, std::string bytes, bool existed);

  std::string path_;
  std::string bytes_;
  size_t position_ = 0;
  bool existed_;
  FileReplacement replacement_;
};

}  // namespace velk

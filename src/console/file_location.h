// Where a node of a source file stands: file name, line and the location of
// the include that brought the file in.
#pragma once

#include <string>

#include "velk/object.h"

namespace app_core::helpers {

constexpr uint32_t kNoLine = 0xFFFFFFFF;

struct IFileLocation : velk::IObject {
  static constexpr velk::iid_t IID = 0x3F6A2D90;
  virtual const std::string& GetFileName() = 0;
  virtual uint32_t GetLine() = 0;
  // The enclosing location, or null; not add-referenced.
  virtual IFileLocation* GetIncludedFrom() = 0;
};

class FileLocation : public velk::ObjectBase<IFileLocation> {
 public:
  // A pseudo-file such as "[command line]": line 0, no enclosing location.
  explicit FileLocation(std::string name) : name_(std::move(name)), line_(0) {}
  FileLocation(IFileLocation* includedFrom, std::string name, uint32_t line)
      : name_(std::move(name)), line_(line), includedFrom_(includedFrom) {}

  const std::string& GetFileName() override { return name_; }
  uint32_t GetLine() override { return line_; }
  IFileLocation* GetIncludedFrom() override { return includedFrom_.get(); }

 private:
  std::string name_;
  uint32_t line_;
  velk::Ref<IFileLocation> includedFrom_;
};

// A line of a file whose name and include chain another location gives: the
// nodes of one document share their file's name instead of copying it.
class LineInFile : public velk::ObjectBase<IFileLocation> {
 public:
  LineInFile(velk::Ref<IFileLocation> file, uint32_t line) : file_(std::move(file)), line_(line) {}

  const std::string& GetFileName() override { return file_->GetFileName(); }
  uint32_t GetLine() override { return line_; }
  IFileLocation* GetIncludedFrom() override { return file_->GetIncludedFrom(); }

 private:
  velk::Ref<IFileLocation> file_;
  uint32_t line_;
};

// "name(line)", or the bare name when no line is known.
std::string locationText(IFileLocation* location);

}  // namespace app_core::helpers

// The application layer's own result-code exceptions.
#pragma once

#include <string>

#include "velk/exception.h"

namespace app_core::helpers {

template <class Derived, class Base>
using ExceptionBase = velk::ExceptionBase<Derived, Base>;

// A failure of the application layer with its message and result code.
class Exception : public ExceptionBase<Exception, velk::ResultCodeException> {
 public:
  static constexpr const char* kName = "Exception";
  using ExceptionBase::ExceptionBase;
};

// A failure concerning a named object (a file, a database). The name follows
// the message in double quotes, so the user learns which file failed.
class NamedObjectError : public ExceptionBase<NamedObjectError, velk::ResultCodeException> {
 public:
  static constexpr const char* kName = "NamedObjectError";
  NamedObjectError(velk::SourcePos pos, std::string message, std::string objectName, velk::result_t code)
      : ExceptionBase(pos, std::move(message), code), objectName_(std::move(objectName)) {}
  const std::string& objectName() const { return objectName_; }
  void describe(std::string& out) const override {
    std::string message = this->message();
    if (!objectName_.empty()) message += " \"" + objectName_ + "\"";
    out += message + ": " + velk::hexId(static_cast<uint32_t>(code())) + " (" + velk::frameworkText(code()) + ")";
  }

 private:
  std::string objectName_;
};

}  // namespace app_core::helpers

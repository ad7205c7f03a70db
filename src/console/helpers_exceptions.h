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

// A failure concerning a named object (a file, a database); the name is kept
// for the code that catches it and is not part of the description.
class NamedObjectError : public ExceptionBase<NamedObjectError, velk::ResultCodeException> {
 public:
  static constexpr const char* kName = "NamedObjectError";
  NamedObjectError(velk::SourcePos pos, std::string message, std::string objectName, velk::result_t code)
      : ExceptionBase(pos, std::move(message), code), objectName_(std::move(objectName)) {}
  const std::string& objectName() const { return objectName_; }

 private:
  std::string objectName_;
};

}  // namespace app_core::helpers

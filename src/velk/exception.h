// The exception family: every framework exception carries a message, the
// position where it was raised and optionally a nested exception, and shows
// itself as "<class> - <description>. At <file>(<line>) ".
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "velk/result.h"

namespace velk {

// Where an exception was raised. Positions shown to users are fixed names
// (for example "velk/util/helpers/storage"), not the compiler's __FILE__.
struct SourcePos {
  const char* file = nullptr;
  uint32_t line = 0;
};

class Exception : public std::exception {
 public:
  Exception(SourcePos pos, std::string message) : pos_(pos), message_(std::move(message)) {}

  // Appends the description to `out`.
  virtual void describe(std::string& out) const { out += message_; }
  [[noreturn]] virtual void rethrow() const = 0;
  virtual std::unique_ptr<Exception> clone() const = 0;

  std::string description() const;
  // One exception: "<what> - <description>. At <file>(<line>) ".
  std::string displayText() const;

  const std::string& message() const { return message_; }
  SourcePos position() const { return pos_; }
  const Exception* nested() const { return nested_.get(); }
  void setNested(const Exception& inner) { nested_ = inner.clone(); }

 private:
  SourcePos pos_;
  std::string message_;
  std::shared_ptr<const Exception> nested_;
};

// Gives a concrete class its name, rethrow and clone.
template <class Derived, class Base>
class ExceptionBase : public Base {
 public:
  using Base::Base;
  const char* what() const noexcept override { return Derived::kName; }
  [[noreturn]] void rethrow() const override { throw static_cast<const Derived&>(*this); }
  std::unique_ptr<Exception> clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
};

class ResultCodeException : public Exception {
 public:
  ResultCodeException(SourcePos pos, std::string message, result_t code)
      : Exception(pos, std::move(message)), code_(code) {}
  void describe(std::string& out) const override;
  result_t code() const { return code_; }

 private:
  result_t code_;
};

#define VELK_DECLARE_EXCEPTION(Name, Base)                    \
  class Name : public ::velk::ExceptionBase<Name, Base> {     \
   public:                                                    \
    static constexpr const char* kName = #Name;               \
    using ::velk::ExceptionBase<Name, Base>::ExceptionBase;   \
  }

VELK_DECLARE_EXCEPTION(CheckResultFailedException, ResultCodeException);
VELK_DECLARE_EXCEPTION(InvalidArgumentException, ResultCodeException);
VELK_DECLARE_EXCEPTION(InvalidResultException, ResultCodeException);
VELK_DECLARE_EXCEPTION(SystemException, ResultCodeException);
VELK_DECLARE_EXCEPTION(CheckFailedException, Exception);
VELK_DECLARE_EXCEPTION(BadQueryInterfaceException, Exception);

// A plain result-code exception, for code that raises the base kind itself.
class ResultCodeError : public ExceptionBase<ResultCodeError, ResultCodeException> {
 public:
  static constexpr const char* kName = "ResultCodeException";
  using ExceptionBase::ExceptionBase;
};

// Object creation failed: also names the interface that was asked for.
class CreateInstanceException : public ExceptionBase<CreateInstanceException, ResultCodeException> {
 public:
  static constexpr const char* kName = "CreateInstanceException";
  CreateInstanceException(SourcePos pos, std::string message, result_t code, iid_t iid)
      : ExceptionBase(pos, std::move(message), code), iid_(iid) {}
  void describe(std::string& out) const override;
  iid_t iid() const { return iid_; }

 private:
  iid_t iid_;
};

class GetInterfaceException : public ExceptionBase<GetInterfaceException, ResultCodeException> {
 public:
  static constexpr const char* kName = "GetInterfaceException";
  GetInterfaceException(SourcePos pos, std::string message, result_t code, iid_t iid)
      : ExceptionBase(pos, std::move(message), code), iid_(iid) {}
  iid_t iid() const { return iid_; }

 private:
  iid_t iid_;
};

namespace datetime {
VELK_DECLARE_EXCEPTION(TimeSystemError, ::velk::SystemException);
}

namespace wrappers {
// Raised by storage helpers; carries the failing code and the node's row and
// column when known. It is not a result-code exception: its description is
// the message alone, and a command that catches it answers "Unknown
// exception".
class XmlStorageException : public ExceptionBase<XmlStorageException, Exception> {
 public:
  static constexpr const char* kName = "XmlStorageException";
  XmlStorageException(SourcePos pos, std::string message, result_t code, int row = -1, int column = -1)
      : ExceptionBase(pos, std::move(message)), code_(code), row_(row), column_(column) {}
  result_t code() const { return code_; }
  int row() const { return row_; }
  int column() const { return column_; }

 private:
  result_t code_;
  int row_;
  int column_;
};
}  // namespace wrappers

namespace contract {
class RequireViolation : public std::logic_error {
  using std::logic_error::logic_error;
};
class EnsureViolation : public std::logic_error {
  using std::logic_error::logic_error;
};
class InvariantViolation : public std::logic_error {
  using std::logic_error::logic_error;
};
}  // namespace contract

// Display texts of an exception and each nested one, joined by ";".
std::string chainDisplayText(const Exception& e);

// The result code that stands for the exception being handled; call only
// inside a catch block.
result_t resultOfCurrentException();

// The display text of the exception being handled (its chain for ours);
// call only inside a catch block.
std::string currentExceptionText();

// Throws CheckResultFailedException when `r` is a failure.
inline void checkResult(result_t r, SourcePos pos, const std::string& message = {}) {
  if (failed(r)) throw CheckResultFailedException(pos, message, r);
}

}  // namespace velk

#include "velk/exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

namespace velk {
namespace {

TEST(ExceptionText, DescriptionWithAndWithoutMessage) {
  ResultCodeError withMessage({"f", 123}, "Can't open", errors::kNotFound);
  EXPECT_EQ(withMessage.description(), "Can't open: 0x8000004c (Not found)");
  EXPECT_EQ(withMessage.displayText(), "ResultCodeException - Can't open: 0x8000004c (Not found). At f(123) ");
  InvalidArgumentException bare({"g", 7}, "", errors::kInvalidArgument);
  EXPECT_EQ(bare.description(), "0x80000046 (Invalid argument)");
}

TEST(ExceptionText, FrameworkTextOnlyInDescriptions) {
  // Application facilities are not known to the framework table.
  CheckResultFailedException e({"x", 1}, "", code(0xA6410005));
  EXPECT_EQ(e.description(), "0xa6410005 (Unknown result code)");
}

TEST(ExceptionText, CreateInstanceNamesTheInterface) {
  CreateInstanceException e({"velk/rtl/objclient", 84}, "", errors::kNoInterface, 0x47EAA67D);
  EXPECT_EQ(e.displayText(),
            "CreateInstanceException - 0x80000001 (Interface not supported): iid = 0x47eaa67d. "
            "At velk/rtl/objclient(84) ");
}

TEST(ExceptionText, MessageOnlyKinds) {
  CheckFailedException check({"k", 9}, "changes == 1");
  EXPECT_EQ(check.displayText(), "CheckFailedException - changes == 1. At k(9) ");
  wrappers::XmlStorageException xml({"velk/util/helpers/storage", 5}, "name at node a (row 2, column 3)",
                                    errors::kInvalidType, 2, 3);
  EXPECT_EQ(xml.description(), "name at node a (row 2, column 3)");
  EXPECT_EQ(xml.code(), errors::kInvalidType);
  ResultCodeError noFile({nullptr, 0}, "m", 0);
  EXPECT_EQ(noFile.displayText(), "ResultCodeException - m: 0x00000000 (No error). At (0) ");
}

TEST(ExceptionText, ChainJoinsWithSemicolon) {
  CheckResultFailedException outer({"a", 1}, "outer", errors::kUnspecified);
  CheckFailedException inner({"b", 2}, "x > 0");
  outer.setNested(inner);
  EXPECT_EQ(chainDisplayText(outer),
            "CheckResultFailedException - outer: 0x8000004b (Unspecified error). At a(1) ;"
            "CheckFailedException - x > 0. At b(2) ");
}

TEST(ExceptionClone, RethrowKeepsTheMostDerivedType) {
  datetime::TimeSystemError original({"t", 3}, "Cannot get timezone information", errors::kPlatformUnspecified);
  std::unique_ptr<Exception> copy = original.clone();
  EXPECT_STREQ(copy->what(), "TimeSystemError");
  EXPECT_THROW(copy->rethrow(), datetime::TimeSystemError);
  EXPECT_THROW(copy->rethrow(), SystemException);
}

result_t codeOf(const std::function<void()>& raise) {
  try {
    raise();
  } catch (...) {
    return resultOfCurrentException();
  }
  return 0;
}

TEST(ResultOfException, ChosenByKind) {
  EXPECT_EQ(codeOf([] { throw contract::RequireViolation("r"); }), code(0x80000073));
  EXPECT_EQ(codeOf([] { throw contract::InvariantViolation("i"); }), code(0x80000074));
  EXPECT_EQ(codeOf([] { throw contract::EnsureViolation("e"); }), code(0x80000075));
  EXPECT_EQ(codeOf([] { throw ResultCodeError({}, "", errors::kNotFound); }), errors::kNotFound);
  EXPECT_EQ(codeOf([] { throw ResultCodeError({}, "", 0); }), errors::kUnexpected);
  EXPECT_EQ(codeOf([] { throw CheckFailedException({}, "c"); }), errors::kUnknownException);
  EXPECT_EQ(codeOf([] { throw wrappers::XmlStorageException({}, "x", errors::kNotFound); }),
            errors::kUnknownException);
  EXPECT_EQ(codeOf([] { throw std::bad_alloc(); }), errors::kOutOfMemory);
  EXPECT_EQ(codeOf([] { throw std::length_error("l"); }), errors::kOutOfMemory);
  EXPECT_EQ(codeOf([] { throw std::runtime_error("r"); }), errors::kUnknownException);
  EXPECT_EQ(codeOf([] { throw 42; }), errors::kUnknownException);
}

TEST(TextOfException, MemoryExhaustionSaysSo) {
  try {
    throw std::bad_alloc();
  } catch (...) {
    EXPECT_EQ(currentExceptionText(), "Out of memory");
  }
}

TEST(CheckResult, ThrowsOnlyForFailures) {
  EXPECT_NO_THROW(checkResult(errors::kFalse, {"p", 1}));
  try {
    checkResult(errors::kAccessDenied, {"p", 2}, "open");
    FAIL();
  } catch (const CheckResultFailedException& e) {
    EXPECT_EQ(e.code(), errors::kAccessDenied);
    EXPECT_EQ(e.position().line, 2u);
    EXPECT_EQ(e.message(), "open");
  }
}

}  // namespace
}  // namespace velk

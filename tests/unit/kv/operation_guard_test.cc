#include "kv/operation_guard.h"

#include <gtest/gtest.h>

#include "kv/sqlite_database.h"
#include "kv_test_support.h"

namespace data_storage::test {
namespace {

namespace errors = velk::errors;
constexpr uint32_t kError = velk::trace_level::kError;

class GuardTest : public ::testing::Test {
 protected:
  template <class Throw>
  velk::result_t guarded(Throw&& raise) {
    return guardOperation(tracer_.get(), [&]() -> velk::result_t {
      raise();
      return errors::kOk;
    });
  }
  velk::Ref<RecordingTracer> tracer_ = velk::make<RecordingTracer>();
};

TEST_F(GuardTest, ExceptionsBecomeResultsAndTraceLines) {
  EXPECT_EQ(guarded([] { throw velk::contract::RequireViolation("require"); }), errors::kRequireViolation);
  EXPECT_EQ(guarded([] { throw velk::contract::InvariantViolation("invariant"); }), errors::kInvariantViolation);
  EXPECT_EQ(guarded([] { throw velk::contract::EnsureViolation("ensure"); }), errors::kEnsureViolation);
  EXPECT_EQ(guarded([] { throw velk::InvalidResultException({"here", 7}, "zero", 0); }), errors::kUnexpected);
  EXPECT_EQ(guarded([] { throw velk::CheckFailedException({"here", 8}, "check"); }), errors::kUnknownException);
  EXPECT_EQ(guarded([] { throw std::bad_alloc(); }), errors::kOutOfMemory);
  EXPECT_EQ(guarded([] { throw std::length_error("long"); }), errors::kOutOfMemory);
  EXPECT_EQ(guarded([] { throw std::runtime_error("runtime"); }), errors::kUnknownException);
  EXPECT_EQ(guarded([] { throw 42; }), errors::kUnknownException);
  auto lines = tracer_->lines();
  ASSERT_EQ(lines.size(), 8u);  // nothing for the thrown int
  EXPECT_EQ(lines[0].text, "kv_st\trequire");
  EXPECT_EQ(lines[3].text, "kv_st\tInvalidResultException - zero: 0x00000000 (No error). At here(7) ");
  EXPECT_EQ(lines[7].text, "kv_st\truntime");
  for (const auto& line : lines) EXPECT_EQ(line.level, kError);
  EXPECT_EQ(guardOperation(nullptr, [] { return errors::kFalse; }), errors::kFalse);
}

TEST(SqliteResults, MapOnThePrimaryCode) {
  EXPECT_EQ(mapSqliteResult(SQLITE_OK), errors::kOk);
  EXPECT_EQ(mapSqliteResult(SQLITE_CORRUPT), errors::kBasesCorrupted);
  EXPECT_EQ(mapSqliteResult(SQLITE_CORRUPT_INDEX), errors::kBasesCorrupted);
  EXPECT_EQ(mapSqliteResult(SQLITE_NOTADB), errors::kBasesCorrupted);
  EXPECT_EQ(mapSqliteResult(SQLITE_FULL), errors::kOutOfSpace);
  EXPECT_EQ(mapSqliteResult(SQLITE_BUSY), errors::kUnspecified);
  EXPECT_EQ(mapSqliteResult(SQLITE_LOCKED_SHAREDCACHE), errors::kUnspecified);
  EXPECT_EQ(mapSqliteResult(SQLITE_CANTOPEN), errors::kUnspecified);
}

}  // namespace
}  // namespace data_storage::test

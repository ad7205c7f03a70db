// The bound on what definitions and macros may produce in one run. A few
// lines of definitions that each double the one before, or macros that each
// include the one before twice, describe more text and nodes than any
// machine holds; the budget stops such a run early with an error, after a
// bounded amount of work and memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/storage_error_reporter.h"

namespace app_core::helpers {

// Bytes of substituted text and of macro-expanded nodes one run may
// produce: the larger of 64 MB and 64 times the size of the source text.
constexpr uint64_t expansionLimit(uint64_t sourceBytes) {
  constexpr uint64_t kFloor = uint64_t{64} << 20;
  constexpr uint64_t kFactor = 64;
  return sourceBytes > kFloor / kFactor ? sourceBytes * kFactor : kFloor;
}

// What one node produced by a macro expansion is charged: about the memory
// the views over it take.
constexpr uint64_t kExpandedNodeBytes = 256;

class ExpansionBudget : public velk::ObjectBase<velk::IObject> {
 public:
  explicit ExpansionBudget(velk::Ref<StorageErrorReporter> reporter, uint64_t sourceBytes = 0)
      : reporter_(std::move(reporter)), sourceBytes_(sourceBytes) {}

  // Source text read in the run (included files as they are opened) raises
  // the limit.
  void addSource(uint64_t bytes) { sourceBytes_ += bytes; }
  // The source file at `path`, by its size on disk.
  void addSourceFile(const std::string& path);
  uint64_t limit() const { return expansionLimit(sourceBytes_); }

  // Charges `bytes`. False once the run has produced more than the limit:
  // the charge that crosses it is reported at `at` as "<what()> expands to
  // more than N bytes", `what()` naming the expansion (for example
  // "include: 'm'"); every later charge fails silently, the run having
  // failed already.
  template <class What>
  bool spend(uint64_t bytes, IFileLocation* at, What what) {
    if (exhausted_) return false;
    spent_ += bytes;
    if (spent_ <= limit()) return true;
    exhausted_ = true;
    reportCrossing(at, what());
    return false;
  }

 private:
  void reportCrossing(IFileLocation* at, const std::string& what);

  velk::Ref<StorageErrorReporter> reporter_;
  uint64_t sourceBytes_;
  uint64_t spent_ = 0;
  bool exhausted_ = false;
};

}  // namespace app_core::helpers

// A scratch folder per test with helpers to write source files into it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "console/storage_error_reporter.h"

namespace hardening {

class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("hardening_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name);
  }

  std::filesystem::path folder_;
};

// Counts errors and keeps the last text.
class CountingReporter : public velk::ObjectBase<app_core::helpers::StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view) override {}
  void ReportError(app_core::helpers::IFileLocation*, std::string_view text) override {
    ++errors;
    last = text;
  }
  void ReportWarning(app_core::helpers::IFileLocation*, std::string_view) override {}
  void ReportInfo(app_core::helpers::IFileLocation*, std::string_view) override {}

  int errors = 0;
  std::string last;
};

}  // namespace hardening

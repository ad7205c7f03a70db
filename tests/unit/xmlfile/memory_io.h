// Shared helpers of the XML storage tests: a reporter that records what it
// is told, an in-memory input/output object that logs its calls, and a
// scratch directory.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "console/storage_error_reporter.h"
#include "xmlfile/io.h"

namespace xmltest {

using velk::result_t;

struct Report {
  std::string kind;
  std::string location;  // locationText, with the include chain joined by " <- "
  std::string text;
};

class FakeReporter : public velk::ObjectBase<app_core::helpers::StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view text) override { reports.push_back({"message", "", std::string(text)}); }
  void ReportError(app_core::helpers::IFileLocation* at, std::string_view text) override { add("error", at, text); }
  void ReportWarning(app_core::helpers::IFileLocation* at, std::string_view text) override {
    add("warning", at, text);
  }
  void ReportInfo(app_core::helpers::IFileLocation* at, std::string_view text) override { add("info", at, text); }

  std::vector<Report> reports;

 private:
  void add(const char* kind, app_core::helpers::IFileLocation* at, std::string_view text) {
    std::string where;
    for (; at; at = at->GetIncludedFrom()) {
      if (!where.empty()) where += " <- ";
      where += app_core::helpers::locationText(at);
    }
    reports.push_back({kind, where, std::string(text)});
  }
};

// Bytes in memory; every call is logged as "name(argument)".
class MemoryIo : public velk::ObjectBase<velk::IIO> {
 public:
  explicit MemoryIo(std::string content = {}) : content(std::move(content)) {}

  result_t Read(void* buffer, uint32_t size, uint32_t* count) override {
    log.push_back("Read");
    if (failRead) return failRead;
    size_t n = std::min<size_t>(size, content.size() - std::min(position, content.size()));
    content.copy(static_cast<char*>(buffer), n, position);
    position += n;
    *count = static_cast<uint32_t>(n);
    return 0;
  }
  result_t Write(const void* bytes, uint32_t size, uint32_t* count) override {
    log.push_back("Write");
    content.replace(position, std::string::npos, static_cast<const char*>(bytes), size);
    position += size;
    *count = size;
    return 0;
  }
  result_t Flush() override { return note("Flush"); }
  result_t GetPosition(uint64_t* at) override {
    *at = position;
    return note("GetPosition");
  }
  result_t GetSize(uint64_t* size) override {
    *size = content.size();
    return note("GetSize");
  }
  result_t SetSize(uint64_t size) override {
    content.resize(size);
    return note("SetSize(" + std::to_string(size) + ")");
  }
  result_t Seek(uint64_t at) override {
    position = at;
    return note("Seek(" + std::to_string(at) + ")");
  }

  std::string content;
  size_t position = 0;
  result_t failRead = 0;
  std::vector<std::string> log;

 private:
  result_t note(std::string call) {
    log.push_back(std::move(call));
    return 0;
  }
};

class ScratchDir {
 public:
  ScratchDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("xmlfile_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
    return file(name);
  }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace xmltest

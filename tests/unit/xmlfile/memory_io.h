// Shared helpers of the XML storage tests: an in-memory input/output object
// that logs its calls, and reading a file back.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "xmlfile/io.h"

namespace xmltest {

using velk::result_t;

// Bytes in memory; every call is logged as "name(argument)".
class MemoryIo : public velk::ObjectBase<velk::IIO> {
 public:
  explicit MemoryIo(std::string initial = {}) : content(std::move(initial)) {}

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

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace xmltest

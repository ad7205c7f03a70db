#include "fuzz_input.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace hesk_fuzz {

namespace fs = std::filesystem;

std::string safeName(const std::string& name) {
  std::string kept;
  for (char c : name) {
    bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                   c == '-' || c == '.' || c == '/';
    if (allowed) kept += c;
  }
  std::string safe;
  for (const auto& part : fs::path(kept)) {
    std::string piece = part.string();
    if (piece.empty() || piece == "/" || piece == "." || piece == "..") continue;
    if (!safe.empty()) safe += '/';
    safe += piece;
  }
  return safe.size() > 64 ? safe.substr(0, 64) : safe;
}

std::vector<SourceFile> splitInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string_view marker(kMarker);
  std::vector<SourceFile> files;
  std::string name = "main.xml";
  size_t start = 0;
  while (true) {
    size_t next = text.find(marker, start);
    std::string_view content = text.substr(start, next == std::string_view::npos ? std::string_view::npos : next - start);
    if (!name.empty() && files.size() < kMaxFiles) files.push_back({name, std::string(content)});
    if (next == std::string_view::npos) break;
    size_t nameStart = next + marker.size();
    size_t lineEnd = text.find('\n', nameStart);
    if (lineEnd == std::string_view::npos) break;
    name = safeName(std::string(text.substr(nameStart, lineEnd - nameStart)));
    if (name == "main.xml") name.clear();
    start = lineEnd + 1;
  }
  return files;
}

namespace {

// Never freed: the exit handler that removes the folder runs after the
// destructors of function-local statics.
const std::string* scratchFolder = nullptr;

void removeScratchFolder() {
  std::error_code ignored;
  fs::remove_all(*scratchFolder, ignored);
}

}  // namespace

const std::string& freshScratchFolder() {
  if (!scratchFolder) {
    std::string base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    scratchFolder = new std::string(base + "/hesk_fuzz." + std::to_string(::getpid()));
    fs::create_directories(*scratchFolder);
    // A crash leaves the folder behind for a look; a normal end removes it.
    std::atexit(removeScratchFolder);
  }
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(*scratchFolder, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(entry.path(), ignored);
  }
  return *scratchFolder;
}

std::string writeFiles(const std::string& folder, const std::vector<SourceFile>& files) {
  for (const SourceFile& file : files) {
    fs::path path = fs::path(folder) / file.name;
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream(path, std::ios::binary) << file.content;
  }
  return folder + "/" + files.front().name;
}

ScratchInput writeInput(const uint8_t* data, size_t size) {
  // The input's files get a folder of their own: a file the input names
  // "db" or "out" must not stand where the targets put their outputs.
  const std::string& folder = freshScratchFolder();
  return {folder, writeFiles(folder + "/src", splitInput(data, size))};
}

uint32_t inputHash(const uint8_t* data, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

}  // namespace hesk_fuzz

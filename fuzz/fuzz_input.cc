#include "fuzz_input.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
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
    // A root ("/", or "//" which names one too) would make the path absolute.
    if (piece.empty() || piece.find('/') != std::string::npos || piece == "." || piece == "..") continue;
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

// The scratch folders of processes that are gone: a run ended by a signal
// (a campaign interrupted, a finding) leaves its folder, and /dev/shm is
// memory.
void removeFoldersOfEndedRuns(const std::string& base) {
  static const std::string kPrefix = "hesk_fuzz.";
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(base, ignored)) {
    std::string name = entry.path().filename().string();
    if (name.compare(0, kPrefix.size(), kPrefix) != 0) continue;
    long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove_all(entry.path(), ignored);
  }
}

const std::string& scratchFolderPath() {
  if (!scratchFolder) {
    std::string base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
    removeFoldersOfEndedRuns(base);
    scratchFolder = new std::string(base + "/hesk_fuzz." + std::to_string(::getpid()));
    fs::create_directories(*scratchFolder);
    // A crash leaves the folder behind for a look, until a later run starts;
    // a normal end removes it.
    std::atexit(removeScratchFolder);
  }
  return *scratchFolder;
}

// Removes a file or a tree, also one whose permissions were taken away.
void removeEntry(const fs::path& path) {
  std::error_code error;
  fs::remove_all(path, error);
  if (!error) return;
  fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path, error);
}

// The input's files, kept in step from one input to the next: writing and
// removing only what changed costs a few system calls where emptying and
// refilling the folder cost a fifth of a small input's time.
class SourceFolder {
 public:
  explicit SourceFolder(std::string root) : root_(std::move(root)) {}

  void hold(const std::vector<SourceFile>& files) {
    if (!known_) forget();
    if (update(files)) return;
    // Names that clash (a file and a folder of one name) take the plain
    // way, so that the outcome does not depend on the previous input.
    forget();
    for (const SourceFile& file : files) writeFile(root_ / file.name, file.content);
    known_ = false;
  }

 private:
  using Contents = std::map<std::string, std::string>;

  static std::set<std::string> foldersOf(const Contents& files) {
    std::set<std::string> folders;
    for (const auto& entry : files) {
      fs::path folder = fs::path(entry.first).parent_path();
      for (; !folder.empty() && folders.insert(folder.string()).second; folder = folder.parent_path()) {
      }
    }
    return folders;
  }

  bool update(const std::vector<SourceFile>& files) {
    Contents wanted;
    for (const SourceFile& file : files) wanted[file.name] = file.content;
    std::set<std::string> folders = foldersOf(wanted);
    std::error_code error;
    for (const auto& [name, content] : written_) {
      if (!wanted.count(name) && !fs::remove(root_ / name, error)) return false;
    }
    // Deepest first, so that a folder is empty when its turn comes.
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
      if (!folders.count(*folder) && !fs::remove(root_ / *folder, error)) return false;
    }
    for (const auto& [name, content] : wanted) {
      auto old = written_.find(name);
      if (old != written_.end() && old->second == content) continue;
      if (!writeFile(root_ / name, content)) return false;
    }
    written_ = std::move(wanted);
    folders_ = std::move(folders);
    known_ = true;
    return true;
  }

  void forget() {
    removeEntry(root_);
    written_.clear();
    folders_.clear();
  }

  fs::path root_;
  Contents written_;
  std::set<std::string> folders_;
  // False until the folder holds exactly `written_`.
  bool known_ = false;
};

// Removes the entries of the folder open as `folder` (closed here) but the
// one called `kept`, going by the entry types the folder lists rather than a
// `stat` of each. False when something stays.
bool removeContents(int folder, const char* kept) {
  DIR* listing = ::fdopendir(folder);
  if (!listing) {
    ::close(folder);
    return false;
  }
  bool removed = true;
  while (const dirent* entry = ::readdir(listing)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == ".." || (kept && name == kept)) continue;
    if (entry->d_type != DT_DIR && ::unlinkat(::dirfd(listing), entry->d_name, 0) == 0) continue;
    int inner = ::openat(::dirfd(listing), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    removed = inner >= 0 && removeContents(inner, nullptr) &&
              ::unlinkat(::dirfd(listing), entry->d_name, AT_REMOVEDIR) == 0 && removed;
  }
  ::closedir(listing);
  return removed;
}

}  // namespace

bool writeFile(const std::string& path, const std::string& content) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 && errno == ENOENT) {
    std::error_code ignored;
    fs::create_directories(fs::path(path).parent_path(), ignored);
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  }
  if (fd < 0) return false;
  bool written = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  return ::close(fd) == 0 && written;
}

bool readFile(const std::string& path, std::string& content) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  content.clear();
  char buffer[16384];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<size_t>(got));
  ::close(fd);
  return got == 0;
}

const std::string& freshScratchFolder() {
  const std::string& folder = scratchFolderPath();
  int listing = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing >= 0 && removeContents(listing, "src")) return folder;
  // What an input left without write permission, say.
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    if (entry.path().filename() != "src") removeEntry(entry.path());
  }
  return folder;
}

ScratchInput writeInput(const uint8_t* data, size_t size) {
  // The input's files get a folder of their own: a file the input names
  // "db" or "out" must not stand where the targets put their outputs.
  const std::string& folder = freshScratchFolder();
  static SourceFolder* source = new SourceFolder(folder + "/src");
  source->hold(splitInput(data, size));
  return {folder, folder + "/src/main.xml"};
}

uint32_t inputHash(const uint8_t* data, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}

}  // namespace hesk_fuzz

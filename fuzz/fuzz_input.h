// Turns one fuzzer input into the files of a small source tree in a scratch
// folder, so that includes between the files can be exercised.
//
// Input format: the bytes up to the first marker line are "main.xml"; every
// line "@@@ NAME" starts a further file called NAME. Names are kept inside
// the scratch folder: only letters, digits, "_", "-", "." and "/" survive,
// ".." and leading "/" are dropped. At most kMaxFiles files are written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hesk_fuzz {

constexpr size_t kMaxFiles = 8;
constexpr const char* kMarker = "\n@@@ ";

struct SourceFile {
  std::string name;
  std::string content;
};

// Splits an input into files; the first is always "main.xml".
std::vector<SourceFile> splitInput(const uint8_t* data, size_t size);

// A name made safe to use below the scratch folder; empty when nothing is left.
std::string safeName(const std::string& name);

// The scratch folder of this process (under /dev/shm when it exists) with
// everything but the input's files ("src") removed: what the previous input
// made there is gone.
const std::string& freshScratchFolder();

// Writes `content` as the file `path`, making its folder when missing.
bool writeFile(const std::string& path, const std::string& content);

// The whole of the file `path` into `content`; false when it cannot be read
// (when it is missing, say).
bool readFile(const std::string& path, std::string& content);

struct ScratchInput {
  std::string folder;    // the scratch folder, free for outputs
  std::string mainFile;  // the path of "main.xml", in the folder's "src"
};

// Empties the scratch folder but for "src", and makes "src" hold exactly
// the input's files. Files the previous input had with the same content
// are left as they are: most mutations change one file of a tree.
ScratchInput writeInput(const uint8_t* data, size_t size);

// FNV-1a of the input: picks a variant of a run the same way each time the
// input is replayed.
uint32_t inputHash(const uint8_t* data, size_t size);

}  // namespace hesk_fuzz

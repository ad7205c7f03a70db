// The pack and preprocess commands: the input is a small source tree (see
// fuzz_input.h) whose "main.xml" is packed (includes resolved) and
// preprocessed (the whole filter chain for one product and a few
// definitions) into scratch documents. Whatever either command wrote, even
// when it reported errors, must be a document that the tool reads again.
// The input's length picks the product.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>

#include "cli/tool_main.h"
#include "commands/pack_command.h"
#include "document_check.h"
#include "fuzz_input.h"
#include "quiet_run.h"

namespace {

using namespace app_core;

const Definitions kDefinitions = {{"A", "1"}, {"B", ""}, {"NAME", "n${A}"}};
const char* const kProducts[] = {"QPX", "PRO"};

void checkWritten(const std::string& path, const char* command) {
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return;
  if (!hesk_fuzz::readBack(path)) hesk_fuzz::propertyFails(std::string(command) + " wrote a document that does not read again");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerFactoryTables();
  hesk_fuzz::QuietRun::shared();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  auto [folder, input] = hesk_fuzz::writeInput(data, size);
  std::string packed = folder + "/out/packed.xml";
  std::string preprocessed = folder + "/out/preprocessed.xml";
  // Both commands turn every exception into their result.
  pack(hesk_fuzz::InputRun().environment(), {input}, packed);
  preprocess(hesk_fuzz::InputRun().environment(), kProducts[(size / 3) % 2], kDefinitions, {input}, preprocessed);
  checkWritten(packed, "pack");
  checkWritten(preprocessed, "preprocess");
  return 0;
}

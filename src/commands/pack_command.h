#pragma once

#include <string>
#include <vector>

#include "console/command_environment.h"
#include "preprocessor/definition.h"

namespace app_core {

// Merges the inputs into one document, resolving their includes.
velk::result_t pack(const CommandEnvironment& env, const std::vector<std::string>& inputs,
                    const std::string& output);

// Writes the fully preprocessed form of the inputs into one document.
velk::result_t preprocess(const CommandEnvironment& env, const std::string& product,
                          const Definitions& definitions, const std::vector<std::string>& inputs,
                          const std::string& output);

}  // namespace app_core

// The filter chains the commands read their XML sources through.
#pragma once

#include <string>
#include <vector>

#include "console/storage_error_reporter.h"
#include "preprocessor/definition.h"
#include "preprocessor/storage_filter.h"

namespace app_core::helpers {

// Definitions and product, blocks, includes, messages: what compile, import
// and preprocess read through. The size of the `sources` (the command's
// input files) and of every included file sets the chain's expansion limit.
// An include of one of `outputs`, the files the run writes, is an error.
velk::Ref<IStorageFilter> makePreprocessorChain(velk::Ref<StorageErrorReporter> reporter,
                                                velk::IObject* xmlStorageFactory,
                                                const Definitions& definitions, const std::string& product,
                                                const std::vector<std::string>& sources = {},
                                                const std::vector<std::string>& outputs = {});

// Includes alone: what pack reads through. `xmlStorageFactory` parses the
// included files.
velk::Ref<IStorageFilter> makePackChain(velk::Ref<StorageErrorReporter> reporter,
                                        velk::IObject* xmlStorageFactory, const std::vector<std::string>& outputs = {});

}  // namespace app_core::helpers

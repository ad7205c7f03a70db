// commands/: the bodies of the five commands. This one is compile: open the
// outputs, read every input through the preprocessor, build and check the
// model, and write the outputs only when no error was counted.
#pragma once

#include <string>
#include <vector>

#include "console/command_environment.h"
#include "kv/key_value_factory_interfaces.h"
#include "preprocessor/definition.h"
#include "schedule/values_free_storage_factory.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

struct CompileArguments {
  std::string product;
  Definitions definitions;
  std::string targetCategory;
  std::vector<std::string> inputs;
  std::string settingsDatabase;
  std::string storageDatabase;
  std::string vsmOutput;
  std::string quarnConfig;        // absolute when given, else empty
  std::string quarnRegistryPath;  // the part behind the first "|"
};

// The reporter and the framework services one compile runs on.
struct CompileContext {
  helpers::StorageErrorReporter* reporter = nullptr;
  // The same reporter's error and warning counts.
  helpers::StorageErrorReporterProxy* counter = nullptr;
  velk::Ref<data_storage::IKeyValueStorageFactory> storageFactory;
  velk::Ref<velk::IXmlStorageFactory> xmlFactory;
  velk::Ref<velk::IValuesFreeStorageFactory> adapterFactory;
  // Makes the schedule deserializer (class 0x66053A85).
  velk::Ref<velk::IObject> serializerFactory;
};

// Creates the factories through the run's locator; a class that cannot be
// created throws.
CompileContext makeCompileContext(const CommandEnvironment& env);

// Runs one compile; 0, or 0x8000004B when errors were counted, or the code
// of an exception that ended the run.
velk::result_t compile(const CompileContext& context, const CompileArguments& args);
velk::result_t compile(const CommandEnvironment& env, const CompileArguments& args);

// Reads the inputs and builds the model as a compile does, reporting what it
// finds, without opening or writing any output; true when no error was
// reported. Exceptions pass to the caller.
bool checkConfiguration(const CompileContext& context, const CompileArguments& args);

}  // namespace app_core

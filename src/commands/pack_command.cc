#include "commands/pack_command.h"

#include <exception>

#include "console/helpers_exceptions.h"
#include "console/storage_error_reporter_proxy.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_copy.h"
#include "velk/exception.h"
#include "xmlfile/open_output_document.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/renamed_storage.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

using velk::Ref;
using velk::result_t;
using namespace helpers;

namespace {

// Fixed positions name the raising sites in exception texts.
constexpr const char* kSource = "tools/hesk_config/source/pack";
constexpr velk::SourcePos kStagePos{kSource, 60};
constexpr velk::SourcePos kFlushPos{kSource, 97};

// Every opened input's root, presented as a "block" and seen through
// `filter`. Making the views filters the roots' direct children.
Ref<FilteredStorage> combineInputs(const CommandEnvironment& env, velk::IXmlStorageFactory* factory,
                                   const std::vector<std::string>& inputs, const Ref<IStorageFilter>& filter) {
  auto container = velk::make<FilteredStorage>();
  for (const std::string& path : inputs) {
    Ref<IXmlFileStorage> root = openXmlFile(factory, path, env.reporter, nullptr);
    if (!root) continue;
    auto block = velk::make<RenamedStorage>(root, "block");
    // The copy goes once through the views, forgetting each child copied.
    container->appendChild(Ref<IXmlFileStorage>(
        velk::make<FilteredStorage>(Ref<IXmlFileStorage>(block), filter, ChildListing::kIndexes)));
  }
  return container;
}

uint32_t errorCount(const CommandEnvironment& env) { return env.counter ? env.counter->errorCount() : 0; }

bool combineAndWrite(const CommandEnvironment& env, const std::vector<std::string>& inputs,
                     const std::string& output, const Ref<IStorageFilter>& filter) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  if (!factory) factory = velk::make<velk::XmlStorageFactory>();
  Ref<FilteredStorage> container = combineInputs(env, factory.get(), inputs, filter);
  if (errorCount(env) != 0) return false;
  // The inputs are copied into a document of their own first: a read that
  // fails half way must leave an existing output as it was. A new output is
  // that copy's print, so it is then printed as it is copied, with no tree.
  Ref<velk::StreamedXmlStorage> print;
  Ref<velk::IStorage> staged;
  if (outputStartsEmpty(output)) {
    print = velk::StreamedXmlStorage::createDocument("root");
    staged = print;
  } else {
    velk::checkResult(factory->CreateDocument("root", nullptr, 0, staged.put()), kStagePos);
  }
  copyStorage(container.get(), staged.get());
  // The inputs and their views are no longer needed.
  container.reset();
  // Opened (and checked) after the copy as before. Should the output have
  // been given content since it was found empty, the print replaces it: the
  // run then reads as one that found the file empty and wrote after it.
  OutputDocument document = openOutputDocument(factory.get(), output, "root", kSource);
  // Saved whole or not at all: an existing output keeps its old text when
  // the save fails.
  if (print) {
    saveOutputDocument(document, *print, kFlushPos);
  } else {
    copyStorage(staged.get(), document.root.get());
    saveOutputDocument(document, kFlushPos);
  }
  // Diagnostics raised while the deeper levels were copied fail the run too.
  return errorCount(env) == 0;
}

// Runs the command's work; an exception is reported as `failure` and turned
// into a result code.
template <class Work>
result_t runGuarded(const CommandEnvironment& env, const char* failure, Work work) {
  try {
    return work() ? velk::errors::kOk : velk::errors::kUnspecified;
  } catch (...) {
    env.reporter->ReportError(nullptr, std::string(failure) + ": " + velk::currentExceptionText());
    return velk::resultOfCurrentException();
  }
}

}  // namespace

velk::result_t pack(const CommandEnvironment& env, const std::vector<std::string>& inputs, const std::string& output) {
  return runGuarded(env, "Packing failed", [&] {
    auto filter = makePackChain(Ref<StorageErrorReporter>(env.reporter), env.xmlStorageFactory, {output});
    return combineAndWrite(env, inputs, output, filter);
  });
}

velk::result_t preprocess(const CommandEnvironment& env, const std::string& product, const Definitions& definitions,
                          const std::vector<std::string>& inputs, const std::string& output) {
  return runGuarded(env, "Preprocessing failed", [&] {
    auto filter = makePreprocessorChain(Ref<StorageErrorReporter>(env.reporter), env.xmlStorageFactory,
                                        definitions, product, inputs, {output});
    return combineAndWrite(env, inputs, output, filter);
  });
}

}  // namespace app_core

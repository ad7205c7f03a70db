#include "commands/compile_pipeline.h"

#include <exception>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "commands/tasks_writer_choice.h"
#include "console/null_tracer.h"
#include "console/storage_error_reporter_proxy.h"
#include "front/configuration_reader.h"
#include "front/model_builder.h"
#include "kv/open_command_database.h"
#include "kv/transaction_indexed_key_value_storage.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "schedule/schedule_serializer.h"
#include "schedule/serializer_factory.h"
#include "writers/vsm/service_manager_config_writer.h"
#include "xmlfile/open_output_document.h"
#include "xmlfile/open_xml_file.h"

namespace app_core {

using velk::Ref;
using velk::result_t;

namespace {

constexpr std::string_view kCrutchDefinition = "APP_CORE_CRUTCH_DONT_DECLARE_UPDATE_CATEGORIES";
constexpr velk::SourcePos kFlushPos{kCompilerSource, 262};
constexpr velk::SourcePos kCommitPos{kCompilerSource, 270};

// The inputs through the preprocessor, read into one source configuration
// and built into the model; what is wrong is reported on the way.
ConfigurationModel modelOfInputs(const CompileContext& context, const CompileArguments& args,
                               velk::IStructSerializer* serializer) {
  auto chain = helpers::makePreprocessorChain(Ref<helpers::StorageErrorReporter>(context.reporter),
                                              context.xmlFactory.get(), args.definitions, args.product, args.inputs,
                                              {args.storageDatabase, args.settingsDatabase, args.vsmOutput,
                                               args.quarnConfig});
  SourceConfiguration source;
  for (const std::string& path : args.inputs) {
    Ref<helpers::IXmlFileStorage> root =
        helpers::openXmlFile(context.xmlFactory.get(), path, context.reporter, nullptr);
    if (!root) continue;
    auto view = velk::make<helpers::FilteredStorage>(root, chain);
    readConfiguration(context.reporter, view.get(), {serializer, context.adapterFactory.get()}, source);
  }
  return buildModel(source, context.reporter);
}

class CompilePipeline {
 public:
  CompilePipeline(const CompileContext& context, const CompileArguments& args) : context_(context), args_(args) {}

  result_t run() {
    try {
      openOutputs();
    } catch (const std::exception&) {
      return failRun("Error opening output file");
    }
    try {
      return compileAndClose();
    } catch (const std::exception&) {
      return failRun("Compilation failed");
    }
  }

 private:
  void openOutputs() {
    storage_ = openDatabase(args_.storageDatabase);
    settings_ = openDatabase(args_.settingsDatabase);
    vsm_ = openOutputDocument(context_.xmlFactory.get(), args_.vsmOutput, "root");
  }

  Ref<data_storage::IIndexedKeyValueStorage> openDatabase(const std::string& path) {
    return openCommandDatabase(context_.storageFactory.get(), context_.reporter, path, DatabaseUse::kWrite);
  }

  result_t compileAndClose() {
    warnAboutCrutchDefinition();
    serializer_ = createScheduleSerializer(context_.serializerFactory.get());
    ConfigurationModel model = modelOfInputs(context_, args_, serializer_.get());
    returnFreedPages();
    if (errorCount() == 0) writeOutputs(model);
    if (errorCount() == 0) {
      saveAll();
    } else {
      keepOldOutputs();
    }
    context_.reporter->ReportMessage("Compilation completed with " + std::to_string(errorCount()) +
                                     " error(s) and " + std::to_string(warningCount()) + " warning(s)");
    return errorCount() == 0 ? velk::errors::kOk : velk::errors::kUnspecified;
  }

  // The sources' documents are gone, but their free pages, scattered among
  // what the model keeps, stay resident, and the writers' trees mostly land
  // elsewhere: the peak would be both.
  static void returnFreedPages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
  }

  void warnAboutCrutchDefinition() {
    for (const Definition& definition : args_.definitions) {
      if (definition.name != kCrutchDefinition) continue;
      context_.reporter->ReportWarning(nullptr, "update categories will not be declared because " +
                                                    std::string(kCrutchDefinition) + " is defined");
      return;
    }
  }

  void writeOutputs(ConfigurationModel& model) {
    Ref<velk::ITracer> tracer = velk::make<NullTracer>();
    StorageContext settings{settings_, tracer, context_.xmlFactory};
    StorageContext storage{storage_, tracer, context_.xmlFactory};
    TasksWriterInputs inputs{context_, settings, storage, serializer_.get(), args_.quarnConfig,
                             args_.quarnRegistryPath};
    std::unique_ptr<TasksWriter> tasks = makeTasksWriter(inputs, quarn_);
    ServiceManagerConfigWriter writer(args_.targetCategory, model, settings, context_.adapterFactory.get(), *tasks);
    result_t r = writer.writeDocument(vsm_.root.get());
    if (velk::succeeded(r)) {
      releaseVsmTree();
      model.releaseServiceSettings();
      r = writer.writeTasks();
    }
    if (velk::failed(r)) {
      context_.reporter->ReportError(nullptr, "Error writing output config: result=" +
                                                  velk::hexId(static_cast<uint32_t>(r)) + " (" +
                                                  velk::applicationText(r) + ")");
    }
  }

  // The finished `.vsm` is printed into its file's memory, and its tree let go
  // before the task writers build theirs. The file itself waits for saveAll
  // as before; when this print fails, the tree stays and saveAll prints it.
  void releaseVsmTree() {
    if (velk::succeeded(vsm_.root->Flush())) vsm_.root.reset();
  }

  // The outputs change together or not at all. Every file is written and
  // flushed to disk beside its target first, so that a full disk stops the
  // run while nothing has changed; then the two databases commit one right
  // after the other, and the files are renamed into place. Only a stop
  // between the first commit and the last rename leaves outputs that
  // disagree.
  void saveAll() {
    if (vsm_.root) velk::checkResult(vsm_.root->Flush(), kFlushPos);
    if (quarn_.document) velk::checkResult(quarn_.document->Flush(), kFlushPos);
    std::vector<velk::OutputFile*> files = {vsm_.file.get()};
    if (quarn_.file) files.push_back(quarn_.file.get());
    for (velk::OutputFile* file : files) velk::checkResult(file->stage(), kFlushPos);
    velk::checkResult(commitCommandDatabase(storage_.get()), kCommitPos, "CommitTransaction");
    velk::checkResult(commitCommandDatabase(settings_.get()), kCommitPos, "CommitTransaction");
    for (velk::OutputFile* file : files) velk::checkResult(file->commit(), kFlushPos);
    releaseDatabases();
  }

  // A run that counted errors receives nothing: a writer that failed half
  // way must not leave half of its records or elements behind. Only a
  // `.vsm` that did not exist is made, as the empty root document.
  void keepOldOutputs() {
    rollBackDatabases();
    releaseDatabases();
    saveEmptyVsmWhenNew();
  }

  void saveEmptyVsmWhenNew() {
    if (!vsm_.file || vsm_.file->existed()) return;
    // What a failed writer added to the document is left out.
    Ref<velk::IStorage> empty;
    velk::checkResult(context_.xmlFactory->CreateDocument("root", vsm_.file.get(), 0, empty.put()), kFlushPos);
    velk::checkResult(empty->Flush(), kFlushPos);
    velk::checkResult(vsm_.file->stage(), kFlushPos);
    velk::checkResult(vsm_.file->commit(), kFlushPos);
  }

  void rollBackDatabases() {
    if (storage_) rollbackCommandDatabase(storage_.get());
    if (settings_) rollbackCommandDatabase(settings_.get());
  }

  // The storage database first, as it was opened first.
  void releaseDatabases() {
    storage_.reset();
    settings_.reset();
  }

  result_t failRun(const char* what) {
    result_t r = velk::resultOfCurrentException();
    context_.reporter->ReportError(nullptr, std::string(what) + ": " + velk::currentExceptionText());
    rollBackDatabases();
    releaseDatabases();
    // Best effort: the failure that ended the run has been reported.
    try {
      saveEmptyVsmWhenNew();
    } catch (const std::exception&) {
    }
    return r;
  }

  uint32_t errorCount() const { return context_.counter->errorCount(); }
  uint32_t warningCount() const { return context_.counter->warningCount(); }

  const CompileContext& context_;
  const CompileArguments& args_;
  Ref<data_storage::IIndexedKeyValueStorage> storage_;
  Ref<data_storage::IIndexedKeyValueStorage> settings_;
  OutputDocument vsm_;
  QuarnOutput quarn_;
  Ref<velk::IStructSerializer> serializer_;
};

}  // namespace

CompileContext makeCompileContext(const CommandEnvironment& env) {
  CompileContext context;
  context.reporter = env.reporter;
  context.counter = env.counter;
  context.xmlFactory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  context.storageFactory = velk::createObject<data_storage::IKeyValueStorageFactory>(
      env.locator, data_storage::class_ids::kKeyValueStorageManager);
  context.adapterFactory =
      velk::createObject<velk::IValuesFreeStorageFactory>(env.locator, velk::kValuesFreeStorageFactoryClassId);
  context.serializerFactory =
      velk::createObject<velk::ISerializerFactory>(env.locator, velk::kSerializerFactoryClassId);
  return context;
}

result_t compile(const CompileContext& context, const CompileArguments& args) {
  return CompilePipeline(context, args).run();
}

bool checkConfiguration(const CompileContext& context, const CompileArguments& args) {
  uint32_t errorsBefore = context.counter->errorCount();
  Ref<velk::IStructSerializer> serializer = createScheduleSerializer(context.serializerFactory.get());
  modelOfInputs(context, args, serializer.get());
  return context.counter->errorCount() == errorsBefore;
}

result_t compile(const CommandEnvironment& env, const CompileArguments& args) {
  return compile(makeCompileContext(env), args);
}

}  // namespace app_core

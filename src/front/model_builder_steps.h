// The model builder's steps, in the order they run.
#pragma once

#include <map>
#include <unordered_map>
#include <unordered_set>

#include "front/group_link_resolver.h"
#include "front/model_builder.h"

namespace app_core {

class ModelBuilder {
 public:
  ModelBuilder(const SourceConfiguration& source, helpers::StorageErrorReporter* reporter)
      : source_(source), reporter_(reporter) {}

  ConfigurationModel build();

 private:
  using NameMap = std::unordered_map<std::string, size_t, StringHash, std::equal_to<>>;
  struct Membership {
    size_t assembly;
    LocationRef location;
  };

  // model_builder.cc
  void addPredefinedHosts();
  void addHosts();
  void addUpdateCategories();
  void addAssemblies();
  void registerMembers(const SourceAssembly& assembly, size_t assemblyIndex);
  void addComponents();
  void declareInterfaces(const SourceComponent& component, std::vector<uint32_t>& ids);
  void addServices();
  void addAccessPoints();
  bool resolveAuthorization(const SourceAccessPoint& point, ModelAccessPoint& record);
  void addAccessPointServices();
  void assignHostServices();
  void assignDefaultAccessPoints();

  // task_model_steps.cc
  void addTaskTypes();
  void addOnDemandTasks();
  void addMonitoringTasks();
  std::vector<TypedInterface> acceptDistinct(const std::string& typeName, std::string_view kind,
                                             const std::vector<SourceTypedInterface>& entries);
  void acceptInterfaces(const std::string& typeName, const SourceTaskInterfaces& source, ModelTaskType& type);
  std::optional<TaskSettings> taskSettings(const SourceTaskSettings& settings,
                                           const ModelComponent& component);
  void resolveAllDependencies();
  std::vector<ModelDependency> resolveDependencies(const std::vector<SourceDependency>& entries);
  std::optional<ModelDependency> resolveDependency(const SourceDependency& entry);
  void attachServiceSettings();
  void attachTaskSettings();
  void attachDefaultSettings();
  void warnMetaInterfaces();

  // Shared helpers.
  void error(const LocationRef& location, const std::string& text);
  void warning(const LocationRef& location, const std::string& text);
  bool hasSettingsType(const ModelComponent& component, const LocationRef& settingsLocation);

  const SourceConfiguration& source_;
  helpers::StorageErrorReporter* reporter_;
  ConfigurationModel model_;

  std::unordered_map<uint32_t, size_t> hostById_;
  NameMap assemblyByName_;
  std::unordered_map<std::string, Membership, StringHash, std::equal_to<>> membership_;
  std::map<uint32_t, ModelInterface> interfaceTable_;
  std::unordered_map<uint32_t, size_t> accessPointById_;
  std::vector<std::unordered_set<uint32_t>> accessPointKeys_;
  // Model records made from accepted source records, by source position:
  // dependencies go to exactly the record their element produced.
  std::vector<size_t> serviceOfSource_;
  std::vector<size_t> taskTypeOfSource_;
  std::vector<size_t> monitoringTypeOfSource_;
};

}  // namespace app_core

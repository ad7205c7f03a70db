#include "writers/vsm/service_manager_config_writer.h"

#include "writers/db/service_settings_writer.h"

namespace app_core {

using velk::IStorage;
using velk::Ref;
using velk::result_t;

namespace {

constexpr uint32_t kDisabledCategoryFlag = 0x10;
constexpr uint32_t kDefaultServiceFlags = 0x80000000;

// Carries the first failing code of a storage operation out of the nested
// writing steps.
struct WriteFailed {
  result_t code;
};

void check(result_t r) {
  if (velk::failed(r)) throw WriteFailed{r};
}

Ref<IStorage> createChild(IStorage* parent, std::string_view name) {
  Ref<IStorage> child;
  check(parent->CreateNode(name, child.put()));
  return child;
}

void writeText(IStorage* node, std::string_view name, std::string text) {
  check(node->WriteValue(name, velk::ValueDescriptor::ofText(std::move(text)), 0));
}

void writeIdentifier(IStorage* node, std::string_view name, uint32_t value) {
  writeText(node, name, velk::hexId(value));
}

void writeDecimal(IStorage* node, std::string_view name, uint32_t value) {
  writeText(node, name, std::to_string(value));
}

void writeBoolean(IStorage* node, std::string_view name, bool value) {
  check(node->WriteValue(name, velk::ValueDescriptor::ofBool(value), 0));
}

uint32_t updateCategoryFlags(const ModelUpdateCategory& category) {
  uint32_t flags = category.enabled ? 0 : kDisabledCategoryFlag;
  switch (category.containerType) {
    case kStorageContainer: return flags | 0x1;
    case kNativeFileSystem: return flags;
    case kReadOnlyFileSystemStorage: return flags | 0x2;
    default: throw WriteFailed{velk::errors::kInvalidArgument};
  }
}

}  // namespace

ServiceManagerConfigWriter::ServiceManagerConfigWriter(std::string targetCategory, const ConfigurationModel& model,
                                                       const StorageContext& settings,
                                                       velk::IValuesFreeStorageFactory* adapterFactory,
                                                       TasksWriter& tasksWriter)
    : targetCategory_(std::move(targetCategory)),
      model_(model),
      settings_(settings),
      adapterFactory_(adapterFactory),
      tasksWriter_(tasksWriter) {}

result_t ServiceManagerConfigWriter::write(IStorage* root) {
  result_t r = writeDocument(root);
  return velk::failed(r) ? r : writeTasks();
}

result_t ServiceManagerConfigWriter::writeDocument(IStorage* root) {
  try {
    if (targetCategory_.empty()) {
      writeUpdateCategories(root);
      writeManageabilityAndSettings(root);
      writeHosts(root);
      writeAccessPoints(root);
    }
    writeServiceComponents(root);
    writeComponentsWithoutServices(root);
  } catch (const WriteFailed& failure) {
    return failure.code;
  }
  return velk::errors::kOk;
}

result_t ServiceManagerConfigWriter::writeTasks() { return tasksWriter_.write(model_); }

void ServiceManagerConfigWriter::writeUpdateCategories(IStorage* root) {
  for (const ModelUpdateCategory& category : model_.updateCategories) {
    uint32_t flags = updateCategoryFlags(category);
    Ref<IStorage> node = createChild(root, "update_category");
    writeText(node.get(), "name", category.name);
    writeText(node.get(), "components", category.components);
    writeText(node.get(), "path", category.path);
    writeDecimal(node.get(), "flags", flags);
  }
}

void ServiceManagerConfigWriter::writeManageabilityAndSettings(IStorage* root) {
  for (const ModelService& service : model_.services) {
    const ModelComponent& component = model_.componentOf(service);
    if (!model_.assemblyOf(component).moduleCategory.empty() && component.settingsTypeId) {
      Ref<IStorage> node = createChild(root, "component_manageability");
      writeComponentAttributes(node.get(), component, true);
    }
    if (service.settings) check(writeServiceSettings(service, settings_, adapterFactory_));
  }
}

void ServiceManagerConfigWriter::writeHosts(IStorage* root) {
  for (const ModelHost& host : model_.hosts) {
    if (host.predefined) continue;
    Ref<IStorage> node = createChild(root, "host");
    writeIdentifier(node.get(), "id", host.id);
    writeBoolean(node.get(), "prototype", host.prototype);
  }
}

void ServiceManagerConfigWriter::writeAccessPoints(IStorage* root) {
  for (const ModelAccessPoint& point : model_.accessPoints) {
    Ref<IStorage> node = createChild(root, "access_point");
    writeIdentifier(node.get(), "id", point.id);
    writeIdentifier(node.get(), "host", point.host);
    writeIdentifier(node.get(), "authorization_service", point.authorizationServiceKey);
    for (uint32_t key : point.serviceKeys) {
      Ref<IStorage> service = createChild(node.get(), "service");
      writeIdentifier(service.get(), "service_key", key);
    }
  }
}

void ServiceManagerConfigWriter::writeServiceComponents(IStorage* root) {
  for (const ModelService& service : model_.services) {
    if (inTargetCategory(model_.componentOf(service))) writeService(root, service);
  }
}

void ServiceManagerConfigWriter::writeComponentsWithoutServices(IStorage* root) {
  for (const ModelComponent& component : model_.components) {
    if (component.serviceCount != 0 || !inTargetCategory(component)) continue;
    Ref<IStorage> node = createChild(root, "component");
    writeIdentifier(node.get(), "service_key", 0);
    writeComponentAttributes(node.get(), component, targetCategory_.empty());
    writeInterfaces(node.get(), component);
    writeModule(node.get(), model_.assemblyOf(component));
  }
}

void ServiceManagerConfigWriter::writeService(IStorage* root, const ModelService& service) {
  const ModelComponent& component = model_.componentOf(service);
  Ref<IStorage> node = createChild(root, "component");
  writeText(node.get(), "name", service.name);
  writeIdentifier(node.get(), "service_key", service.key);
  writeServiceAttributes(node.get(), service);
  writeComponentAttributes(node.get(), component, targetCategory_.empty());
  writeInterfaces(node.get(), component);
  writeModule(node.get(), model_.assemblyOf(component));
  writeDependencies(node.get(), service);
}

void ServiceManagerConfigWriter::writeServiceAttributes(IStorage* node, const ModelService& service) {
  // The service manager places a service without a host in "main" itself.
  if (service.host != 0 && service.host != kMainHostId) writeIdentifier(node, "host", service.host);
  if (service.defaultAccessPoint != 0) writeIdentifier(node, "default_access_point", service.defaultAccessPoint);
  if (service.flags != 0 && service.flags != kDefaultServiceFlags) writeIdentifier(node, "flags", service.flags);
  if (service.tracerPrefix) writeText(node, "tracer_prefix", *service.tracerPrefix);
  if (service.timeout) writeDecimal(node, "timeout", *service.timeout);
  if (service.basesCategory) writeText(node, "bases_category", *service.basesCategory);
  if (service.category) writeText(node, "category", *service.category);
}

void ServiceManagerConfigWriter::writeComponentAttributes(IStorage* node, const ModelComponent& component,
                                                          bool withSettingsIds) {
  writeIdentifier(node, "clsid", component.clsid);
  if (!withSettingsIds) return;
  if (component.settingsTypeId) writeIdentifier(node, "settings_type_id", *component.settingsTypeId);
  if (component.constructIid) writeIdentifier(node, "construct_iface_id", *component.constructIid);
  if (component.settingsIid) writeIdentifier(node, "settings_iface_id", *component.settingsIid);
}

void ServiceManagerConfigWriter::writeInterfaces(IStorage* node, const ModelComponent& component) {
  for (uint32_t iid : component.interfaces) {
    // The model lists every declared identifier; a gap would be a fault of
    // the model, never something to write around.
    const ModelInterface* entry = model_.findInterface(iid);
    if (!entry) throw WriteFailed{velk::errors::kNotFound};
    Ref<IStorage> child = createChild(node, "interface");
    writeIdentifier(child.get(), "iid", entry->iid);
    writeText(child.get(), "name", entry->name);
  }
}

void ServiceManagerConfigWriter::writeModule(IStorage* node, const ModelAssembly& assembly) {
  writeText(node, "module", assembly.module);
  if (!assembly.moduleCategory.empty()) writeText(node, "module_category", assembly.moduleCategory);
}

void ServiceManagerConfigWriter::writeDependencies(IStorage* node, const ModelService& service) {
  for (const ModelDependency& dependency : service.dependencies) {
    Ref<IStorage> child = createChild(node, "depends");
    writeIdentifier(child.get(), "service_key", dependency.key);
    if (dependency.accessPoint != 0) writeIdentifier(child.get(), "access_point", dependency.accessPoint);
  }
}

bool ServiceManagerConfigWriter::inTargetCategory(const ModelComponent& component) const {
  return model_.assemblyOf(component).moduleCategory == targetCategory_;
}

}  // namespace app_core

#include "front/model_builder.h"

#include <algorithm>

#include "front/compiler_messages.h"
#include "front/model_builder_steps.h"

namespace app_core {
namespace {

constexpr uint32_t kTaskInterfaceId = 0xA47BF9AF;
// Access points with this identifier have no authorization service.
constexpr uint32_t kUnauthorizedAccessPointId = 0x75C750CE;
constexpr size_t kNone = static_cast<size_t>(-1);

}  // namespace

ConfigurationModel buildModel(const SourceConfiguration& source, helpers::StorageErrorReporter* reporter) {
  return ModelBuilder(source, reporter).build();
}

uint32_t serviceFlags(const SourceService& service) {
  uint32_t flags = 0;
  if (service.autostart.value_or(false)) flags |= 0x4;
  if (service.createOnUpdate.value_or(false)) flags |= 0x8;
  uint32_t priority = 128;
  if (service.lookupPriority)
    priority = *service.lookupPriority;
  else if (service.accessibility == 1u)
    priority = 255;
  return flags | priority << 24;
}

ConfigurationModel ModelBuilder::build() {
  addPredefinedHosts();
  addHosts();
  addUpdateCategories();
  addAssemblies();
  addComponents();
  addServices();
  addAccessPoints();
  addAccessPointServices();
  assignHostServices();
  assignDefaultAccessPoints();
  addTaskTypes();
  addOnDemandTasks();
  addMonitoringTasks();
  resolveAllDependencies();
  attachServiceSettings();
  attachTaskSettings();
  attachDefaultSettings();
  warnMetaInterfaces();
  return std::move(model_);
}

void ModelBuilder::error(const LocationRef& location, const std::string& text) {
  reporter_->ReportError(location.get(), text);
}

void ModelBuilder::warning(const LocationRef& location, const std::string& text) {
  reporter_->ReportWarning(location.get(), text);
}

void ModelBuilder::addPredefinedHosts() {
  for (const auto& [name, id] :
       {std::pair<const char*, uint32_t>{"local", kLocalHostId}, {"main", kMainHostId}}) {
    hostById_.emplace(id, model_.hosts.size());
    model_.hosts.add({name, id, false, true, nullptr});
  }
}

void ModelBuilder::addHosts() {
  for (const SourceHost& host : source_.hosts) {
    if (const ModelHost* same = model_.hosts.find(host.name)) {
      error(host.location, alreadyDefined(host.name, same->location.get()));
    } else if (auto byId = hostById_.find(host.id); byId != hostById_.end()) {
      error(host.location, alreadyDefined(host.name, model_.hosts[byId->second].location.get()));
    } else {
      hostById_.emplace(host.id, model_.hosts.size());
      model_.hosts.add({host.name, host.id, host.prototype, false, host.location});
    }
  }
}

void ModelBuilder::addUpdateCategories() {
  NameMap byName;
  for (const SourceUpdateCategory& category : source_.updateCategories) {
    auto [earlier, added] = byName.try_emplace(category.name, model_.updateCategories.size());
    if (!added) {
      error(category.location,
            alreadyDefined(category.name, model_.updateCategories[earlier->second].location.get()));
      continue;
    }
    model_.updateCategories.push_back({category.name, category.components, category.path,
                                       category.containerType, category.enabled.value_or(true),
                                       category.location});
  }
  // Names are unique, so sorting once gives the order of sorted insertion.
  std::sort(model_.updateCategories.begin(), model_.updateCategories.end(),
            [](const ModelUpdateCategory& a, const ModelUpdateCategory& b) { return a.name < b.name; });
}

void ModelBuilder::addAssemblies() {
  for (const SourceAssembly& assembly : source_.assemblies) {
    if (assembly.moduleCategory && !model_.updateCategories.empty() &&
        !model_.findUpdateCategory(*assembly.moduleCategory))
      error(assembly.location, "Update category is undefined");
    auto [earlier, added] = assemblyByName_.try_emplace(assembly.name, model_.assemblies.size());
    if (!added) {
      error(assembly.location,
            alreadyDefined(assembly.name, model_.assemblies[earlier->second].location.get()));
      continue;
    }
    model_.assemblies.push_back(
        {assembly.name, assembly.module, assembly.moduleCategory.value_or(""), assembly.location});
    registerMembers(assembly, model_.assemblies.size() - 1);
  }
}

void ModelBuilder::registerMembers(const SourceAssembly& assembly, size_t assemblyIndex) {
  for (const std::string& component : assembly.componentNames) {
    auto [earlier, added] = membership_.try_emplace(component, Membership{assemblyIndex, assembly.location});
    if (!added) error(assembly.location, alreadyDefined(component, earlier->second.location.get()));
  }
}

void ModelBuilder::addComponents() {
  for (const SourceComponent& component : source_.components) {
    if (const ModelComponent* same = model_.components.find(component.name)) {
      error(component.location, alreadyDefined(component.name, same->location.get()));
      continue;
    }
    std::vector<uint32_t> ids;
    declareInterfaces(component, ids);
    auto member = membership_.find(component.name);
    if (member == membership_.end()) {
      error(component.location, "Component " + component.name + " is not included in any assembly");
      continue;
    }
    ModelComponent record;
    record.name = component.name;
    record.clsid = component.clsid;
    record.settingsTypeId = component.settingsTypeId;
    record.constructIid = component.constructIid;
    record.settingsIid = component.settingsIid;
    record.interfaces = std::move(ids);
    record.assembly = member->second.assembly;
    record.location = component.location;
    model_.components.add(std::move(record));
  }
  for (auto& [iid, entry] : interfaceTable_) model_.interfaces.push_back(std::move(entry));
  interfaceTable_.clear();
}

void ModelBuilder::declareInterfaces(const SourceComponent& component, std::vector<uint32_t>& ids) {
  for (const SourceInterface& entry : component.interfaces) {
    ids.push_back(entry.iid);
    auto [earlier, added] =
        interfaceTable_.try_emplace(entry.iid, ModelInterface{entry.iid, entry.name, entry.location});
    if (!added && earlier->second.name != entry.name) {
      error(entry.location, "Interface iface=" + velk::hexId(entry.iid) + " with name '" + entry.name +
                                "' conflicts with previous declaration with name '" + earlier->second.name +
                                "' defined at " + fileAndLine(earlier->second.location.get()));
    }
    if (entry.iid == kTaskInterfaceId)
      warning(component.location,
              "Component " + component.name + " implements ITask interface which should be private");
  }
}

bool ModelBuilder::hasSettingsType(const ModelComponent& component, const LocationRef& settingsLocation) {
  if (component.settingsTypeId) return true;
  error(settingsLocation, settingsTypeIdMissed(component.name, component.location.get()));
  return false;
}

void ModelBuilder::addServices() {
  serviceOfSource_.assign(source_.services.size(), kNone);
  for (size_t i = 0; i < source_.services.size(); ++i) {
    const SourceService& service = source_.services[i];
    if (const ModelService* same = model_.services.find(service.name)) {
      error(service.location, alreadyDefined(service.name, same->location.get()));
      continue;
    }
    size_t componentIndex = model_.components.indexOf(service.component);
    if (componentIndex == NamedList<ModelComponent>::npos) {
      error(service.location, undefinedReference("component", service.component));
      continue;
    }
    ModelComponent& component = model_.components[componentIndex];
    if (service.createOnUpdate.value_or(false) && !service.basesCategory &&
        model_.assemblyOf(component).moduleCategory.empty())
      error(service.location,
            "Service without update category " + service.name + " has 'create_on_update' tag");
    ModelService record;
    record.name = service.name;
    record.key = service.key;
    record.component = componentIndex;
    record.tracerPrefix = service.tracerPrefix;
    record.timeout = service.releaseTimeout;
    record.basesCategory = service.basesCategory;
    record.category = service.category;
    record.flags = serviceFlags(service);
    record.location = service.location;
    if (service.settings && hasSettingsType(component, service.settings->location))
      record.settings =
          ServiceSettings{service.settings->node, service.settings->location, *component.settingsTypeId};
    serviceOfSource_[i] = model_.services.add(std::move(record));
    ++component.serviceCount;
  }
}

void ModelBuilder::addAccessPoints() {
  for (const SourceAccessPoint& point : source_.accessPoints) {
    if (const ModelAccessPoint* same = model_.accessPoints.find(point.name)) {
      error(point.location, alreadyDefined(point.name, same->location.get()));
      continue;
    }
    if (auto byId = accessPointById_.find(point.id); byId != accessPointById_.end()) {
      error(point.location, alreadyDefined(point.name, model_.accessPoints[byId->second].location.get()));
      continue;
    }
    const ModelHost* host = model_.hosts.find(point.host);
    if (!host) {
      error(point.location, undefinedReference("host", point.host));
      continue;
    }
    ModelAccessPoint record{point.name, point.id, host->id, 0, {}, point.location};
    if (!resolveAuthorization(point, record)) continue;
    accessPointById_.emplace(point.id, model_.accessPoints.size());
    model_.accessPoints.add(std::move(record));
    accessPointKeys_.emplace_back();
  }
}

bool ModelBuilder::resolveAuthorization(const SourceAccessPoint& point, ModelAccessPoint& record) {
  if (point.id == kUnauthorizedAccessPointId) return true;
  const ModelService* service = model_.services.find(point.authorizationService);
  if (!service) {
    error(point.location, undefinedReference("authorization_service", point.authorizationService));
    return false;
  }
  record.authorizationServiceKey = service->key;
  return true;
}

void ModelBuilder::addAccessPointServices() {
  GroupLinkResolver resolver(source_.groups, reporter_);
  for (const SourceLinkList& list : source_.accessPointServices) {
    size_t index = model_.accessPoints.indexOf(list.owner);
    if (index == NamedList<ModelAccessPoint>::npos) {
      error(list.location, undefinedReference("access_point", list.owner));
      continue;
    }
    ModelAccessPoint& point = model_.accessPoints[index];
    resolver.resolve(list.links, model_.services, [&](ModelService& service, const SourceLink&) {
      if (accessPointKeys_[index].insert(service.key).second) point.serviceKeys.push_back(service.key);
    });
  }
}

void ModelBuilder::assignHostServices() {
  GroupLinkResolver resolver(source_.groups, reporter_);
  for (const SourceLinkList& list : source_.hostServices) {
    const ModelHost* host = model_.hosts.find(list.owner);
    if (!host) {
      error(list.location, undefinedReference("host", list.owner));
      continue;
    }
    resolver.resolve(list.links, model_.services, [&](ModelService& service, const SourceLink& link) {
      if (service.host == kMainHostId)
        service.host = host->id;
      else if (service.host != host->id)
        error(link.location,
              "The service '" + service.name + "'is already belogns to the host '" + host->name + "'");
    });
  }
}

void ModelBuilder::assignDefaultAccessPoints() {
  struct Listing {
    uint32_t count = 0;
    uint32_t accessPoint = 0;
  };
  std::unordered_map<uint32_t, Listing> listings;
  for (const ModelAccessPoint& point : model_.accessPoints) {
    for (uint32_t key : point.serviceKeys) {
      Listing& listing = listings[key];
      ++listing.count;
      listing.accessPoint = point.id;
    }
  }
  for (ModelService& service : model_.services) {
    auto found = listings.find(service.key);
    if (found != listings.end() && found->second.count == 1)
      service.defaultAccessPoint = found->second.accessPoint;
  }
}

}  // namespace app_core

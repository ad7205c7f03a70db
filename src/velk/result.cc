#include "velk/result.h"

#include <cerrno>
#include <cstdio>
#include <unordered_map>

namespace velk {
namespace {

using Table = std::unordered_map<uint32_t, const char*>;

const Table& generalTable() {
  static const Table table = {
      {0x00000000, "No error"},
      {0x00000001, "False"},
      {0x80000001, "Interface not supported"},
      {0x80000040, "Unexpected"},
      {0x80000041, "Out of memory"},
      {0x80000042, "Not supported"},
      {0x80000043, "Not implemented"},
      {0x80000044, "Buffer too small"},
      {0x80000045, "Access denied"},
      {0x80000046, "Invalid argument"},
      {0x8000004A, "Not matched"},
      {0x8000004B, "Unspecified error"},
      {0x8000004C, "Not found"},
      {0x8000004D, "Found"},
      {0x8000004F, "Locked"},
      {0x80000050, "Not locked"},
      {0x80000051, "Operation cancelled"},
      {0x80000057, "Method not found"},
      {0x80000058, "Stack is empty"},
      {0x80000059, "Media error"},
      {0x8000005A, "Invalid signature"},
      {0x8000005B, "Invalid version"},
      {0x8000005C, "Invalid size"},
      {0x8000005D, "Invalid type"},
      {0x8000005E, "Invalid index"},
      {0x80000062, "Out of space"},
      {0x80000063, "Not ready"},
      {0x80000064, "Less than"},
      {0x80000065, "More than"},
      {0x80000066, "Prohibited"},
      {0x80000067, "Already done"},
      {0x80000068, "Need reboot"},
      {0x80000069, "Bases corrupted"},
      {0x8000006A, "Invalid state"},
      {0x8000006B, "Not initialized"},
      {0x8000006C, "Insufficient resources"},
      {0x80000071, "Invalid result"},
      {0x80000072, "Unknown exception"},
      {0x80000076, "Meta information not found"},
      {0x80000180, "Property not found"},
      {0x80000221, "Operation timeout"},
  };
  return table;
}

const Table& platformTable() {
  static const Table table = {
      {0x80010100, "Unspecified platform error"},
      {0x80010101, "Invalid handle"},
      {0x80010102, "File not found"},
      {0x80010103, "Path not found"},
      {0x80010104, "Sharing violation"},
      {0x80010105, "Already exists"},
      {0x80010106, "Wait abandoned"},
      {0x80010107, "Symbol not found"},
      {0x80010108, "Sxs is incorrect"},
      {0x80010109, "Invalid path name"},
      {0x80010110, "Cannot open an anonymous level security token"},
      {0x80010111, "Password is invalid"},
      {0x80010112, "Module not found"},
      {0x80010113, "System image bad signature"},
  };
  return table;
}

const Table& applicationTable() {
  static const Table table = {
      {0x26410001, "Request accepted"},
      {0xA6410001, "Pending removal"},
      {0xA6410002, "Task already exists"},
      {0xA6410003, "Task is disabled"},
      {0xA6410004, "Wrong task kind"},
      {0xA6410005, "Unknown task"},
      {0xA6410006, "Unknown task type"},
      {0xA6410007, "Unknown task session"},
      {0xA6410008, "Invalid task state"},
      {0xA6410009, "Storage error"},
      {0xA641000A, "Task configuration error"},
      {0xA6420001, "Schedule not set"},
      {0xA6420002, "Unknown schedule time"},
      {0xA6430001, "Settings not found"},
      {0xA6430002, "Settings serialization failed"},
      {0xA6430003, "Settings deserialization failed"},
  };
  return table;
}

// Service-manager failures, by their low 16 bits; 0x1B has no text of its own.
const Table& serviceManagerTable() {
  static const Table table = {
      {0x0001, "There are more then one service that provide the interface requested"},
      {0x0002, "Service is trying to request it's own interface"},
      {0x0003, "Can't find service specified"},
      {0x0004, "Can't find component specified"},
      {0x0005, "Settings management is disabled, VSM does not provide services, that requires the settings"},
      {0x0006, "Settings in storage have different type then type specified in component's configuration (attribute settings_type_id)"},
      {0x0007, "Service has no settings"},
      {0x0008, "Service does not support interface requested"},
      {0x0009, "Service does not support IXxxConstruct interface"},
      {0x000A, "Service does not support IXxxSettings interface"},
      {0x000B, "Service does not support IObjectState interface"},
      {0x000C, "Service does not support IStorageObjectState interface"},
      {0x000D, "Service does not support IUpdateDelegate interface"},
      {0x000E, "Service does not support IStorageUpdateDelegate interface"},
      {0x000F, "Can't find factory for the service class object"},
      {0x0010, "Service object factory returned an error (IObjectFactory::CreateInstance)"},
      {0x0011, "Can't obtain updater::IUpdateableCategoriesProvider interface"},
      {0x0012, "Can't obtain storage::IDataStorageFactory interface"},
      {0x0013, "Update is already in progress"},
      {0x0014, "Service Manager is not available in service-locator provided"},
      {0x0015, "Service Manager's configuration contains an error(s), or it is not an xml-file"},
      {0x0016, "Configuration contains a service or a component, which is already registered"},
      {0x0017, "Service is not alive (but may be under construction or destruction)"},
      {0x0018, "Service returned an error in IStorageObjectState::SetStorage"},
      {0x0019, "Service returned an error in IXxxConstruct::Construct or in IXxxSettings::SetSettings"},
      {0x001A, "Service returned an error in IUpdateDelegate::VerifyUpdate or in IStorageUpdateDelegate::VerifyUpdate"},
      {0x001C, "External service creator returned an error (IServiceHandler::CreateService)"},
      {0x001D, "External service configurator returned an error (IServiceHandler::ConfigureService)"},
      {0x001E, "The service is not locked. See IServiceManager::UnlockService for details"},
      {0x001F, "Can't find category specified"},
      {0x0020, "Storage for service's bases is not found"},
      {0x0021, "Service returned an error in IObjectState::Verify"},
      {0x0022, "Can't put updatable file to cache"},
      {0x0023, "Module does not export 'velkGetObjectFactory' symbol"},
      {0x0024, "Can't get effective service settings"},
      {0x0025, "Can't create host for service"},
      {0x0026, "Category is of inappopriate type"},
      {0x0027, "Category of old service does not match category of updated service"},
      {0x0028, "Remoting sybsystem is not initialized"},
      {0x0029, "Can't find host specified"},
      {0x002A, "Can't find access point specified"},
      {0x002B, "Access to access point is denied"},
      {0x002C, "Host control access point is not available"},
  };
  return table;
}

const char* lookup(const Table& table, uint32_t key, const char* fallback) {
  auto it = table.find(key);
  return it == table.end() ? fallback : it->second;
}

uint32_t facility(result_t r) { return (static_cast<uint32_t>(r) >> 16) & 0x7FFF; }

std::string serviceManagerText(uint32_t bits) {
  if (bits == 0x26440001) return lookup(serviceManagerTable(), 0x17, "");
  if (bits & 0x80000000u)
    return lookup(serviceManagerTable(), bits & 0xFFFF, "Unknown Service Manager's result code");
  return "Unknown Service Manager's result code";
}

}  // namespace

std::string frameworkText(result_t r) {
  auto bits = static_cast<uint32_t>(r);
  if ((bits & 0x7FFF0000u) == 0x00010000u)
    return lookup(platformTable(), bits, "Unknown platform result code");
  return lookup(generalTable(), bits, "Unknown result code");
}

std::string applicationText(result_t r) {
  auto bits = static_cast<uint32_t>(r);
  switch (facility(r)) {
    case 0x2641: return lookup(applicationTable(), bits, "Unknown TaskManager result code");
    case 0x2642: return lookup(applicationTable(), bits, "Unknown TaskScheduler result code");
    case 0x2643: return lookup(applicationTable(), bits, "Unknown SettingsManager result code");
    case 0x2644: return serviceManagerText(bits);
    default: return frameworkText(r);
  }
}

std::string hexId(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08x", value);
  return buffer;
}

std::string resultLine(result_t r) {
  return std::string(failed(r) ? "failed" : "succeeded") + ", " + applicationText(r) + " (" +
         hexId(static_cast<uint32_t>(r)) + ")";
}

result_t fromErrno(int error) {
  switch (error) {
    case ENOENT: return errors::kFileNotFound;
    case ENOTDIR: return errors::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return errors::kAccessDenied;
    case EEXIST: return errors::kAlreadyExists;
    case EBUSY:
    case ETXTBSY: return errors::kSharingViolation;
    case EBADF: return errors::kInvalidHandle;
    case ENAMETOOLONG:
    case EINVAL: return errors::kInvalidPathName;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return errors::kOutOfSpace;
    case ENOMEM: return errors::kOutOfMemory;
    default: return errors::kPlatformUnspecified;
  }
}

}  // namespace velk

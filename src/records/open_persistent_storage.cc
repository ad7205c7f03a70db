#include "records/open_persistent_storage.h"

namespace app_core {

using velk::result_t;

namespace {

void traceFailure(velk::ITracer* tracer) {
  try {
    try {
      throw;
    } catch (const velk::Exception& e) {
      velk::trace(tracer, velk::trace_level::kError, "OpenPersistentStorage: " + velk::chainDisplayText(e));
    } catch (const std::exception& e) {
      velk::trace(tracer, velk::trace_level::kError, std::string("OpenPersistentStorage: ") + e.what());
    } catch (...) {
      velk::trace(tracer, velk::trace_level::kError, "OpenPersistentStorage: unknown exception");
    }
  } catch (...) {
    // A failing trace must not hide the opening's own result.
  }
}

result_t open(velk::ITracer* tracer, data_storage::IIndexedKeyValueStorage* store, const std::string& key,
              velk::IXmlStorageFactory* xmlFactory, velk::IStorage** out, velk::Ref<PersistentStorageNode>* nodeOut) {
  velk::Ref<PersistentStorageNode> node;
  result_t r = PersistentStorageNode::open(velk::Ref<velk::ITracer>(tracer),
                                           velk::Ref<data_storage::IIndexedKeyValueStorage>(store), key, node);
  if (velk::failed(r)) return r;
  velk::Ref<velk::IStorage> root;
  r = xmlFactory->ParseIo(node.get(), 0, root.put(), nullptr);
  if (velk::failed(r)) return r;
  node->dropContent();
  *out = root.detach();
  if (nodeOut) *nodeOut = std::move(node);
  return velk::errors::kOk;
}

}  // namespace

result_t OpenPersistentStorage(velk::ITracer* tracer, data_storage::IIndexedKeyValueStorage* store,
                               const std::string& key, velk::IXmlStorageFactory* xmlFactory, velk::IStorage** out,
                               velk::Ref<PersistentStorageNode>* node) {
  if (!out || !store || !xmlFactory) return velk::errors::kInvalidArgument;
  *out = nullptr;
  try {
    return open(tracer, store, key, xmlFactory, out, node);
  } catch (...) {
    traceFailure(tracer);
    return velk::resultOfCurrentException();
  }
}

}  // namespace app_core

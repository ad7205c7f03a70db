#include "records/exchange_import.h"

#include <string>

#include "records/exchange_export.h"
#include "records/exchange_tree_copy.h"
#include "records/open_persistent_storage.h"
#include "xmlfile/node_names.h"

namespace app_core {

using helpers::IXmlFileStorage;
using velk::Ref;

namespace {

void check(velk::result_t r, uint32_t line, const char* what) { velk::checkResult(r, {kExporterSource, line}, what); }

void reportError(helpers::StorageErrorReporter* reporter, IXmlFileStorage* at, std::string_view text) {
  if (reporter) reporter->ReportError(at->GetLocation(), text);
}

bool hasChild(IXmlFileStorage* node, std::string_view name) {
  Ref<IXmlFileStorage> child;
  return velk::succeeded(node->GetNode(name, child.put())) && child;
}

// Reads the value `name` as text; absent gives false.
bool readAttribute(velk::IStorage* node, std::string_view name, std::string& text, uint32_t line) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText | velk::kTypeByRef;
  velk::result_t r = node->ReadValue(name, value, 0);
  if (r == velk::errors::kNotFound) return false;
  check(r, line, "ReadValue");
  text = std::move(value.text);
  return true;
}

// False after reporting why the file is not one this tool can import.
bool acceptsFormat(IXmlFileStorage* root, helpers::StorageErrorReporter* reporter) {
  if (hasChild(root, "section")) {
    reportError(reporter, root, "It's an obsolete format file which is not supported.");
    return false;
  }
  Ref<IXmlFileStorage> compiler;
  if (velk::failed(root->GetNode("compiler", compiler.put())) || !compiler) return true;
  std::string version;
  readAttribute(compiler.get(), "version", version, 212);
  if (version == kExchangeCompilerVersion) return true;
  reportError(reporter, root, "Compiler version doesn't match file version.");
  return false;
}

std::string nameOf(velk::IStorage* node) {
  std::string name;
  check(readNodeName(node, name), 231, "GetName");
  return name;
}

struct ImportTarget {
  data_storage::IIndexedKeyValueStorage* database;
  velk::ITracer* tracer;
  velk::IXmlStorageFactory* xmlFactory;
  helpers::StorageErrorReporter* reporter;
};

void storeRecord(const std::string& key, velk::IStorage* tree, const ImportTarget& target) {
  Ref<velk::IStorage> stored;
  check(OpenPersistentStorage(target.tracer, target.database, key, target.xmlFactory, stored.put()), 251,
        "OpenPersistentStorage");
  // A tree that received nothing keeps its new record as it is; a changed
  // one is written now, so that a failed write is not lost at release.
  if (copyExchangeTree(tree, stored.get())) check(stored->Flush(), 255, "Flush");
}

void importKey(IXmlFileStorage* element, const ImportTarget& target) {
  std::string key;
  if (!readAttribute(element, "name", key, 241)) check(velk::errors::kNotFound, 241, "name");
  if (velk::succeeded(target.database->RemoveByKey(key)) && target.reporter) {
    target.reporter->ReportWarning(element->GetLocation(), "Overwriting node \"" + key + "\"");
  }
  Ref<IXmlFileStorage> tree;
  if (velk::failed(element->GetNode("root", tree.put())) || !tree) return;
  storeRecord(key, tree.get(), target);
}

}  // namespace

void importRecords(IXmlFileStorage* root, data_storage::IIndexedKeyValueStorage* database, velk::ITracer* tracer,
                   velk::IXmlStorageFactory* xmlFactory, helpers::StorageErrorReporter* reporter) {
  uint32_t count = 0;
  check(root->GetNodesCount(&count), 201, "GetNodesCount");
  if (count == 0 || !acceptsFormat(root, reporter)) return;
  ImportTarget target{database, tracer, xmlFactory, reporter};
  for (uint32_t i = 0; i < count; ++i) {
    Ref<IXmlFileStorage> child;
    check(root->GetNode(i, child.put()), 221, "GetNode");
    if (nameOf(child.get()) == "key") importKey(child.get(), target);
    // Each record is visited once: what the reader made for it can go now.
    child.reset();
    root->ForgetNode(i);
  }
}

}  // namespace app_core

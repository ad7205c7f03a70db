#include "records/exchange_export.h"

#include <string>

#include "records/exchange_tree_copy.h"
#include "records/record_value_io.h"
#include "xmlfile/utf8.h"

namespace app_core {

using data_storage::Bytes;
using velk::Ref;

namespace {

void check(velk::result_t r, uint32_t line, const char* what) { velk::checkResult(r, {kExporterSource, line}, what); }

void writeCompilerElement(velk::IStorage* root) {
  Ref<velk::IStorage> compiler;
  check(root->CreateNode("compiler", compiler.put()), 141, "CreateNode");
  check(compiler->WriteValue("version", velk::ValueDescriptor::ofText(std::string(kExchangeCompilerVersion)), 0), 142,
        "WriteValue");
}

// The document of a record's value, or none after reporting why it is not
// one.
Ref<velk::IStorage> parseValue(Bytes value, velk::IXmlStorageFactory* xmlFactory,
                               helpers::StorageErrorReporter* reporter) {
  auto io = velk::make<RecordValueIo>(std::move(value));
  Ref<velk::IStorage> document;
  velk::XmlParseError error;
  if (velk::succeeded(xmlFactory->ParseIo(io.get(), 0, document.put(), &error))) return document;
  if (reporter) reporter->ReportError(nullptr, error.description);
  return {};
}

// The key for a message: printable ASCII as it is, other bytes as \xNN.
std::string printableKey(const Bytes& key) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char c : key) {
    if (c >= 0x20 && c < 0x7F) {
      text += static_cast<char>(c);
    } else {
      text += "\\x";
      text += kDigits[c >> 4];
      text += kDigits[c & 0xF];
    }
  }
  return text;
}

// A key that is not UTF-8 would make the whole exchange file unreadable,
// to import as to any other reader; such a record is reported and skipped.
bool exportableKey(const Bytes& key, helpers::StorageErrorReporter* reporter) {
  std::string_view text(reinterpret_cast<const char*>(key.data()), key.size());
  if (velk::xml::validUtf8Length(text) == text.size()) return true;
  if (reporter) reporter->ReportError(nullptr, "Key is not valid UTF-8, record skipped: " + printableKey(key));
  return false;
}

void appendRecord(velk::IStorage* root, const Bytes& key, velk::IStorage* document) {
  Ref<velk::IStorage> keyNode;
  check(root->CreateNode("key", keyNode.put()), 171, "CreateNode");
  std::string name(key.begin(), key.end());
  check(keyNode->WriteValue("name", velk::ValueDescriptor::ofText(std::move(name)), 0), 173, "WriteValue");
  Ref<velk::IStorage> recordRoot;
  check(keyNode->CreateNode("root", recordRoot.put()), 175, "CreateNode");
  copyExchangeTree(document, recordRoot.get());
}

}  // namespace

void exportRecords(velk::IStorage* root, data_storage::IIndexedKeyValueStorage* database,
                   velk::IXmlStorageFactory* xmlFactory, helpers::StorageErrorReporter* reporter) {
  writeCompilerElement(root);
  Ref<data_storage::IIndexedKeyValueEnumerator> records;
  check(database->CreateEnumerator(records.put()), 152, "CreateEnumerator");
  velk::result_t r;
  while ((r = records->MoveNext()) == velk::errors::kOk) {
    Bytes key;
    Bytes value;
    check(records->GetKey(key), 158, "GetKey");
    check(records->GetValue(value), 159, "GetValue");
    if (value.empty() || !exportableKey(key, reporter)) continue;
    Ref<velk::IStorage> document = parseValue(std::move(value), xmlFactory, reporter);
    if (document) appendRecord(root, key, document.get());
  }
  check(r, 155, "MoveNext");
}

}  // namespace app_core

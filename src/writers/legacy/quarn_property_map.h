// One key of a quarn property map: an element "key" with a "name" attribute
// holding typed values and further keys. The document root acts as the top
// key.
//
// A key looked up by name is the first child whose "name" equals it,
// whatever its element; each key remembers the first child of every name, so
// a run that opens many keys stays linear in the size of the document. Only
// this object may change its element's children while it is in use.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "front/named_list.h"
#include "velk/storage.h"
#include "writers/legacy/quarn_value.h"

namespace app_core {

class QuarnPropertyMap {
 public:
  // `node` is an existing element; its children are read when first needed.
  explicit QuarnPropertyMap(velk::Ref<velk::IStorage> node);
  QuarnPropertyMap(const QuarnPropertyMap&) = delete;
  QuarnPropertyMap& operator=(const QuarnPropertyMap&) = delete;
  ~QuarnPropertyMap();

  velk::IStorage* node() const { return node_.get(); }

  // The first child named `name`, or a new key of that name appended. The
  // key stays owned by this one.
  velk::result_t openKey(std::string_view name, QuarnPropertyMap** key);
  // A new key, also when a child of that name exists.
  velk::result_t appendKey(std::string_view name, QuarnPropertyMap** key);
  // Typed values are always appended.
  velk::result_t addValue(const QuarnValue& value);
  velk::result_t addValues(const std::vector<QuarnValue>& values);
  // Appends copies of the children of `source` (elements, attributes and
  // text, all levels) and takes over its attributes and text. A "name"
  // attribute of `source` itself is left out: it would rename this key.
  velk::result_t copyContent(velk::IStorage* source);

 private:
  struct Child {
    velk::Ref<velk::IStorage> node;
    std::unique_ptr<QuarnPropertyMap> key;  // once opened as a key
  };

  QuarnPropertyMap(velk::Ref<velk::IStorage> node, bool empty);
  velk::result_t indexChildren();
  velk::result_t appendChild(std::string_view element, std::string_view name,
                             velk::Ref<velk::IStorage>& child);
  void remember(const std::string& name, const velk::Ref<velk::IStorage>& child);

  velk::Ref<velk::IStorage> node_;
  bool indexed_;
  std::unordered_map<std::string, Child, StringHash, std::equal_to<>> firstByName_;
  // Keys appended under a name that an earlier child already has.
  std::vector<std::unique_ptr<QuarnPropertyMap>> laterKeys_;
};

}  // namespace app_core

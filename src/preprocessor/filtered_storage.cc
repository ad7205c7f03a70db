#include "preprocessor/filtered_storage.h"

#include "preprocessor/storage_iterator_stack.h"
#include "velk/exception.h"
#include "xmlfile/node_names.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/xml_input_check.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

using velk::result_t;
namespace errors = velk::errors;

namespace {
// Children listed with their own nodes before a view keeps indexes.
constexpr size_t kNodesKept = 16;
// Below this many values a scan is cheaper than an index.
constexpr size_t kValueIndexThreshold = 8;
// A container has no text of its own: it reads as "".
result_t emptyText(velk::ValueDescriptor& value) {
  if (value.baseType() == velk::kTypeWideText) {
    value.wideText.clear();
  } else {
    value.type = velk::kTypeText;
    value.text.clear();
  }
  return errors::kOk;
}

}  // namespace

FilteredStorage::FilteredStorage(velk::Ref<IXmlFileStorage> node, velk::Ref<IStorageFilter> filter,
                                 ChildListing listing, uint32_t depth)
    : XmlFileStorageProxy(node),
      valuesSource_(node),
      valueFilter_(filter),
      nodeFilter_(filter),
      depth_(depth),
      listing_(listing) {
  keepValues(true);
  filterChildren();
}

FilteredStorage::FilteredStorage(velk::Ref<IXmlFileStorage> valuesSource,
                                 velk::Ref<IXmlFileStorage> childrenSource)
    : XmlFileStorageProxy(valuesSource), valuesSource_(valuesSource) {
  keepValues(false);
  if (childrenSource) takeChildren(childrenSource.get());
}

void FilteredStorage::keepValues(bool filtered) {
  if (!valuesSource_) return;
  uint32_t count = valuesCount(valuesSource_.get());
  values_.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    std::string name = valueName(valuesSource_.get(), i);
    if (filtered && valueFilter_->IsValueHidden(valuesSource_.get(), name)) continue;
    values_.push_back(Value{std::move(name), i});
  }
}

void FilteredStorage::filterChildren() {
  StorageIteratorStack stack;
  stack.push(velk::Ref<IXmlFileStorage>(wrapped()));
  while (velk::Ref<IXmlFileStorage> node = stack.next()) {
    // A node the filter keeps has pushed nothing: its parent is still known.
    if (!nodeFilter_->FilterNode(stack, node.get())) keepChild(std::move(node), stack);
  }
}

void FilteredStorage::takeChildren(IXmlFileStorage* source) {
  if (source->ReopensChildrenFreely()) {
    uint32_t count = 0;
    if (velk::failed(source->GetNodesCount(&count))) count = 0;
    children_.reserve(count);
    if (count) extras().reopenAt.reserve(count);
    for (uint32_t i = 0; i < count; ++i) addChild(velk::Ref<IXmlFileStorage>(source), i);
    return;
  }
  StorageIteratorStack stack;
  stack.push(velk::Ref<IXmlFileStorage>(source));
  while (velk::Ref<IXmlFileStorage> node = stack.next()) keepChild(std::move(node), stack);
}

// Reopening costs a node more, so the first few children keep theirs.
void FilteredStorage::keepChild(velk::Ref<IXmlFileStorage> node, const StorageIteratorStack& stack) {
  IXmlFileStorage* parent = stack.parentOfLast();
  if (listing_ == ChildListing::kIndexes && children_.size() >= kNodesKept && parent->ReopensChildrenFreely()) {
    addChild(velk::Ref<IXmlFileStorage>(parent), stack.positionOfLast());
  } else {
    addChild(std::move(node), kKept);
  }
}

void FilteredStorage::addChild(velk::Ref<IXmlFileStorage> node, uint32_t position) {
  if (position != kKept || (extras_ && !extras_->reopenAt.empty())) {
    std::vector<uint32_t>& reopenAt = extras().reopenAt;
    reopenAt.resize(children_.size(), kKept);
    reopenAt.push_back(position);
  }
  children_.push_back(Child{std::move(node), nullptr});
}

result_t FilteredStorage::openChild(size_t index, velk::Ref<IXmlFileStorage>& node) {
  const Child& child = children_[index];
  uint32_t at = reopenAt(index);
  if (at == kKept) {
    node = child.node;
    return errors::kOk;
  }
  return child.node->GetNode(at, node.put());
}

std::string FilteredStorage::childName(size_t index) {
  std::string name;
  uint32_t at = reopenAt(index);
  if (at != kKept && velk::succeeded(readChildName(children_[index].node.get(), at, name))) return name;
  velk::Ref<IXmlFileStorage> node;
  velk::checkResult(openChild(index, node), {"app_core/helpers/filtered_storage", 214});
  return nodeName(node.get());
}

void FilteredStorage::appendChild(velk::Ref<IXmlFileStorage> child) {
  addChild(std::move(child), kKept);
  if (extras_) extras_->childIndex.reset();
}

result_t FilteredStorage::CreateNode(std::string_view, IXmlFileStorage**) { return errors::kNotImplemented; }

result_t FilteredStorage::RemoveNode(std::string_view name) {
  return wrapped() ? wrapped()->RemoveNode(name) : errors::kNotSupported;
}

result_t FilteredStorage::GetNode(uint32_t index, IXmlFileStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  if (index >= children_.size()) return errors::kNotFound;
  Child& entry = children_[index];
  if (!entry.node) return errors::kInvalidState;
  if (!entry.view) {
    velk::Ref<IXmlFileStorage> node;
    result_t r = openChild(index, node);
    if (velk::failed(r)) return r;
    if (!nodeFilter_) {
      *child = node.detach();
      return errors::kOk;
    }
    checkDepthOfChild(node.get());
    entry.view = velk::make<FilteredStorage>(std::move(node), nodeFilter_, listing_, depth_ + 1);
  }
  *child = velk::Ref<IXmlFileStorage>(entry.view).detach();
  return errors::kOk;
}

result_t FilteredStorage::GetNode(std::string_view name, IXmlFileStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  std::optional<uint32_t> index = findChild(name);
  if (!index) return errors::kNotFound;
  return GetNode(*index, child);
}

result_t FilteredStorage::GetName(char* buffer, uint32_t* size) {
  return wrapped() ? wrapped()->GetName(buffer, size) : errors::kNotSupported;
}

result_t FilteredStorage::GetNodesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  *count = static_cast<uint32_t>(children_.size());
  return errors::kOk;
}

result_t FilteredStorage::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= children_.size()) return errors::kNotFound;
  const Child& child = children_[index];
  if (!child.node) return errors::kInvalidState;
  if (uint32_t at = reopenAt(index); at != kKept) return child.node->GetNodeName(at, buffer, size);
  return child.node->GetName(buffer, size);
}

void FilteredStorage::ForgetNode(uint32_t index) {
  if (index < children_.size()) children_[index] = Child{};
}

result_t FilteredStorage::GetValuesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  *count = static_cast<uint32_t>(values_.size());
  return errors::kOk;
}

result_t FilteredStorage::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= values_.size()) return errors::kNotFound;
  return velk::copyName(values_[index].name, buffer, size);
}

result_t FilteredStorage::WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) {
  return wrapped() ? wrapped()->WriteValue(name, value, flags) : errors::kNotSupported;
}

result_t FilteredStorage::ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) {
  if (index >= values_.size()) return errors::kNotFound;
  return filteredRead(valuesSource_->ReadValue(values_[index].position, value, flags), value);
}

result_t FilteredStorage::ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) {
  if (name.empty()) {
    if (!wrapped()) return emptyText(value);
    return filteredRead(wrapped()->ReadValue(name, value, flags), value);
  }
  std::optional<uint32_t> index = findValue(name);
  if (!index) return errors::kNotFound;
  return ReadValue(*index, value, flags);
}

result_t FilteredStorage::filteredRead(result_t r, velk::ValueDescriptor& value) {
  if (velk::succeeded(r) && valueFilter_) valueFilter_->FilterValue(valuesSource_.get(), value);
  return r;
}

result_t FilteredStorage::Flush() { return wrapped() ? wrapped()->Flush() : errors::kOk; }

IFileLocation* FilteredStorage::GetLocation() { return wrapped() ? wrapped()->GetLocation() : nullptr; }

result_t FilteredStorage::CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                                velk::IStorage* documentRoot) {
  if (!out) return errors::kInvalidArgument;
  *out = nullptr;
  if (!wrapped()) return errors::kNotSupported;
  velk::Ref<IXmlFileStorage> included;
  result_t r = wrapped()->CreateIncludedStorage(included.put(), path, documentRoot);
  if (velk::failed(r) || !nodeFilter_) {
    *out = included.detach();
    return r;
  }
  *out = velk::Ref<IXmlFileStorage>(velk::make<FilteredStorage>(included, nodeFilter_, listing_)).detach();
  return r;
}

void FilteredStorage::checkDepthOfChild(IXmlFileStorage* child) const {
  // The view itself is one level; its child would be level depth_ + 2.
  if (depth_ + 2 <= static_cast<uint32_t>(velk::xml::kMaxNestingDepth)) return;
  IFileLocation* location = child->GetLocation();
  throw velk::wrappers::XmlStorageException(
      {"app_core/helpers/filtered_storage", 74},
      "Elements nested deeper than " + std::to_string(velk::xml::kMaxNestingDepth) + " levels" +
          (location ? " at " + locationText(location) : std::string()),
      errors::kUnspecified);
}

FilteredStorage::Extras& FilteredStorage::extras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

std::optional<uint32_t> FilteredStorage::findChild(std::string_view name) {
  std::optional<NameIndex>& index = extras().childIndex;
  if (!index) {
    NameIndex built;  // kept only when whole: reading a name may throw
    for (uint32_t i = 0; i < children_.size(); ++i)
      if (children_[i].node) built.emplace(childName(i), i);
    index = std::move(built);
  }
  auto found = index->find(name);
  if (found == index->end()) return std::nullopt;
  return found->second;
}

std::optional<uint32_t> FilteredStorage::findValue(std::string_view name) {
  if (values_.size() < kValueIndexThreshold) {
    for (uint32_t i = 0; i < values_.size(); ++i) {
      if (values_[i].name == name) return i;
    }
    return std::nullopt;
  }
  std::optional<NameIndex>& index = extras().valueIndex;
  if (!index) {
    index.emplace();
    for (uint32_t i = 0; i < values_.size(); ++i) index->emplace(values_[i].name, i);
  }
  auto found = index->find(name);
  if (found == index->end()) return std::nullopt;
  return found->second;
}

}  // namespace app_core::helpers

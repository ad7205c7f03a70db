// A node reached through the expansion of one or more macros. It remembers
// which macros are being expanded around it, so that a macro whose body
// includes itself (directly, through other macros or through included
// files) is caught instead of expanding for ever. Children, included files
// and everything read from them carry the same knowledge.
#pragma once

#include <memory>
#include <string>

#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

// The macros being expanded, innermost first.
struct MacroExpansionLink {
  std::string name;
  std::shared_ptr<const MacroExpansionLink> outer;
};
using MacroExpansionChain = std::shared_ptr<const MacroExpansionLink>;

struct IMacroExpansion : velk::IObject {
  static constexpr velk::iid_t IID = 0x4C93B0E6;
  virtual const MacroExpansionChain& expansionChain() = 0;
  // The node as it stands in its file.
  virtual IXmlFileStorage* expandedNode() = 0;
};

class MacroExpansionStorage : public velk::ObjectBase<IXmlFileStorage, IMacroExpansion> {
 public:
  MacroExpansionStorage(velk::Ref<IXmlFileStorage> node, MacroExpansionChain chain)
      : inner_(std::move(node)), chain_(std::move(chain)) {}

  // The expansion chain of `node`; empty when it is not inside a macro.
  static MacroExpansionChain chainOf(IXmlFileStorage* node);
  // `node` without its expansion wrapper.
  static velk::Ref<IXmlFileStorage> unwrap(IXmlFileStorage* node);
  static bool contains(const MacroExpansionChain& chain, const std::string& name);

  const MacroExpansionChain& expansionChain() override { return chain_; }
  IXmlFileStorage* expandedNode() override { return inner_.get(); }

  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t RemoveNode(std::string_view name) override { return inner_->RemoveNode(name); }
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override { return inner_->GetName(buffer, size); }
  velk::result_t GetNodesCount(uint32_t* count) override { return inner_->GetNodesCount(count); }
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override {
    return inner_->GetNodeName(index, buffer, size);
  }
  velk::result_t GetValuesCount(uint32_t* count) override { return inner_->GetValuesCount(count); }
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override {
    return inner_->GetValueName(index, buffer, size);
  }
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) override {
    return inner_->WriteValue(name, value, flags);
  }
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override {
    return inner_->ReadValue(index, value, flags);
  }
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override {
    return inner_->ReadValue(name, value, flags);
  }
  velk::result_t Flush() override { return inner_->Flush(); }
  IFileLocation* GetLocation() override { return inner_->GetLocation(); }
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;

  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

 private:
  velk::result_t wrap(velk::result_t r, IXmlFileStorage** node);

  velk::Ref<IXmlFileStorage> inner_;
  MacroExpansionChain chain_;
};

}  // namespace app_core::helpers

#include "writers/legacy/quarn_registry_printer.h"

#include <cstdio>

#include "writers/legacy/quarn_node_reading.h"

namespace app_core {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

velk::result_t QuarnRegistryPrinter::print(velk::IStorage* root, const std::string& path, std::string& text) {
  // Depth first without recursion: copied settings may nest deeply.
  std::vector<Section> pending{{velk::Ref<velk::IStorage>(root), path}};
  std::vector<Section> keys;
  while (!pending.empty()) {
    Section section = std::move(pending.back());
    pending.pop_back();
    keys.clear();
    velk::result_t r = printSection(section, keys, text);
    if (velk::failed(r)) return r;
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) pending.push_back(std::move(*key));
  }
  return velk::errors::kOk;
}

velk::result_t QuarnRegistryPrinter::printSection(const Section& section, std::vector<Section>& keys,
                                                  std::string& text) {
  text += "[" + section.path + "]\n";
  uint32_t count = 0;
  velk::result_t r = quarn::childCount(section.node.get(), count);
  for (uint32_t i = 0; velk::succeeded(r) && i < count; ++i) {
    std::string element;
    velk::Ref<velk::IStorage> child;
    r = quarn::childName(section.node.get(), i, element);
    if (velk::succeeded(r)) r = section.node->GetNode(i, child.put());
    if (velk::failed(r)) break;
    if (element != "key") {
      r = printValue(child.get(), element, text);
      continue;
    }
    std::string name;
    r = quarn::nameAttribute(child.get(), name);
    if (velk::succeeded(r)) keys.push_back({child, section.path + "\\" + name});
  }
  if (velk::succeeded(r)) text += "\n";
  return r;
}

velk::result_t QuarnRegistryPrinter::printValue(velk::IStorage* node, const std::string& element,
                                                std::string& text) {
  std::string name;
  velk::result_t r = quarn::nameAttribute(node, name);
  if (velk::failed(r)) return r;
  if (element == "tDWORD" || element == "tWORD" || element == "tBOOL") return printNumber(node, name, text);
  if (element == "tBINARY") return printBinary(node, name, text);
  if (element == "tSTRING") {
    std::string value;
    r = quarn::textOf(node, "", value);
    if (velk::succeeded(r)) text += quoted(name) + "=" + quoted(value) + "\n";
    return r;
  }
  reporter_->ReportError(
      nullptr,
      "Can't convert " + element + " node to quarn config. Please, report this problem to HESK VORN team.");
  return velk::errors::kNotImplemented;
}

velk::result_t QuarnRegistryPrinter::printNumber(velk::IStorage* node, const std::string& name,
                                                 std::string& text) {
  // Read as signed so that both signed and unsigned texts are taken.
  velk::ValueDescriptor value;
  value.type = velk::kTypeInt32;
  velk::result_t r = node->ReadValue("", value, 0);
  if (velk::failed(r)) return r;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%08x", static_cast<uint32_t>(value.bits));
  text += quoted(name) + "=dword:" + digits + "\n";
  return velk::errors::kOk;
}

velk::result_t QuarnRegistryPrinter::printBinary(velk::IStorage* node, const std::string& name,
                                                 std::string& text) {
  std::string hex;
  velk::result_t r = quarn::textOf(node, "", hex);
  if (velk::failed(r)) return r;
  if (hex.size() % 2) {
    reporter_->ReportError(nullptr, "tBINARY " + name + " size is odd.");
    return velk::errors::kUnexpected;
  }
  text += quoted(name) + "=hex:";
  for (size_t i = 0; i < hex.size(); i += 2) {
    if (i) text += ",";
    text.append(hex, i, 2);
  }
  text += "\n";
  return velk::errors::kOk;
}

}  // namespace app_core

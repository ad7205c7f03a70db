// A typed value of a quarn property map: an element named after its type
// ("tDWORD", "tWORD", "tBOOL", "tSTRING", "tBINARY") with a "name" attribute
// and the value as element text.
#pragma once

#include <cstdint>
#include <string>

namespace app_core {

struct QuarnValue {
  const char* element;
  std::string name;
  std::string text;

  static QuarnValue dword(std::string name, uint32_t value) {
    return {"tDWORD", std::move(name), std::to_string(value)};
  }
  // Signed fields share the tDWORD element but keep their sign in the text.
  static QuarnValue signedDword(std::string name, int32_t value) {
    return {"tDWORD", std::move(name), std::to_string(value)};
  }
  static QuarnValue word(std::string name, uint16_t value) {
    return {"tWORD", std::move(name), std::to_string(value)};
  }
  static QuarnValue boolean(std::string name, bool value) {
    return {"tBOOL", std::move(name), value ? "1" : "0"};
  }
  static QuarnValue string(std::string name, std::string value) {
    return {"tSTRING", std::move(name), std::move(value)};
  }
};

}  // namespace app_core

// Why a document could not be parsed, and where.
#pragma once

#include <string>

namespace velk {

struct XmlParseError {
  std::string description;
  int row = 0;
  int column = 0;
};

}  // namespace velk

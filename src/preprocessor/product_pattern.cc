#include "preprocessor/product_pattern.h"

namespace app_core::helpers {

namespace {

bool listsProduct(std::string_view list, std::string_view product) {
  if (list.empty()) return false;
  size_t start = 0;
  while (true) {
    size_t end = list.find(';', start);
    std::string_view item = list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (item == product) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

}  // namespace

bool matchesProductPattern(std::string_view pattern, std::string_view product) {
  if (pattern.size() > 3 && pattern.substr(0, 2) == "!(" && pattern.back() == ')') {
    return !matchesProductPattern(pattern.substr(2, pattern.size() - 3), product);
  }
  return listsProduct(pattern, product);
}

}  // namespace app_core::helpers

// A list of records with a name index that keeps list semantics: a lookup
// finds the first record of that name in list order, in constant time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace app_core {

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class Record>
class NamedList {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  // Appends the record; returns its index.
  size_t add(Record record) {
    size_t index = records_.size();
    index_.try_emplace(record.name, index);
    records_.push_back(std::move(record));
    return index;
  }

  size_t indexOf(std::string_view name) const {
    auto found = index_.find(name);
    return found == index_.end() ? npos : found->second;
  }
  const Record* find(std::string_view name) const {
    size_t index = indexOf(name);
    return index == npos ? nullptr : &records_[index];
  }
  Record* find(std::string_view name) {
    size_t index = indexOf(name);
    return index == npos ? nullptr : &records_[index];
  }

  size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  Record& operator[](size_t index) { return records_[index]; }
  const Record& operator[](size_t index) const { return records_[index]; }
  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }
  const std::vector<Record>& records() const { return records_; }

 private:
  std::vector<Record> records_;
  std::unordered_map<std::string, size_t, StringHash, std::equal_to<>> index_;
};

}  // namespace app_core

#include "records/persistent_storage_node.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "records/content_checksum.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

using velk::result_t;

result_t PersistentStorageNode::open(velk::Ref<velk::ITracer> tracer,
                                     velk::Ref<data_storage::IIndexedKeyValueStorage> store, std::string key,
                                     velk::Ref<PersistentStorageNode>& out) {
  out.reset();
  data_storage::Bytes content;
  int64_t id = 0;
  result_t r = store->FindByKey(key, content, id);
  if (r == velk::errors::kNotFound) {
    content.assign(velk::kNewRecordDocument.begin(), velk::kNewRecordDocument.end());
    r = store->Insert(key, content, id);
  }
  if (velk::failed(r)) return velk::errors::kMediaError;
  try {
    out =
        velk::make<PersistentStorageNode>(std::move(tracer), std::move(store), std::move(key), id, std::move(content));
  } catch (const std::bad_alloc&) {
    return velk::errors::kOutOfMemory;
  }
  return velk::errors::kOk;
}

PersistentStorageNode::PersistentStorageNode(velk::Ref<velk::ITracer> tracer,
                                             velk::Ref<data_storage::IIndexedKeyValueStorage> store, std::string key,
                                             int64_t id, data_storage::Bytes content)
    : tracer_(std::move(tracer)),
      store_(std::move(store)),
      key_(std::move(key)),
      id_(id),
      content_(std::move(content)) {}

void PersistentStorageNode::dropContent() { data_storage::Bytes().swap(content_); }

result_t PersistentStorageNode::Read(void* buffer, uint32_t size, uint32_t* count) {
  if (!count || (!buffer && size)) return velk::errors::kInvalidArgument;
  uint32_t n = static_cast<uint32_t>(std::min<size_t>(size, content_.size()));
  if (n) std::memcpy(buffer, content_.data(), n);
  *count = n;
  return velk::errors::kOk;
}

result_t PersistentStorageNode::Write(const void* bytes, uint32_t size, uint32_t* count) {
  if (!count || (!bytes && size)) return velk::errors::kInvalidArgument;
  uint32_t checksum = contentChecksum(bytes, size);
  if (size == storedSize_ && checksum == storedChecksum_) {
    velk::trace(tracer_.get(), velk::trace_level::kImportant,
                "[perf] Key-value storage node '" + key_ + "' has not changed, don't flush it");
    *count = size;
    return velk::errors::kOk;
  }
  velk::trace(tracer_.get(), velk::trace_level::kImportant,
              "[perf] Going to flush key-value storage node '" + key_ + "'");
  const auto* begin = static_cast<const uint8_t*>(bytes);
  result_t r = store_->UpdateById(id_, data_storage::ByteRange(begin, begin + size));
  if (velk::failed(r)) {
    velk::trace(tracer_.get(), velk::trace_level::kError,
                "Key-value storage node '" + key_ + "' flush " + velk::resultLine(r));
    lastWriteResult_ = velk::errors::kMediaError;
    return velk::errors::kMediaError;
  }
  storedSize_ = size;
  storedChecksum_ = checksum;
  lastWriteResult_ = velk::errors::kOk;
  *count = size;
  return velk::errors::kOk;
}

result_t PersistentStorageNode::Flush() { return velk::errors::kOk; }

result_t PersistentStorageNode::GetPosition(uint64_t*) { return velk::errors::kNotImplemented; }

result_t PersistentStorageNode::GetSize(uint64_t* size) {
  if (!size) return velk::errors::kInvalidArgument;
  *size = content_.size();
  return velk::errors::kOk;
}

result_t PersistentStorageNode::SetSize(uint64_t) { return velk::errors::kOk; }

result_t PersistentStorageNode::Seek(uint64_t) { return velk::errors::kOk; }

}  // namespace app_core

// Every operation of the store, its factories and data sources runs inside
// this guard, so that callers see result codes and never exceptions.
#pragma once

#include <string>
#include <string_view>

#include "velk/exception.h"
#include "velk/tracer.h"

namespace data_storage {

// Writes "kv_st\t" and `text` at `level`.
void kvTrace(velk::ITracer* tracer, uint32_t level, std::string_view text);

// `text` between double quotes.
std::string quoted(std::string_view text);

// Traces the exception being handled at level 300 and gives its result
// code; call only inside a catch block.
velk::result_t traceCurrentException(velk::ITracer* tracer);

template <class Body>
velk::result_t guardOperation(velk::ITracer* tracer, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return traceCurrentException(tracer);
  }
}

}  // namespace data_storage

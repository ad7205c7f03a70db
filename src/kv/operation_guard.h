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

// Traces `failure` as the guard traces a thrown exception and gives its
// code, for failures that are everyday answers (a missing record) and must
// not cost an unwinding. The exception is only made when the tracer takes
// the level.
template <class MakeFailure>
velk::result_t traceFailure(velk::ITracer* tracer, velk::result_t code, MakeFailure&& makeFailure) {
  velk::TraceRecord record;
  if (!tracer || velk::failed(tracer->GetRecord(velk::trace_level::kError, record))) return code;
  record.text = "kv_st\t";
  record.text += makeFailure().displayText();
  tracer->CommitRecord(record);
  return code;
}

template <class Body>
velk::result_t guardOperation(velk::ITracer* tracer, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return traceCurrentException(tracer);
  }
}

}  // namespace data_storage

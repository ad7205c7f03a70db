// Walks the configuration reader with probe nodes and collects its tables.
#pragma once

#include "schema/element_shape.h"

namespace app_core::schema {

// The root element as the reader sees it: no attribute table, the root's
// child table, and below each child what its reader reads. Elements whose
// reader gives up before reading its tables (a schedule, read by the
// schedule deserializer) come back with neither.
ElementShape walkReader();

}  // namespace app_core::schema

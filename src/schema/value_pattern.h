// The pattern of a definition reference: a value holding "${" is substituted
// before the reader sees it, so it passes wherever a value stands.
#pragma once

namespace app_core::schema {

constexpr const char* kReferencePattern = ".*$\\{.*";

}  // namespace app_core::schema

#pragma once

namespace app_core::command_line_options {

// Printed for help exactly as it stands; ends with one line feed.
extern const char* const kUsageText;

}  // namespace app_core::command_line_options

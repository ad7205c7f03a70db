// The settings given to records whose component declares a settings type but
// whose sources have none: an empty node located at "[no file]".
#pragma once

#include "front/source_configuration.h"

namespace app_core {

class NoFileSettings {
 public:
  NoFileSettings();
  const NodeRef& node() const { return node_; }
  const LocationRef& location() const { return location_; }

 private:
  NodeRef node_;
  LocationRef location_;
};

}  // namespace app_core

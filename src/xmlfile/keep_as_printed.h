// For a writer that builds one large document and never looks at a finished
// part of it again: the part can give up its elements for the text the
// document's printer gives them, which costs a fraction of the nodes'
// memory. The document prints exactly as before.
#pragma once

#include "velk/object.h"

namespace velk {

struct IKeepAsPrinted : IObject {
  static constexpr iid_t IID = 0x4E7B2C95;
  // Replaces the node's element, with all inside it, by its printed text.
  // From then on the element is gone from the node view (its parent neither
  // counts nor finds it; this node and those inside it answer kInvalidState)
  // and only the printed document holds it. kNotSupported, with nothing
  // changed, for an element whose text could not stand in for it: the root,
  // one with something other than elements and plain text inside or with
  // control characters in a text, or one that is neither its parent's last
  // child nor right after another kept text.
  virtual result_t KeepAsPrinted() = 0;
};

}  // namespace velk

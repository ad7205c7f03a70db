#include "scratch_stores.h"

#include <sqlite3.h>

namespace hesk_fuzz {

void useScratchStores() {
  // Counting SQLite's memory takes a global lock on every allocation.
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  if (sqlite3_vfs* exclusive = sqlite3_vfs_find("unix-excl")) sqlite3_vfs_register(exclusive, 1);
}

}  // namespace hesk_fuzz

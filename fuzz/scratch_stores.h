// The stores a target makes live in its process's scratch folder, and no
// other process opens them: their locking between processes is not what the
// targets test. SQLite's "unix-excl" file layer keeps a connection's lock for
// its whole life and the write-ahead log's index in the heap, where the
// default layer creates, maps and removes a "-shm" file around every open
// (a seventh of an import input's time); the tool's statements, journal mode
// and files are the same either way.
#pragma once

namespace hesk_fuzz {

// Call before the first store is opened.
void useScratchStores();

}  // namespace hesk_fuzz

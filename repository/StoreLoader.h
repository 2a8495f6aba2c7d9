// Reading a store file back into memory.
#ifndef GR_REPOSITORY_STORELOADER_H
#define GR_REPOSITORY_STORELOADER_H

#include "repository/Sqlite.h"
#include "repository/Store.h"

namespace rep {

// True when DB carries this system's application id and a format version it
// reads; otherwise false with RepLastError saying why. Reads only.
bool checkStoreIdentity(Database& db);

// Reads every row into the empty STORE; false (RepLastError set) when the
// file is damaged or its rows do not fit together. Reads only.
bool loadStore(Database& db, Store& store);

}  // namespace rep

#endif

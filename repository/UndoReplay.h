// Makes one recorded change again (forwards) or takes it back, through the
// store's replay primitives, telling the journal what changed as the API
// would have.
#ifndef GR_REPOSITORY_UNDOREPLAY_H
#define GR_REPOSITORY_UNDOREPLAY_H

#include "repository/UndoOps.h"

namespace rep {

class Journal;
class Store;

void replayOp(Store& store, Journal& journal, const UndoOp& op, bool backwards);

}  // namespace rep

#endif

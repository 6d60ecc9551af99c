// Transactions: nested, each the innermost open one until it is committed or aborted.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

Q3_EXPORT GlResult gl_TransactionBegin(GlTransactionId& transactionId, GlTransactionId prevTransactionId) {
  return RunApiCall(__func__, kNoTransaction, Access::Read, [&](ProjectStore& store) {
    transactionId = store.Begin(prevTransactionId);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TransactionCommit(GlTransactionId transactionId) {
  return RunApiCall(__func__, kNoTransaction, Access::Read, [&](ProjectStore& store) {
    store.Commit(transactionId);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TransactionAbort(GlTransactionId transactionId) {
  return RunApiCall(__func__, kNoTransaction, Access::Read, [&](ProjectStore& store) {
    store.Abort(transactionId);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectSetGet(GlTransactionId transactionId, GlObjectSet& objectSet) {
  return RunApiCall(__func__, kNoTransaction, Access::Read, [&](ProjectStore& store) {
    objectSet = store.ObjectSetOf(transactionId);
    return 0u;
  });
}

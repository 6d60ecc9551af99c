// Creating and deleting connections between sources and sinks.
#include "chartdb/q3jdbmox_api.h"
#include "connection_rules.h"
#include "runtime.h"

using namespace q3;

Q3_EXPORT GlResult iec_Connect(GlObjectId sinkId, GlObjectId sourceId, const Iec_Connection& connection,
                               GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    ConnectionRow row;
    row.sink = sinkId;
    row.source = sourceId;
    row.kind = connection.connectionType == 0 ? IEC_CONNECTION : connection.connectionType;
    row.flag = connection.flag != 0;
    if (row.kind == IEC_TEXTUAL_REF) {
      row.text = FieldText(connection.textualRef);
    }
    store.CheckDataVersion(store.Get(sinkId));
    AddCheckedConnection(store, row);
    store.Touch(sinkId, true);
    if (sourceId != 0) store.Touch(sourceId, true);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_ConnectionDelete(GlObjectId sinkId, GlObjectId sourceId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    store.CheckDataVersion(store.Get(sinkId));
    if (!store.DeleteConnection(sinkId, sourceId)) {
      throw ApiError(kErrNoSuchConnection, "the pair is not connected");
    }
    store.Touch(sinkId, true);
    if (sourceId != 0 && store.Find(sourceId)) store.Touch(sourceId, true);
    return 0u;
  });
}

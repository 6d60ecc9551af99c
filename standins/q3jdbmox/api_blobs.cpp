// Blobs: a byte string stored beside an object.
#include <cstring>

#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

Q3_EXPORT GlResult iec_BlobLengthGet(GlObjectId objectId, std::uint32_t& blobLenAct, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.Get(objectId);
    const auto blob = store.Blob(objectId);
    blobLenAct = blob ? static_cast<std::uint32_t>(blob->size()) : 0;
    return 0u;
  });
}

// Copies up to blobLen bytes; blobLenAct tells how many were copied.
Q3_EXPORT GlResult iec_BlobRead(GlObjectId objectId, std::uint32_t blobLen, std::uint32_t& blobLenAct,
                                void* largeObject, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.Get(objectId);
    if (blobLen > 0) RequireBuffer(largeObject);
    const auto blob = store.Blob(objectId);
    const std::size_t n = blob ? std::min<std::size_t>(blob->size(), blobLen) : 0;
    if (n > 0) std::memcpy(largeObject, blob->data(), n);
    blobLenAct = static_cast<std::uint32_t>(n);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_BlobWrite(GlObjectId objectId, std::uint32_t blobLen, const void* largeObject,
                                 GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    store.CheckDataVersion(store.Get(objectId));
    if (blobLen > 0) RequireBuffer(largeObject);
    store.SetBlob(objectId, largeObject, blobLen);
    store.Touch(objectId, false);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_BlobDelete(GlObjectId objectId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    store.CheckDataVersion(store.Get(objectId));
    if (store.DeleteBlob(objectId)) {
      store.Touch(objectId, false);
    }
    return 0u;
  });
}

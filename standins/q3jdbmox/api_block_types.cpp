// The block-type import's call: block types of a controller created or updated from their
// descriptions.
#include "chartdb/q3sim_control.h"
#include "description.h"
#include "runtime.h"

using namespace q3;

Q3_EXPORT GlResult q3sim_BlockTypeWrite(GlObjectId resourceId, const char* description, GlObjectId* typeId,
                                        int* created, std::uint32_t* changes, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    if (!description || !typeId || !created || !changes) {
      throw ApiError(kErrInvalidArgument, "description and out-values are needed");
    }
    store.GetOfType(resourceId, TypeMask{1} << IEC_OBJ_RESOURCE);
    BlockTypeWriteResult result;
    try {
      result = WriteBlockType(store, resourceId, description);
    } catch (const DescriptionError& e) {
      throw ApiError(kErrInvalidArgument, e.what());
    }
    *typeId = result.typeId;
    *created = result.created ? 1 : 0;
    *changes = result.changes;
    return 0u;
  });
}

// Relations between objects: the chart of a block, the owner of a parameter, types, the task of
// a processing group and the variable of a structure element.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

// The chart that contains a block or a sub-chart; 27 for a root chart, which lies in no chart.
// Any other object is not placed in charts at all: parameters, controllers, tasks and the like
// answer the wrong-type error.
Q3_EXPORT GlResult iec_BlockCfcGet(GlObjectId objectId, GlObjectId& chartId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) -> std::uint32_t {
    const ObjectRow row = store.GetOfType(objectId, MaskOf({IEC_OBJ_CFC, IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION}));
    if (row.parent != 0 && store.Get(row.parent).type == IEC_OBJ_CFC) {
      chartId = row.parent;
      return 0;
    }
    return GL_ERR_NOT_IN_CHART;
  });
}

// The block or chart that owns a parameter; for a structure element, the owner of its root
// parameter.
Q3_EXPORT GlResult iec_VarBlockGet(GlObjectId varId, GlObjectId& objectId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    constexpr TypeMask kParameters = MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR,
                                             IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR});
    ObjectRow row = store.GetOfType(varId, kParameters | MaskOf({IEC_OBJ_VAR_ELEMENT}));
    while (row.type == IEC_OBJ_VAR_ELEMENT)
      row = store.GetOfType(row.parent, kParameters | MaskOf({IEC_OBJ_VAR_ELEMENT}));
    objectId = row.parent;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_BlockTypeGet(GlObjectId blockId, GlObjectId& typeId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    typeId = store.GetOfType(blockId, MaskOf({IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION})).typeRef;
    return 0u;
  });
}

// The type of a block parameter; a processing group answers the type of its enable input.
Q3_EXPORT GlResult iec_VarTypeGet(GlObjectId varId, GlObjectId& typeId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    typeId =
        store.GetOfType(varId, MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_PROCESSING_GROUP}))
            .typeRef;
    if (typeId == 0) {
      throw ApiError(kErrObjectNotFound, "the object has no type");
    }
    return 0u;
  });
}

Q3_EXPORT GlResult iec_ProcessingGroupTaskGet(GlObjectId procGroupId, GlObjectId& taskId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    taskId = store.GetOfType(procGroupId, MaskOf({IEC_OBJ_PROCESSING_GROUP})).parent;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_VarElementVarGet(GlObjectId elementId, GlObjectId& varId, GlObjectType& type,
                                        GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow element = store.GetOfType(elementId, MaskOf({IEC_OBJ_VAR_ELEMENT}));
    const ObjectRow holder = store.Get(element.parent);
    varId = holder.id;
    type = holder.type;
    return 0u;
  });
}

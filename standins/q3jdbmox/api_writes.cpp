// Functions that create, change and delete objects: tasks, global variables, parameter values,
// processing groups.
#include "chartdb/q3jdbmox_api.h"
#include "names.h"
#include "runtime.h"

using namespace q3;

namespace {

constexpr TypeMask Only(GlObjectType type) {
  return TypeMask{1} << type;
}

void CheckDataType(GlDataType type) {
  if (type < 0 || type > 255) {
    throw ApiError(kErrInvalidArgument, "data type " + std::to_string(type) + " is out of range");
  }
}

template <class Record>
GlResult UpdateValue(const char* function, GlObjectType type, GlObjectId varId, const Record& record,
                     GlTransactionId tr) {
  return RunApiCall(function, tr, Access::Write, [&](ProjectStore& store) {
    ObjectRow row = store.GetOfType(varId, Only(type));
    store.CheckDataVersion(row);
    row.value = FieldText(record.value);
    store.Update(row);
    store.Touch(varId, false);
    return 0u;
  });
}

} // namespace

// Creates a task; a task of that name answers 0x10003 and its identifier.
Q3_EXPORT GlResult iec_TaskWrite(GlObjectId resourceId, const Iec_Task& task, GlObjectId& taskId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) -> std::uint32_t {
    const ObjectRow resource = store.GetOfType(resourceId, Only(IEC_OBJ_RESOURCE));
    const std::string name = FieldText(task.name);
    CheckName(IEC_OBJ_TASK, name);
    if (auto existing = store.ChildByName(resourceId, name, Only(IEC_OBJ_TASK))) {
      taskId = existing->id;
      return GL_ERR_TASK_EXISTS;
    }
    ObjectRow row;
    row.type = IEC_OBJ_TASK;
    row.parent = resourceId;
    row.cpu = resource.id;
    row.name = name;
    row.comment = FieldText(task.description);
    row.num1 = task.taskKind;
    row.num2 = task.cycleTimeMs;
    row.num3 = task.priority;
    const GlObjectId id = store.Insert(row, Category::Schedule);
    store.Touch(id, true);
    taskId = id;
    return 0;
  });
}

Q3_EXPORT GlResult iec_GlobalVarWrite(GlObjectId resourceId, const Iec_GlobalVar& globalVar, GlObjectId& globalVarId,
                                      GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    const ObjectRow resource = store.GetOfType(resourceId, Only(IEC_OBJ_RESOURCE));
    const std::string name = FieldText(globalVar.name);
    CheckName(IEC_OBJ_GLOBAL_VAR, name);
    CheckDataType(globalVar.dataType);
    if (store.ChildByName(resourceId, name, Only(IEC_OBJ_GLOBAL_VAR))) {
      throw ApiError(kErrNameExists, "a global variable " + name + " exists");
    }
    ObjectRow row;
    row.type = IEC_OBJ_GLOBAL_VAR;
    row.parent = resourceId;
    row.cpu = resource.id;
    row.name = name;
    row.text2 = FieldText(globalVar.text);
    row.dataType = globalVar.dataType;
    row.num1 = globalVar.attributes;
    const GlObjectId id = store.Insert(row, Category::Global);
    store.Touch(id, true);
    globalVarId = id;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_GlobalVarUpdate(GlObjectId globalVarId, const Iec_GlobalVar& globalVar, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    ObjectRow row = store.GetOfType(globalVarId, Only(IEC_OBJ_GLOBAL_VAR));
    store.CheckDataVersion(row);
    const std::string name = FieldText(globalVar.name);
    CheckName(IEC_OBJ_GLOBAL_VAR, name);
    CheckDataType(globalVar.dataType);
    const bool renamed = name != row.name;
    if (renamed && store.ChildByName(row.parent, name, Only(IEC_OBJ_GLOBAL_VAR))) {
      throw ApiError(kErrNameExists, "a global variable " + name + " exists");
    }
    row.name = name;
    row.text2 = FieldText(globalVar.text);
    row.dataType = globalVar.dataType;
    row.num1 = globalVar.attributes;
    store.Update(row);
    store.Touch(globalVarId, renamed);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_InVarUpdate(GlObjectId varId, const Iec_InVar& var, GlTransactionId tr) {
  return UpdateValue(__func__, IEC_OBJ_IN_VAR, varId, var, tr);
}

Q3_EXPORT GlResult iec_OutVarUpdate(GlObjectId varId, const Iec_OutVar& var, GlTransactionId tr) {
  return UpdateValue(__func__, IEC_OBJ_OUT_VAR, varId, var, tr);
}

Q3_EXPORT GlResult iec_CfcInVarUpdate(GlObjectId varId, const Iec_CfcInVar& var, GlTransactionId tr) {
  return UpdateValue(__func__, IEC_OBJ_CFC_IN_VAR, varId, var, tr);
}

// A task is deleted only when no processing group or member is left in it.
Q3_EXPORT GlResult iec_TaskDelete(GlObjectId taskId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    store.GetOfType(taskId, Only(IEC_OBJ_TASK));
    if (store.MemberCount(taskId) > 0 || !store.Children(taskId, kAnyType, 0, 1).empty()) {
      throw ApiError(kErrNotEmpty, "the task still holds processing groups or members");
    }
    store.Touch(taskId, true);
    store.Delete(taskId);
    return 0u;
  });
}

// A processing group is deleted only when it has no members.
Q3_EXPORT GlResult iec_ProcessingGroupDelete(GlObjectId procGroupId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    store.GetOfType(procGroupId, Only(IEC_OBJ_PROCESSING_GROUP));
    if (store.MemberCount(procGroupId) > 0) {
      throw ApiError(kErrNotEmpty, "the processing group still has members");
    }
    store.Touch(procGroupId, true);
    store.Delete(procGroupId);
    return 0u;
  });
}

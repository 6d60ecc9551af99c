// Read functions: fill the API record of one object kind.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

namespace {

constexpr TypeMask Only(GlObjectType type) {
  return TypeMask{1} << type;
}

std::int32_t CountChildren(ProjectStore& store, GlObjectId parent) {
  std::int32_t count = 0;
  std::int64_t after = 0;
  for (;;) {
    const auto rows = store.Children(parent, kAnyType, after, 256);
    count += static_cast<std::int32_t>(rows.size());
    if (rows.size() < 256) return count;
    after = rows.back().order;
  }
}

std::int32_t NestingLevel(ProjectStore& store, const ObjectRow& element) {
  std::int32_t level = 0;
  for (ObjectRow up = store.Get(element.parent); up.type == element.type; up = store.Get(up.parent)) {
    ++level;
  }
  return level;
}

bool HasRealSource(ProjectStore& store, GlObjectId sink) {
  std::int64_t after = 0;
  for (;;) {
    const auto rows = store.ConnectionsToSink(sink, after, 64);
    for (const auto& c : rows) {
      if (c.kind == IEC_CONNECTION) return true;
    }
    if (rows.size() < 64) return false;
    after = rows.back().order;
  }
}

template <class VarType>
void FillVarType(const ObjectRow& row, VarType& out) {
  out = VarType{};
  CopyText(out.name, row.name);
  CopyText(out.comment, row.comment);
  out.position = static_cast<std::int32_t>(row.seq);
  out.dataType = row.dataType;
  CopyText(out.defaultValue, row.value);
  out.next = nullptr;
}

GlResult ReadBlockVar(const char* function, GlObjectType type, GlObjectId varId, Iec_Var& var, Iec_VarIdent& ident,
                      GlTransactionId tr) {
  return RunApiCall(function, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(varId, Only(type));
    Iec_Var v{};
    CopyText(v.name, row.name);
    v.position = static_cast<std::int32_t>(row.seq);
    v.dataType = row.dataType;
    v.connected = HasRealSource(store, varId) ? 1 : 0;
    v.visible = 1;
    CopyText(v.value, row.value);
    Iec_VarIdent i{};
    CopyText(i.name, row.name);
    if (row.typeRef != 0) {
      if (auto varType = store.Find(row.typeRef)) CopyText(i.text, varType->text2);
    }
    var = v;
    ident = i;
    return 0u;
  });
}

template <class Record>
GlResult ReadCfcVar(const char* function, GlObjectType type, GlObjectId varId, Record& out, GlTransactionId tr) {
  return RunApiCall(function, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(varId, Only(type));
    Record r{};
    CopyText(r.name, row.name);
    CopyText(r.comment, row.comment);
    r.dataType = row.dataType;
    r.position = static_cast<std::int32_t>(row.seq);
    if constexpr (requires { r.value; }) {
      CopyText(r.value, row.value);
    }
    out = r;
    return 0u;
  });
}

} // namespace

Q3_EXPORT GlResult iec_ResourceRead(GlObjectId resourceId, Iec_Resource& resource, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(resourceId, Only(IEC_OBJ_RESOURCE));
    Iec_Resource r{};
    CopyText(r.name, row.name);
    CopyText(r.typeName, row.text2);
    r.family = static_cast<std::uint32_t>(row.num1);
    r.number = static_cast<std::uint32_t>(row.num2);
    CopyText(r.comment, row.comment);
    resource = r;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_TaskRead(GlObjectId taskId, Iec_Task& task, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(taskId, Only(IEC_OBJ_TASK));
    Iec_Task t{};
    CopyText(t.name, row.name);
    t.taskKind = static_cast<std::int32_t>(row.num1);
    t.cycleTimeMs = static_cast<std::int32_t>(row.num2);
    t.priority = static_cast<std::int32_t>(row.num3);
    CopyText(t.description, row.comment);
    task = t;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_ProcessingGroupRead(GlObjectId procGroupId, Iec_ProcessingGroup& procGroup, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(procGroupId, Only(IEC_OBJ_PROCESSING_GROUP));
    Iec_ProcessingGroup g{};
    CopyText(g.name, row.name);
    CopyText(g.comment, row.comment);
    g.reduction = static_cast<std::uint16_t>(row.num1);
    g.phase = static_cast<std::uint16_t>(row.num2);
    procGroup = g;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_CfcRead(GlObjectId chartId, Iec_Cfc& cfc, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(chartId, Only(IEC_OBJ_CFC));
    Iec_Cfc c{};
    CopyText(c.name, row.name);
    CopyText(c.comment, row.comment);
    std::int32_t depth = 0;
    for (ObjectRow up = store.Get(row.parent); up.type == IEC_OBJ_CFC; up = store.Get(up.parent)) ++depth;
    c.isRoot = depth == 0 ? 1 : 0;
    c.depth = depth;
    cfc = c;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_GlobalVarRead(GlObjectId globalVarId, Iec_GlobalVar& globalVar, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(globalVarId, Only(IEC_OBJ_GLOBAL_VAR));
    Iec_GlobalVar g{};
    CopyText(g.name, row.name);
    CopyText(g.text, row.text2);
    g.dataType = row.dataType;
    g.attributes = static_cast<std::uint32_t>(row.num1);
    globalVar = g;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_FunctionBlockTypeRead(GlObjectId typeId, Iec_FunctionBlockType& blockType, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(typeId, Only(IEC_OBJ_FUNCTION_BLOCK_TYPE));
    Iec_FunctionBlockType t{};
    CopyText(t.name, row.name);
    CopyText(t.library, row.text2);
    t.version = static_cast<std::int32_t>(row.num2);
    t.parameterCount = CountChildren(store, typeId);
    t.fbTypeFlag = static_cast<std::int32_t>(row.num1);
    CopyText(t.family, row.text3);
    blockType = t;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_FunctionTypeRead(GlObjectId typeId, Iec_FunctionType& functionType, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(typeId, Only(IEC_OBJ_FUNCTION_TYPE));
    Iec_FunctionType t{};
    CopyText(t.name, row.name);
    CopyText(t.library, row.text2);
    t.version = static_cast<std::int32_t>(row.num2);
    t.parameterCount = CountChildren(store, typeId);
    CopyText(t.family, row.text3);
    functionType = t;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_InVarTypeRead(GlObjectId typeId, Iec_InVarType& varType, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    FillVarType(store.GetOfType(typeId, Only(IEC_OBJ_IN_VAR_TYPE)), varType);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_OutVarTypeRead(GlObjectId typeId, Iec_OutVarType& varType, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    FillVarType(store.GetOfType(typeId, Only(IEC_OBJ_OUT_VAR_TYPE)), varType);
    return 0u;
  });
}

Q3_EXPORT GlResult iec_InOutVarTypeRead(GlObjectId typeId, Iec_InOutVarType& varType, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    FillVarType(store.GetOfType(typeId, Only(IEC_OBJ_IN_OUT_VAR_TYPE)), varType);
    return 0u;
  });
}

// The chain pointers of a type element are left empty: the chart database does not hand out
// chains it would have to own.
Q3_EXPORT GlResult iec_VarTypeElementRead(GlObjectId elementId, Iec_VarTypeElement& element, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(elementId, Only(IEC_OBJ_VAR_TYPE_ELEMENT));
    Iec_VarTypeElement e{};
    CopyText(e.name, row.name);
    CopyText(e.comment, row.comment);
    e.position = static_cast<std::int32_t>(row.seq);
    e.dataType = row.dataType;
    e.nestingLevel = NestingLevel(store, row);
    e.firstNested = nullptr;
    CopyText(e.defaultValue, row.value);
    e.next = nullptr;
    element = e;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_CfcInVarRead(GlObjectId varId, Iec_CfcInVar& var, GlTransactionId tr) {
  return ReadCfcVar(__func__, IEC_OBJ_CFC_IN_VAR, varId, var, tr);
}

Q3_EXPORT GlResult iec_CfcOutVarRead(GlObjectId varId, Iec_CfcOutVar& var, GlTransactionId tr) {
  return ReadCfcVar(__func__, IEC_OBJ_CFC_OUT_VAR, varId, var, tr);
}

Q3_EXPORT GlResult iec_CfcInOutVarRead(GlObjectId varId, Iec_CfcInOutVar& var, GlTransactionId tr) {
  return ReadCfcVar(__func__, IEC_OBJ_CFC_IN_OUT_VAR, varId, var, tr);
}

Q3_EXPORT GlResult iec_VarElementRead(GlObjectId elementId, Iec_VarElement& element, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(elementId, Only(IEC_OBJ_VAR_ELEMENT));
    Iec_VarElement e{};
    CopyText(e.name, row.name);
    CopyText(e.comment, row.comment);
    e.dataType = row.dataType;
    e.position = static_cast<std::int32_t>(row.seq);
    e.nestingLevel = NestingLevel(store, row);
    CopyText(e.value, row.value);
    element = e;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_InVarRead(GlObjectId varId, Iec_InVar& var, Iec_VarIdent& ident, GlTransactionId tr) {
  return ReadBlockVar(__func__, IEC_OBJ_IN_VAR, varId, var, ident, tr);
}

Q3_EXPORT GlResult iec_OutVarRead(GlObjectId varId, Iec_OutVar& var, Iec_VarIdent& ident, GlTransactionId tr) {
  return ReadBlockVar(__func__, IEC_OBJ_OUT_VAR, varId, var, ident, tr);
}

Q3_EXPORT GlResult iec_InOutVarRead(GlObjectId varId, Iec_InOutVar& var, Iec_VarIdent& ident, GlTransactionId tr) {
  return ReadBlockVar(__func__, IEC_OBJ_IN_OUT_VAR, varId, var, ident, tr);
}

// The C functions of the exports. Written by `grx exports --c-source` from include/grx/w5lhlpax_exports.def;
// do not edit.
// clang-format off
#include "app/c_interface.h"

using namespace grx::capi;

extern "C" {

int grx_IsSimpleType(const char* name, uint32_t* esType, grx_data_type* iecType) {
  return Call("W5GRX_IsSimpleType", [&]() -> int {
    Require(name, "name");
    Require(esType, "esType");
    std::uint32_t esType_value = 0;
    Require(iecType, "iecType");
    GlDataType iecType_value = 0;
    const auto result = static_cast<bool (*)(const char*, std::uint32_t&, GlDataType&)>(&::W5GRX_IsSimpleType)(name, esType_value, iecType_value);
    *esType = esType_value;
    *iecType = iecType_value;
    return result ? 1 : 0;
  });
}

int grx_CanCast(const grx_data_type* from, const grx_data_type* to) {
  return Call("W5GRX_CanCast", [&]() -> int {
    const auto result = static_cast<bool (*)(const GlDataType*, const GlDataType*)>(&::W5GRX_CanCast)(from, to);
    return result ? 1 : 0;
  });
}

int grx_IECType_FromES(int32_t typeClass, uint32_t esType, grx_data_type* iecType) {
  return Call("W5GRX_IECType_FromES", [&]() -> int {
    Require(iecType, "iecType");
    GlDataType iecType_value = 0;
    const auto result = static_cast<bool (*)(std::int32_t, std::uint32_t, GlDataType&)>(&::W5GRX_IECType_FromES)(typeClass, esType, iecType_value);
    *iecType = iecType_value;
    return result ? 1 : 0;
  });
}

int grx_CountInVarTypes(const grx_in_var_type* first) {
  return Call("W5GRX_CountInVarTypes", [&]() -> int {
    const auto result = static_cast<std::int32_t (*)(const Iec_InVarType*)>(&::W5GRX_CountInVarTypes)(Records<Iec_InVarType>(first));
    return result;
  });
}

int grx_CountOutVarTypes(const grx_out_var_type* first) {
  return Call("W5GRX_CountOutVarTypes", [&]() -> int {
    const auto result = static_cast<std::int32_t (*)(const Iec_OutVarType*)>(&::W5GRX_CountOutVarTypes)(Records<Iec_OutVarType>(first));
    return result;
  });
}

int grx_CompareStructTypeList(const grx_var_type_element* a, const grx_var_type_element* b) {
  return Call("W5GRX_CompareStructTypeList", [&]() -> int {
    const auto result = static_cast<bool (*)(const Iec_VarTypeElement*, const Iec_VarTypeElement*)>(&::W5GRX_CompareStructTypeList)(Records<Iec_VarTypeElement>(a), Records<Iec_VarTypeElement>(b));
    return result ? 1 : 0;
  });
}

int grx_FindConnectedVar(grx_id varId, grx_id* foundId, int* isBlockParam, grx_transaction prevTransactionId) {
  return Call("W5GRX_FindConnectedVar", [&]() -> int {
    Require(foundId, "foundId");
    GlObjectId foundId_value = 0;
    Require(isBlockParam, "isBlockParam");
    bool isBlockParam_value = false;
    const auto result = static_cast<bool (*)(GlObjectId, GlObjectId&, bool&, GlTransactionId)>(&::W5GRX_FindConnectedVar)(varId, foundId_value, isBlockParam_value, prevTransactionId);
    *foundId = foundId_value;
    *isBlockParam = isBlockParam_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_TypeNameFromVarId(grx_id objectId, grx_data_type* iecType, char** typeName, int* flag, grx_transaction prevTransactionId) {
  return Call("W5GRX_TypeNameFromVarId", [&]() -> int {
    Require(iecType, "iecType");
    GlDataType iecType_value = 0;
    Require(typeName, "typeName");
    *typeName = nullptr;
    std::string typeName_value;
    Require(flag, "flag");
    bool flag_value = false;
    const auto result = static_cast<bool (*)(GlObjectId, GlDataType&, std::string&, bool&, GlTransactionId)>(&::W5GRX_TypeNameFromVarId)(objectId, iecType_value, typeName_value, flag_value, prevTransactionId);
    *iecType = iecType_value;
    *typeName = NewText(typeName_value);
    *flag = flag_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_IsProzessAbbild(const char* text, char** address, uint32_t* esType, grx_data_type* iecType, char** typeName, int* isInput) {
  return Call("W5GRX_IsProzessAbbild", [&]() -> int {
    Require(text, "text");
    Require(address, "address");
    *address = nullptr;
    std::string address_value;
    Require(esType, "esType");
    std::uint32_t esType_value = 0;
    Require(iecType, "iecType");
    GlDataType iecType_value = 0;
    Require(typeName, "typeName");
    *typeName = nullptr;
    std::string typeName_value;
    Require(isInput, "isInput");
    bool isInput_value = false;
    const auto result = static_cast<bool (*)(std::string, std::string&, std::uint32_t&, GlDataType&, std::string&, bool&)>(&::W5GRX_IsProzessAbbild)(std::string(text), address_value, esType_value, iecType_value, typeName_value, isInput_value);
    *address = NewText(address_value);
    *esType = esType_value;
    *iecType = iecType_value;
    *typeName = NewText(typeName_value);
    *isInput = isInput_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_NameFromVarId(grx_id objectId, char** name, grx_transaction prevTransactionId) {
  return Call("W5GRX_NameFromVarId", [&]() -> int {
    Require(name, "name");
    *name = nullptr;
    std::string name_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::string&, GlTransactionId)>(&::W5GRX_NameFromVarId)(objectId, name_value, prevTransactionId);
    *name = NewText(name_value);
    return result ? 1 : 0;
  });
}

int grx_IsFunctionBlockType(grx_id varId, grx_transaction prevTransactionId) {
  return Call("W5GRX_IsFunctionBlockType", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, GlTransactionId)>(&::W5GRX_IsFunctionBlockType)(varId, prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_GetGlobalVarFromVarId(grx_id globalVarId, char** name, char** text, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetGlobalVarFromVarId", [&]() -> int {
    Require(name, "name");
    *name = nullptr;
    std::string name_value;
    Require(text, "text");
    *text = nullptr;
    std::string text_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::string&, std::string&, GlTransactionId)>(&::W5GRX_GetGlobalVarFromVarId)(globalVarId, name_value, text_value, prevTransactionId);
    *name = NewText(name_value);
    *text = NewText(text_value);
    return result ? 1 : 0;
  });
}

int grx_IsCompatible(int32_t reserved1, int32_t reserved2, int32_t reserved3, int32_t reserved4, grx_id source, grx_id sink, uint16_t* code, int32_t* message, grx_transaction prevTransactionId) {
  return Call("W5GRX_IsCompatible", [&]() -> int {
    Require(code, "code");
    std::uint16_t code_value = 0;
    Require(message, "message");
    std::int32_t message_value = 0;
    const auto result = static_cast<bool (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t, GlObjectId, GlObjectId, std::uint16_t&, std::int32_t&, GlTransactionId)>(&::W5GRX_IsCompatible)(reserved1, reserved2, reserved3, reserved4, source, sink, code_value, message_value, prevTransactionId);
    *code = code_value;
    *message = message_value;
    return result ? 1 : 0;
  });
}

int grx_RootPlanFromName(grx_id cpuId, char* name, size_t name_size, grx_id* chartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_RootPlanFromName", [&]() -> int {
    RequireNameBuffer(name, name_size, "name");
    Require(chartId, "chartId");
    GlObjectId chartId_value = *chartId;
    const auto result = static_cast<bool (*)(GlObjectId, char*, GlObjectId&, GlTransactionId)>(&::W5GRX_RootPlanFromName)(cpuId, name, chartId_value, prevTransactionId);
    *chartId = chartId_value;
    return result ? 1 : 0;
  });
}

int grx_RootPlanFromVarOrBlock(grx_id objectId, grx_id* chartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_RootPlanFromVarOrBlock", [&]() -> int {
    Require(chartId, "chartId");
    GlObjectId chartId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, GlObjectId&, GlTransactionId)>(&::W5GRX_RootPlanFromVarOrBlock)(objectId, chartId_value, prevTransactionId);
    *chartId = chartId_value;
    return result ? 1 : 0;
  });
}

int grx_ActivePlanFromTitle(grx_window window, grx_id cpuId, grx_id* chartId, char** name, grx_transaction prevTransactionId) {
  return Call("W5GRX_ActivePlanFromTitle", [&]() -> int {
    Require(chartId, "chartId");
    GlObjectId chartId_value = 0;
    Require(name, "name");
    *name = nullptr;
    std::string name_value;
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, GlObjectId, GlObjectId&, std::string&, GlTransactionId)>(&::W5GRX_ActivePlanFromTitle)(window, cpuId, chartId_value, name_value, prevTransactionId);
    *chartId = chartId_value;
    *name = NewText(name_value);
    return result ? 1 : 0;
  });
}

int grx_RootPlansFromCPU(grx_id cpuId, char*** names, size_t* names_count, grx_transaction prevTransactionId) {
  return Call("W5GRX_RootPlansFromCPU", [&]() -> int {
    RequireList(names, names_count, "names");
    std::vector<std::string> names_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<std::string>&, GlTransactionId)>(&::W5GRX_RootPlansFromCPU)(cpuId, names_value, prevTransactionId);
    PutList(names_value, names, names_count);
    return result ? 1 : 0;
  });
}

int grx_RootPlanIDsFromCPU(grx_id cpuId, grx_id** ids, size_t* ids_count, grx_transaction prevTransactionId) {
  return Call("W5GRX_RootPlanIDsFromCPU", [&]() -> int {
    RequireList(ids, ids_count, "ids");
    std::vector<GlObjectId> ids_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<GlObjectId>&, GlTransactionId)>(&::W5GRX_RootPlanIDsFromCPU)(cpuId, ids_value, prevTransactionId);
    PutList(ids_value, ids, ids_count);
    return result ? 1 : 0;
  });
}

int grx_IsRootPlan(grx_id chartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_IsRootPlan", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, GlTransactionId)>(&::W5GRX_IsRootPlan)(chartId, prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_ExistPlan(grx_id objectId, const char* const* names, size_t names_count) {
  return Call("ExistPlan", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<CString>)>(&::ExistPlan)(objectId, Texts<CString>(names, names_count));
    return result ? 1 : 0;
  });
}

int grx_GetChart(const char* path, grx_id cpuId, grx_id* chartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetChart", [&]() -> int {
    Require(path, "path");
    Require(chartId, "chartId");
    GlObjectId chartId_value = *chartId;
    const auto result = static_cast<bool (*)(CString, GlObjectId, GlObjectId&, GlTransactionId)>(&::W5GRX_GetChart)(CString(path), cpuId, chartId_value, prevTransactionId);
    *chartId = chartId_value;
    return result ? 1 : 0;
  });
}

int grx_GetSubChart(grx_id chartId, const char* path, grx_id* subChartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetSubChart", [&]() -> int {
    Require(path, "path");
    Require(subChartId, "subChartId");
    GlObjectId subChartId_value = *subChartId;
    const auto result = static_cast<bool (*)(GlObjectId, CString, GlObjectId&, GlTransactionId)>(&::W5GRX_GetSubChart)(chartId, CString(path), subChartId_value, prevTransactionId);
    *subChartId = subChartId_value;
    return result ? 1 : 0;
  });
}

int grx_GetSubPlansByPlanID(grx_id chartId, grx_transaction prevTransactionId, grx_id** ids, size_t* ids_count) {
  return Call("W5GRX_GetSubPlansByPlanID", [&]() -> int {
    RequireList(ids, ids_count, "ids");
    std::vector<GlObjectId> ids_value;
    const auto result = static_cast<int (*)(GlObjectId, GlTransactionId, std::vector<GlObjectId>&)>(&::W5GRX_GetSubPlansByPlanID)(chartId, prevTransactionId, ids_value);
    PutList(ids_value, ids, ids_count);
    return result;
  });
}

int grx_CheckRootPlanName(const char* name, int32_t* position) {
  return Call("W5GRX_CheckRootPlanName", [&]() -> int {
    Require(name, "name");
    Require(position, "position");
    std::int32_t position_value = 0;
    const auto result = static_cast<Syntax_Err_TypeEnum (*)(std::string, std::int32_t&)>(&::W5GRX_CheckRootPlanName)(std::string(name), position_value);
    *position = position_value;
    return static_cast<int>(result);
  });
}

int grx_CheckSubPlanName(const char* name, int32_t* position) {
  return Call("W5GRX_CheckSubPlanName", [&]() -> int {
    Require(name, "name");
    Require(position, "position");
    std::int32_t position_value = 0;
    const auto result = static_cast<Syntax_Err_TypeEnum (*)(std::string, std::int32_t&)>(&::W5GRX_CheckSubPlanName)(std::string(name), position_value);
    *position = position_value;
    return static_cast<int>(result);
  });
}

int grx_CheckBlockName(const char* name, int32_t* position) {
  return Call("W5GRX_CheckBlockName", [&]() -> int {
    Require(name, "name");
    Require(position, "position");
    std::int32_t position_value = 0;
    const auto result = static_cast<Syntax_Err_TypeEnum (*)(std::string, std::int32_t&)>(&::W5GRX_CheckBlockName)(std::string(name), position_value);
    *position = position_value;
    return static_cast<int>(result);
  });
}

int grx_CheckVarName(const char* name, int32_t* position) {
  return Call("W5GRX_CheckVarName", [&]() -> int {
    Require(name, "name");
    Require(position, "position");
    std::int32_t position_value = 0;
    const auto result = static_cast<Syntax_Err_TypeEnum (*)(std::string, std::int32_t&)>(&::W5GRX_CheckVarName)(std::string(name), position_value);
    *position = position_value;
    return static_cast<int>(result);
  });
}

int grx_GetPlanInterface(grx_id chartId, grx_block** blocks, size_t* blocks_count, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetPlanInterface", [&]() -> int {
    GlObjectId chartId_value = chartId;
    RequireList(blocks, blocks_count, "blocks");
    std::vector<BLOCK> blocks_value;
    const auto result = static_cast<bool (*)(GlObjectId&, std::vector<BLOCK>&, GlTransactionId)>(&::W5GRX_GetPlanInterface)(chartId_value, blocks_value, prevTransactionId);
    PutList(blocks_value, blocks, blocks_count);
    return result ? 1 : 0;
  });
}

int grx_GetPlanInterfaceParam(grx_id chartId, grx_param** params, size_t* params_count) {
  return Call("W5GRX_GetPlanInterfaceParam", [&]() -> int {
    GlObjectId chartId_value = chartId;
    RequireList(params, params_count, "params");
    std::vector<PARAM> params_value;
    const auto result = static_cast<bool (*)(GlObjectId&, std::vector<PARAM>&)>(&::W5GRX_GetPlanInterfaceParam)(chartId_value, params_value);
    PutList(params_value, params, params_count);
    return result ? 1 : 0;
  });
}

int grx_GetPlanInterfaceParentidAndLoc(grx_id chartId, const char* name, grx_id* parentId, grx_id* locId) {
  return Call("W5GRX_GetPlanInterfaceParentidAndLoc", [&]() -> int {
    Require(name, "name");
    std::string name_value(name);
    Require(parentId, "parentId");
    GlObjectId parentId_value = 0;
    Require(locId, "locId");
    GlObjectId locId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, std::string&, GlObjectId&, GlObjectId&)>(&::W5GRX_GetPlanInterfaceParentidAndLoc)(chartId, name_value, parentId_value, locId_value);
    *parentId = parentId_value;
    *locId = locId_value;
    return result ? 1 : 0;
  });
}

int grx_GetTaskNamebyObjectId(grx_id taskId, grx_id objectId, char** taskName) {
  return Call("W5GRX_GetTaskNamebyObjectId", [&]() -> int {
    Require(taskName, "taskName");
    *taskName = nullptr;
    std::string taskName_value;
    const auto result = static_cast<bool (*)(GlObjectId, GlObjectId, std::string&)>(&::W5GRX_GetTaskNamebyObjectId)(taskId, objectId, taskName_value);
    *taskName = NewText(taskName_value);
    return result ? 1 : 0;
  });
}

int grx_TaskDelete(grx_id cpuId, grx_transaction prevTransactionId) {
  return Call("W5GRX_TaskDelete", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, GlTransactionId)>(&::W5GRX_TaskDelete)(cpuId, prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_TaskElementsDelete(grx_id taskId, grx_transaction prevTransactionId) {
  return Call("W5GRX_TaskElementsDelete", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, GlTransactionId)>(&::W5GRX_TaskElementsDelete)(taskId, prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_ProcessingGroupDeleteEmpty(grx_id taskId, const char* const* names, size_t names_count, grx_transaction prevTransactionId) {
  return Call("W5GRX_ProcessingGroupDeleteEmpty", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<CString>, GlTransactionId)>(&::W5GRX_ProcessingGroupDeleteEmpty)(taskId, Texts<CString>(names, names_count), prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_GetTaskId(grx_id cpuId, const char* const* names, size_t names_count) {
  return Call("W5GRX_GetTaskId", [&]() -> int {
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<CString>)>(&::W5GRX_GetTaskId)(cpuId, Texts<CString>(names, names_count));
    return result ? 1 : 0;
  });
}

int grx_FindGlobalVar(grx_id resourceId, const char* name, char** text, grx_id* globalVarId, grx_transaction prevTransactionId) {
  return Call("FindGlobalVar", [&]() -> int {
    Require(name, "name");
    Require(text, "text");
    *text = nullptr;
    CString text_value;
    Require(globalVarId, "globalVarId");
    GlObjectId globalVarId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, CString, CString&, GlObjectId&, GlTransactionId)>(&::FindGlobalVar)(resourceId, CString(name), text_value, globalVarId_value, prevTransactionId);
    *text = NewText(text_value);
    *globalVarId = globalVarId_value;
    return result ? 1 : 0;
  });
}

int grx_FindGlobal(grx_id resourceId, const char* name, char** text, grx_id* globalVarId, grx_transaction prevTransactionId) {
  return Call("FindGlobal", [&]() -> int {
    Require(name, "name");
    Require(text, "text");
    *text = nullptr;
    CString text_value;
    Require(globalVarId, "globalVarId");
    GlObjectId globalVarId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, CString, CString&, GlObjectId&, GlTransactionId)>(&::FindGlobal)(resourceId, CString(name), text_value, globalVarId_value, prevTransactionId);
    *text = NewText(text_value);
    *globalVarId = globalVarId_value;
    return result ? 1 : 0;
  });
}

int grx_FindGlobalVar_2(grx_id resourceId, const char* pattern, uint16_t flags, grx_find** results, size_t* results_count, grx_transaction prevTransactionId) {
  return Call("FindGlobalVar", [&]() -> int {
    Require(pattern, "pattern");
    RequireList(results, results_count, "results");
    std::vector<FIND> results_value;
    const auto result = static_cast<bool (*)(GlObjectId, CString, std::uint16_t, std::vector<FIND>&, GlTransactionId)>(&::FindGlobalVar)(resourceId, CString(pattern), flags, results_value, prevTransactionId);
    PutList(results_value, results, results_count);
    return result ? 1 : 0;
  });
}

int grx_FindSinksOrSources(grx_id varId, const char* varName, const char* location, char** location_out, grx_id* rootChartId, char** rootChartName) {
  return Call("W5GRX_FindSinksOrSources", [&]() -> int {
    Require(varName, "varName");
    Require(location_out, "location_out");
    *location_out = nullptr;
    std::string location_value(location ? location : "");
    Require(rootChartId, "rootChartId");
    GlObjectId rootChartId_value = 0;
    Require(rootChartName, "rootChartName");
    *rootChartName = nullptr;
    std::string rootChartName_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::string, std::string&, GlObjectId&, std::string&)>(&::W5GRX_FindSinksOrSources)(varId, std::string(varName), location_value, rootChartId_value, rootChartName_value);
    *location_out = NewText(location_value);
    *rootChartId = rootChartId_value;
    *rootChartName = NewText(rootChartName_value);
    return result ? 1 : 0;
  });
}

int grx_Sort(const grx_find* results, size_t results_count, grx_find** results_out, size_t* results_out_count) {
  return Call("W5GRX_Sort", [&]() -> int {
    RequireList(results_out, results_out_count, "results_out");
    auto results_value = Finds(results, results_count);
    const auto result = static_cast<bool (*)(std::vector<FIND>&)>(&::W5GRX_Sort)(results_value);
    PutList(results_value, results_out, results_out_count);
    return result ? 1 : 0;
  });
}

int grx_ReplaceGlobVar(grx_id resourceId, const char* oldName, const char* newName, grx_transaction prevTransactionId) {
  return Call("W5GRX_ReplaceGlobVar", [&]() -> int {
    Require(oldName, "oldName");
    Require(newName, "newName");
    const auto result = static_cast<bool (*)(GlObjectId, CString, CString, GlTransactionId)>(&::W5GRX_ReplaceGlobVar)(resourceId, CString(oldName), CString(newName), prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_ReplaceGlobalVar(const char* newPart, const char* oldPart, int direction, grx_id connectedVarId, grx_id resourceId, grx_id oldGlobalVarId) {
  return Call("W5GRX_ReplaceGlobalVar", [&]() -> int {
    Require(newPart, "newPart");
    Require(oldPart, "oldPart");
    const auto result = static_cast<bool (*)(CString, CString, int, GlObjectId, GlObjectId, GlObjectId)>(&::W5GRX_ReplaceGlobalVar)(CString(newPart), CString(oldPart), direction, connectedVarId, resourceId, oldGlobalVarId);
    return result ? 1 : 0;
  });
}

int grx_SearchMoveBlocks(grx_id chartId, grx_move_block** blocks, size_t* blocks_count, grx_transaction prevTransactionId) {
  return Call("W5GRX_SearchMoveBlocks", [&]() -> int {
    RequireList(blocks, blocks_count, "blocks");
    std::vector<MoveBlockInfoT> blocks_value;
    const auto result = static_cast<bool (*)(GlObjectId, std::vector<MoveBlockInfoT>&, GlTransactionId)>(&::W5GRX_SearchMoveBlocks)(chartId, blocks_value, prevTransactionId);
    PutList(blocks_value, blocks, blocks_count);
    return result ? 1 : 0;
  });
}

int grx_SortBlock(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count) {
  return Call("W5GRX_SortBlock", [&]() -> int {
    RequireList(blocks_out, blocks_out_count, "blocks_out");
    auto blocks_value = MoveBlocks(blocks, blocks_count);
    const auto result = static_cast<bool (*)(std::vector<MoveBlockInfoT>&)>(&::W5GRX_SortBlock)(blocks_value);
    PutList(blocks_value, blocks_out, blocks_out_count);
    return result ? 1 : 0;
  });
}

int grx_SortGrPos(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count) {
  return Call("W5GRX_SortGrPos", [&]() -> int {
    RequireList(blocks_out, blocks_out_count, "blocks_out");
    auto blocks_value = MoveBlocks(blocks, blocks_count);
    const auto result = static_cast<bool (*)(std::vector<MoveBlockInfoT>&)>(&::W5GRX_SortGrPos)(blocks_value);
    PutList(blocks_value, blocks_out, blocks_out_count);
    return result ? 1 : 0;
  });
}

int grx_SortTpName(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count) {
  return Call("W5GRX_SortTpName", [&]() -> int {
    RequireList(blocks_out, blocks_out_count, "blocks_out");
    auto blocks_value = MoveBlocks(blocks, blocks_count);
    const auto result = static_cast<bool (*)(std::vector<MoveBlockInfoT>&)>(&::W5GRX_SortTpName)(blocks_value);
    PutList(blocks_value, blocks_out, blocks_out_count);
    return result ? 1 : 0;
  });
}

int grx_MoveBlocks(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count, grx_id destGroupId, grx_transaction prevTransactionId) {
  return Call("W5GRX_MoveBlocks", [&]() -> int {
    RequireList(blocks_out, blocks_out_count, "blocks_out");
    auto blocks_value = MoveBlocks(blocks, blocks_count);
    const auto result = static_cast<bool (*)(std::vector<MoveBlockInfoT>&, GlObjectId, GlTransactionId)>(&::W5GRX_MoveBlocks)(blocks_value, destGroupId, prevTransactionId);
    PutList(blocks_value, blocks_out, blocks_out_count);
    return result ? 1 : 0;
  });
}

int grx_GetLastBlockPos(grx_id groupId, grx_id* lastBlockId, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetLastBlockPos", [&]() -> int {
    Require(lastBlockId, "lastBlockId");
    GlObjectId lastBlockId_value = *lastBlockId;
    const auto result = static_cast<bool (*)(GlObjectId, GlObjectId&, GlTransactionId)>(&::W5GRX_GetLastBlockPos)(groupId, lastBlockId_value, prevTransactionId);
    *lastBlockId = lastBlockId_value;
    return result ? 1 : 0;
  });
}

int grx_GetGroupPos(const grx_move_block* blocks, size_t blocks_count, grx_move_block** blocks_out, size_t* blocks_out_count, grx_id destGroupId, grx_transaction prevTransactionId) {
  return Call("W5GRX_GetGroupPos", [&]() -> int {
    RequireList(blocks_out, blocks_out_count, "blocks_out");
    auto blocks_value = MoveBlocks(blocks, blocks_count);
    const auto result = static_cast<bool (*)(std::vector<MoveBlockInfoT>&, GlObjectId, GlTransactionId)>(&::W5GRX_GetGroupPos)(blocks_value, destGroupId, prevTransactionId);
    PutList(blocks_value, blocks_out, blocks_out_count);
    return result ? 1 : 0;
  });
}

int grx_DoCfcMsgBox(grx_window window, uint32_t messageId, uint32_t style, uint32_t buttons) {
  return Call("DoCfcMsgBox", [&]() -> int {
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, std::uint32_t, std::uint32_t, std::uint32_t)>(&::DoCfcMsgBox)(window, messageId, style, buttons);
    return result;
  });
}

int grx_DoCfcMsgBox_2(grx_window window, uint32_t title, const char* text, uint32_t style, uint32_t buttons) {
  return Call("DoCfcMsgBox", [&]() -> int {
    Require(text, "text");
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, std::uint32_t, CString, std::uint32_t, std::uint32_t)>(&::DoCfcMsgBox)(window, title, CString(text), style, buttons);
    return result;
  });
}

int grx_DoCfcMsgBox_3(grx_window window, uint32_t title, const char* text, const char* text2, uint32_t style, uint32_t buttons) {
  return Call("DoCfcMsgBox", [&]() -> int {
    Require(text, "text");
    Require(text2, "text2");
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, std::uint32_t, CString, CString, std::uint32_t, std::uint32_t)>(&::DoCfcMsgBox)(window, title, CString(text), CString(text2), style, buttons);
    return result;
  });
}

int grx_DoCfcMsgBox_4(grx_window window, uint32_t messageId, const char* const* args, size_t args_count, uint32_t style, uint32_t buttons) {
  return Call("DoCfcMsgBox", [&]() -> int {
    const auto args_value = Texts<std::string>(args, args_count);
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, std::uint32_t, const std::vector<std::string>&, std::uint32_t, std::uint32_t)>(&::DoCfcMsgBox)(window, messageId, args_value, style, buttons);
    return result;
  });
}

int grx_SetGRXVersion(grx_window window, grx_id resourceId, grx_id chartId, grx_transaction prevTransactionId) {
  return Call("W5GRX_SetGRXVersion", [&]() -> int {
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, GlObjectId, GlObjectId, GlTransactionId)>(&::W5GRX_SetGRXVersion)(window, resourceId, chartId, prevTransactionId);
    return result ? 1 : 0;
  });
}

int grx_CheckGRXVersion(grx_window window, grx_id resourceId, grx_id chartId, int* foreignStamp, int showMessage, grx_transaction prevTransactionId) {
  return Call("W5GRX_CheckGRXVersion", [&]() -> int {
    Require(foreignStamp, "foreignStamp");
    bool foreignStamp_value = false;
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, GlObjectId, GlObjectId, bool&, bool, GlTransactionId)>(&::W5GRX_CheckGRXVersion)(window, resourceId, chartId, foreignStamp_value, showMessage != 0, prevTransactionId);
    *foreignStamp = foreignStamp_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_CheckDataVersion(grx_id objectId, grx_transaction prevTransactionId, int update, char** text) {
  return Call("W5GRX_CheckDataVersion", [&]() -> int {
    Require(text, "text");
    *text = nullptr;
    CString text_value;
    const auto result = static_cast<bool (*)(GlObjectId, GlTransactionId, bool, CString*)>(&::W5GRX_CheckDataVersion)(objectId, prevTransactionId, update != 0, &text_value);
    *text = NewText(text_value);
    return result ? 1 : 0;
  });
}

int grx_GetVersionCFC(char** version) {
  return Call("W5GRX_GetVersionCFC", [&]() -> int {
    Require(version, "version");
    *version = nullptr;
    CString version_value;
    const auto result = static_cast<bool (*)(CString&)>(&::W5GRX_GetVersionCFC)(version_value);
    *version = NewText(version_value);
    return result ? 1 : 0;
  });
}

int grx_CheckVersionCFC_V70(int* tooOld) {
  return Call("W5GRX_CheckVersionCFC_V70", [&]() -> int {
    Require(tooOld, "tooOld");
    bool tooOld_value = false;
    const auto result = static_cast<bool (*)(bool&)>(&::W5GRX_CheckVersionCFC_V70)(tooOld_value);
    *tooOld = tooOld_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_IsCfcEditorInstalled(void) {
  return Call("W5GRX_IsCfcEditorInstalled", [&]() -> int {
    const auto result = static_cast<bool (*)()>(&::W5GRX_IsCfcEditorInstalled)();
    return result ? 1 : 0;
  });
}

int grx_CheckResource(grx_window window, grx_id resourceId, int* servedKind, int showMessage, grx_transaction prevTransactionId) {
  return Call("W5GRX_CheckResource", [&]() -> int {
    Require(servedKind, "servedKind");
    bool servedKind_value = false;
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, GlObjectId, bool&, bool, GlTransactionId)>(&::W5GRX_CheckResource)(window, resourceId, servedKind_value, showMessage != 0, prevTransactionId);
    *servedKind = servedKind_value ? 1 : 0;
    return result ? 1 : 0;
  });
}

int grx_SetHelpFileName(const char* base, char** path) {
  return Call("W5GRX_SetHelpFileName", [&]() -> int {
    Require(base, "base");
    Require(path, "path");
    *path = nullptr;
    AllocatedText path_value;
    const auto result = static_cast<int (*)(const char*, char**)>(&::W5GRX_SetHelpFileName)(base, path_value.Receive());
    *path = NewText(path_value.Text());
    return result;
  });
}

int grx_ShowHelp(grx_window window, const char* base, uint32_t data, uint32_t command) {
  return Call("W5GRX_ShowHelp", [&]() -> int {
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, const char*, std::uint32_t, std::uint32_t)>(&::W5GRX_ShowHelp)(window, base, data, command);
    return result;
  });
}

int grx_ShowFBHelp(grx_window window, grx_id typeId, grx_id objectId) {
  return Call("W5GRX_ShowFBHelp", [&]() -> int {
    const auto result = static_cast<int (*)(grx::platform::WindowHandle, GlObjectId, GlObjectId)>(&::W5GRX_ShowFBHelp)(window, typeId, objectId);
    return result;
  });
}

int grx_GetTime(char** time, char** answer) {
  return Call("W5GRX_GetTime", [&]() -> int {
    Require(answer, "answer");
    *answer = nullptr;
    Require(time, "time");
    *time = nullptr;
    CString time_value;
    const auto result = static_cast<CString (*)(CString&)>(&::W5GRX_GetTime)(time_value);
    *time = NewText(time_value);
    return (*answer = NewText(result), 1);
  });
}

int grx_LogSummary(void* log, void* module, const char* first, const char* second) {
  return Call("W5GRX_LogSummary", [&]() -> int {
    const auto result = static_cast<bool (*)(w5comp::ILogView*, void*, const char*, const char*)>(&::W5GRX_LogSummary)(static_cast<w5comp::ILogView*>(log), module, first, second);
    return result ? 1 : 0;
  });
}

int grx_AskShowProt(grx_window window, void* log, int ask, void* module, uint32_t titleId, uint32_t value) {
  return Call("W5GRX_AskShowProt", [&]() -> int {
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, w5comp::ILogView*, bool, void*, std::uint32_t, std::uint32_t)>(&::W5GRX_AskShowProt)(window, static_cast<w5comp::ILogView*>(log), ask != 0, module, titleId, value);
    return result ? 1 : 0;
  });
}

int grx_GetErrorLocation(grx_id objectId, const char* location, grx_id* firstId, grx_id* secondId) {
  return Call("W5GRX_GetErrorLocation", [&]() -> int {
    Require(location, "location");
    Require(firstId, "firstId");
    GlObjectId firstId_value = 0;
    Require(secondId, "secondId");
    GlObjectId secondId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, const CString&, GlObjectId&, GlObjectId&)>(&::W5GRX_GetErrorLocation)(objectId, CString(location), firstId_value, secondId_value);
    *firstId = firstId_value;
    *secondId = secondId_value;
    return result ? 1 : 0;
  });
}

int grx_GetError(grx_id chartId, const char* blockName, const char* paramName, grx_id* blockId, grx_id* paramId) {
  return Call("W5GRX_GetError", [&]() -> int {
    Require(blockName, "blockName");
    Require(blockId, "blockId");
    GlObjectId blockId_value = 0;
    Require(paramId, "paramId");
    GlObjectId paramId_value = 0;
    const auto result = static_cast<bool (*)(GlObjectId, CString, CString, GlObjectId&, GlObjectId&)>(&::W5GRX_GetError)(chartId, CString(blockName), CString(paramName), blockId_value, paramId_value);
    *blockId = blockId_value;
    *paramId = paramId_value;
    return result ? 1 : 0;
  });
}

int grx_ASTaskImport(grx_window window, grx_id resourceId, int unused, grx_transaction prevTransactionId) {
  return Call("W5GRX_ASTaskImport", [&]() -> int {
    const auto result = static_cast<RESPONSE (*)(grx::platform::WindowHandle, GlObjectId, bool, GlTransactionId)>(&::W5GRX_ASTaskImport)(window, resourceId, unused != 0, prevTransactionId);
    return static_cast<int>(result);
  });
}

int grx_ASBlockTypeImport(grx_window window, grx_id resourceId, int quiet, int* started, grx_transaction prevTransactionId) {
  return Call("W5GRX_ASBlockTypeImport", [&]() -> int {
    Require(started, "started");
    int started_value = 0;
    const auto result = static_cast<RESPONSE (*)(grx::platform::WindowHandle, GlObjectId, bool, int*, GlTransactionId)>(&::W5GRX_ASBlockTypeImport)(window, resourceId, quiet != 0, &started_value, prevTransactionId);
    *started = started_value;
    return static_cast<int>(result);
  });
}

int grx_CopyBlockTypeImport(grx_window window, grx_id unused, grx_id targetId, grx_id sourceId, grx_transaction prevTransactionId) {
  return Call("W5GRX_CopyBlockTypeImport", [&]() -> int {
    const auto result = static_cast<bool (*)(grx::platform::WindowHandle, GlObjectId, GlObjectId, GlObjectId, GlTransactionId)>(&::W5GRX_CopyBlockTypeImport)(window, unused, targetId, sourceId, prevTransactionId);
    return result ? 1 : 0;
  });
}

} // extern "C"

// The variable queries of the host: the block parameter behind a chain of chart interface
// variables, a variable's type and display name, global variables, process-image addresses and
// whether a source may feed a sink.
#include <cstring>
#include <set>

#include "app/export_bodies.h"
#include "blob/blob_block_type.h"
#include "blob/blob_var_type.h"
#include "dbaccess/chartdb_functions.h"
#include "dbaccess/listing.h"
#include "foundation/exceptions.h"
#include "foundation/object_trace.h"
#include "opendata/iec_block_base.h"
#include "opendata/iec_cfc_var.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_var.h"

namespace grx::body {
namespace {

constexpr GlObjectType kPresetForType = 46;

bool ObjectType(GlObjectId id, GlObjectType& type, GlTransactionId tr) {
  type = kPresetForType;
  return gl_ErrorIdGet(iec_ObjectTypeGet(id, type, tr)) == 0;
}

bool IsBlockParameter(GlObjectType type) {
  return type == IEC_OBJ_IN_VAR || type == IEC_OBJ_OUT_VAR || type == IEC_OBJ_IN_OUT_VAR;
}

bool IsVariable(GlObjectType type) {
  return type == IEC_OBJ_IN_VAR || type == IEC_OBJ_OUT_VAR || type == IEC_OBJ_CFC_IN_VAR || type == IEC_OBJ_CFC_OUT_VAR;
}

// The first partner of a variable: its first sink or its first source. nullopt: the listing failed.
std::optional<GlObjectId> FirstPartner(GlObjectId id, bool sources, GlTransactionId tr, bool& none) {
  GlObjectId partner = 0;
  GlObjectType type = grx::dbaccess::kPresetElementType;
  GlBool isConnection = 0;
  Iec_Connection connection{};
  const GlResult result = sources ? iec_SourcesGet(M_FIRST, id, partner, type, isConnection, connection, tr)
                                  : iec_SinksGet(M_FIRST, id, partner, type, isConnection, connection, tr);
  const std::uint32_t errorId = gl_ErrorIdGet(result);
  none = errorId == GL_ERR_NO_MORE_ELEMENTS;
  if (errorId != 0 && errorId != GL_ERR_LAST_ELEMENT && !none) return std::nullopt;
  return partner;
}

} // namespace

// A chain of chart interface connections that comes back to a variable seen before ends the
// walk with false: the chain leads to no block parameter.
bool W5GRX_FindConnectedVar(GlObjectId varId, GlObjectId& foundId, bool& isBlockParam,
                            GlTransactionId prevTransactionId) {
  foundId = 0;
  isBlockParam = false;
  bool sources = false;
  std::set<GlObjectId> seen;
  for (GlObjectId current = varId;;) {
    if (!seen.insert(current).second) return false;
    GlObjectType type = 0;
    if (!ObjectType(current, type, prevTransactionId)) return false;
    if (IsBlockParameter(type)) {
      isBlockParam = true;
      foundId = current;
      return true;
    }
    if (type == IEC_OBJ_CFC_OUT_VAR) {
      sources = true;
    } else if (type != IEC_OBJ_CFC_IN_VAR && type != IEC_OBJ_CFC_IN_OUT_VAR) {
      return false;
    }
    bool none = false;
    const auto partner = FirstPartner(current, sources, prevTransactionId, none);
    if (!partner) return false;
    if (none) {
      foundId = current;
      return true;
    }
    current = *partner;
  }
}

bool W5GRX_TypeNameFromVarId(GlObjectId objectId, GlDataType& iecType, std::string& typeName, bool& flag,
                             GlTransactionId tr) {
  flag = false;
  iecType = IEC_NDEF;
  GlObjectId id = objectId;
  GlObjectId connected = 0;
  bool isBlockParam = false;
  if (body::W5GRX_FindConnectedVar(objectId, connected, isBlockParam, tr)) id = connected;
  GlObjectType type = 0;
  if (!ObjectType(id, type, tr)) return false;
  if (type == IEC_OBJ_PROCESSING_GROUP || IsBlockParameter(type)) {
    GlObjectId typeId = 0;
    if (gl_ErrorIdGet(iec_VarTypeGet(id, typeId, tr)) != 0) return false;
    if (!ObjectType(typeId, type, tr)) return false;
    id = typeId;
  } else if (type != IEC_OBJ_CFC_IN_VAR && type != IEC_OBJ_CFC_OUT_VAR && type != IEC_OBJ_CFC_IN_OUT_VAR) {
    return false;
  }
  switch (type) {
    case IEC_OBJ_IN_VAR_TYPE: {
      Iec_InVarType record{};
      if (gl_ErrorIdGet(iec_InVarTypeRead(id, record, tr)) != 0) return false;
      iecType = record.dataType;
      break;
    }
    case IEC_OBJ_OUT_VAR_TYPE: {
      Iec_OutVarType record{};
      if (gl_ErrorIdGet(iec_OutVarTypeRead(id, record, tr)) != 0) return false;
      iecType = record.dataType;
      break;
    }
    case IEC_OBJ_CFC_IN_VAR: {
      Iec_CfcInVar record{};
      if (gl_ErrorIdGet(iec_CfcInVarRead(id, record, tr)) != 0) return false;
      iecType = record.dataType;
      return true;
    }
    case IEC_OBJ_CFC_OUT_VAR: {
      Iec_CfcOutVar record{};
      if (gl_ErrorIdGet(iec_CfcOutVarRead(id, record, tr)) != 0) return false;
      iecType = record.dataType;
      return true;
    }
    default:
      return false;
  }
  typeName.clear();
  typeName = CBlobVarType(id, tr).GetTypeName();
  return !typeName.empty();
}

bool W5GRX_IsProzessAbbild(std::string text, std::string& address, std::uint32_t& esType, GlDataType& iecType,
                           std::string& typeName, bool& isInput) {
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  std::size_t at = 0;
  while (at < text.size() && isBlank(text[at])) ++at;
  const std::size_t start = at;
  if (at >= text.size() || text[at] != '%') return false;
  ++at;
  if (at >= text.size()) return false;
  const char area = text[at];
  if (area == 'I' || area == 'i') {
    isInput = true;
  } else if (area == 'Q' || area == 'q') {
    isInput = false;
  } else {
    return false;
  }
  ++at;
  auto number = [&] {
    if (at >= text.size() || !isDigit(text[at])) return false;
    while (at < text.size() && isDigit(text[at])) ++at;
    return true;
  };
  if (at < text.size() && isDigit(text[at])) {
    if (!number() || at >= text.size() || text[at] != '.') return false;
    ++at;
    if (!number()) return false;
    esType = 1;
    iecType = IEC_BOOL;
    typeName = "BOOL";
  } else {
    if (at >= text.size()) return false;
    switch (text[at]) {
      case 'B':
      case 'b':
        esType = 2, iecType = IEC_BYTE, typeName = "BYTE";
        break;
      case 'W':
      case 'w':
        esType = 3, iecType = IEC_WORD, typeName = "WORD";
        break;
      case 'D':
      case 'd':
        esType = 4, iecType = IEC_DWORD, typeName = "DWORD";
        break;
      default:
        return false;
    }
    ++at;
    if (!number()) return false;
  }
  const std::size_t end = at;
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at != text.size() || end - start >= 64) return false;
  address = text.substr(start, end - start);
  address[1] = isInput ? 'I' : 'Q';
  if (iecType != IEC_BOOL) address[2] = typeName[0];
  return true;
}

bool W5GRX_NameFromVarId(GlObjectId objectId, std::string& name, GlTransactionId tr) {
  name.clear();
  OpenData::CIecObjManager* manager = OpenData::CIecObjManager::GetInstance();
  // The manager's transaction is the caller's again on every way out, exceptions of any kind included.
  const OpenData::TransactionScope transaction(*manager, tr);
  try {
    OpenData::CIecObject* object = manager->FindIecObject(OpenData::CIecObjId(objectId));
    if (!object) throw ZEB::CIllegalStateException("FindIecObject failed", "HelpFunc", __LINE__);
    OpenData::CIecBlockBase* owner = nullptr;
    if (auto* var = dynamic_cast<OpenData::CIecVar*>(object)) owner = var->GetBlock();
    if (auto* var = dynamic_cast<OpenData::CIecCfcVar*>(object)) owner = var->GetBlock();
    if (owner) name = owner->GetName() + ":";
    name += object->GetName();
    return true;
  } catch (const ZEB::CException& e) {
    try {
      ZEB::CObject::TraceException(e, 4);
    } catch (...) {
    }
    name.clear();
    return false;
  }
}

bool W5GRX_IsFunctionBlockType(GlObjectId varId, GlTransactionId tr) {
  try {
    GlObjectId block = 0;
    if (gl_ErrorIdGet(iec_VarBlockGet(varId, block, tr)) != 0) return false;
    GlObjectType type = 0;
    if (!ObjectType(block, type, tr) || type != IEC_OBJ_FUNCTION_BLOCK) return false;
    GlObjectId blockType = 0;
    if (gl_ErrorIdGet(iec_BlockTypeGet(block, blockType, tr)) != 0) return false;
    const std::int32_t category = CBlobBlockType(blockType, tr).GetBlockCat();
    return category == BLKCAT_LIB || category == BLKCAT_PRG || category == BLKCAT_BUILD_IN_FB;
  } catch (const ZEB::CException&) {
    return false;
  }
}

bool W5GRX_GetGlobalVarFromVarId(GlObjectId globalVarId, std::string& name, std::string& text, GlTransactionId tr) {
  Iec_GlobalVar record{};
  if (gl_ErrorIdGet(iec_GlobalVarRead(globalVarId, record, tr)) != 0) return false;
  name.assign(record.name, strnlen(record.name, sizeof record.name));
  text.assign(record.text, strnlen(record.text, sizeof record.text));
  return true;
}

bool W5GRX_IsCompatible(std::int32_t, std::int32_t, std::int32_t, std::int32_t, GlObjectId source, GlObjectId sink,
                        std::uint16_t& code, std::int32_t& message, GlTransactionId tr) {
  code = 1;
  message = 0;
  GlObjectType sinkType = 0, sourceType = 0;
  if (!ObjectType(sink, sinkType, tr) || !ObjectType(source, sourceType, tr)) return false;
  auto dataTypeOf = [&](GlObjectId id) {
    GlDataType type = IEC_NDEF;
    std::string name;
    bool flag = false;
    // The data type is set before the type name is read; a failing type-name step leaves it, as
    // the export would answer it to a host.
    try {
      body::W5GRX_TypeNameFromVarId(id, type, name, flag, tr);
    } catch (...) {
    }
    return type;
  };
  GlDataType sinkData = IEC_NDEF;
  if (sinkType == IEC_OBJ_PROCESSING_GROUP) {
    sinkData = IEC_BOOL;
  } else if (IsVariable(sinkType)) {
    sinkData = dataTypeOf(sink);
  } else {
    return false;
  }
  if (!IsVariable(sourceType)) return false;
  const GlDataType sourceData = dataTypeOf(source);
  if (sinkData == IEC_NDEF || sourceData == IEC_NDEF) return false;
  if (sinkType == IEC_OBJ_PROCESSING_GROUP) {
    code = sourceData == IEC_BOOL ? 0 : 4;
  } else {
    code = body::W5GRX_CanCast(&sourceData, &sinkData) ? 0 : 1;
  }
  return code == 0;
}

} // namespace grx::body

// Object-level API functions: results, names, comments, properties, time stamps, identities,
// paths, versions and the controller of an object.
#include <cstdio>
#include <cstdlib>

#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"
#include "platform/export_macros.h"

using namespace q3;

namespace {

constexpr std::size_t kPathBufferSize = 257;
constexpr TypeMask kResource = MaskOf({IEC_OBJ_RESOURCE});

std::size_t CommentLimit(GlObjectType type) {
  switch (type) {
    case IEC_OBJ_PROCESSING_GROUP:
      return sizeof(Iec_ProcessingGroup::comment) - 1;
    case IEC_OBJ_TASK:
      return sizeof(Iec_Task::description) - 1;
    default:
      return kGlTextSize - 1;
  }
}

} // namespace

Q3_EXPORT std::uint32_t gl_ErrorIdGet(GlResult result) {
  return ErrorIdOf(result);
}

Q3_EXPORT std::uint32_t gl_ErrorClassGet(GlResult result) {
  return static_cast<std::uint32_t>(result & 0xFF0000);
}

// The chart database's own error handler: a host shows the failure to the user; the stand-in
// counts it and, when Q3JDBMOX_ERROR_LOG names a file, appends a line to it.
Q3_EXPORT std::int32_t gl_ErrorHandler(GlResult result) {
  Runtime& rt = Runtime::Instance();
  std::lock_guard lock(rt.mutex());
  rt.CountCall("gl_ErrorHandler");
  rt.NoteErrorHandler(ErrorIdOf(result));
  if (const char* log = std::getenv("Q3JDBMOX_ERROR_LOG"); log && *log) {
    if (FILE* f = std::fopen(log, "a")) {
      std::fprintf(f, "chart database error 0x%05X (detail %u, origin 0x%06X)\n", ErrorIdOf(result),
                   static_cast<unsigned>((result >> 24) & 0xFFF), static_cast<unsigned>(result >> 40));
      std::fclose(f);
    }
  }
  return 1;
}

Q3_EXPORT GlResult gl_ObjectNameGet(GlObjectId objectId, char* name, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    RequireBuffer(name);
    CopyText(name, kGlNameSize, store.Get(objectId).name);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectCommentGet(GlObjectId objectId, char* comment, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    RequireBuffer(comment);
    CopyText(comment, kGlTextSize, store.Get(objectId).comment);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectCommentSet(GlObjectId objectId, const char* comment, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    ObjectRow row = store.Get(objectId);
    const std::string text = InputText(comment, CommentLimit(row.type) + 1);
    store.CheckDataVersion(row);
    row.comment = text;
    store.Update(row);
    store.Touch(objectId, false);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectPropertiesGet(GlObjectId objectId, GlProperties& properties, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.Get(objectId);
    GlProperties p{};
    CopyText(p.name, row.name);
    CopyText(p.author, store.Meta("author"));
    CopyText(p.comment, row.comment);
    p.objectType = row.type;
    p.created = ToIecTime(row.created);
    p.modified = ToIecTime(row.modified);
    if (row.cpu != 0) {
      if (auto cpu = store.Find(row.cpu)) CopyText(p.family, cpu->text2);
    }
    properties = p;
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TimeStampGet(GlObjectId objectId, IEC_DateAndTime& timeStamp, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    timeStamp = ToIecTime(store.Get(objectId).modified);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TimeStampAlterationGet(GlObjectId cpuId, IEC_DateAndTime& timeStamp, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(cpuId, kResource);
    timeStamp = ToIecTime(row.altered != 0 ? row.altered : row.created);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TimeStampAsStructureAlterationGet(GlObjectId cpuId, IEC_DateAndTime& timeStamp,
                                                        GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.GetOfType(cpuId, kResource);
    timeStamp = ToIecTime(row.structAltered != 0 ? row.structAltered : row.created);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TimestampSYStoIEC(GlSystemTime systemTime, IEC_DateAndTime& iecTime) {
  return RunPlainCall(__func__, [&] {
    const auto ms = FromSystemTime(systemTime);
    const IEC_DateAndTime t = ms ? ToIecTime(*ms) : IEC_DateAndTime{};
    if (!ms || FromIecTime(t) != *ms) {
      throw ApiError(kErrInvalidArgument, "system time outside the range of the IEC time stamp");
    }
    iecTime = t;
    return 0u;
  });
}

Q3_EXPORT GlResult gl_TimestampIECtoSYS(IEC_DateAndTime iecTime, GlSystemTime& systemTime) {
  return RunPlainCall(__func__, [&] {
    if (iecTime.msOfDay >= 86'400'000u) {
      throw ApiError(kErrInvalidArgument, "milliseconds beyond the end of the day");
    }
    systemTime = ToSystemTime(FromIecTime(iecTime));
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectIdToSurrogate(GlObjectId objectId, std::uint64_t& surrogate, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    surrogate = store.Get(objectId).surrogate;
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ObjectId_2_OD(GlObjectId objectId, GlObjectDescriptor& od, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.Get(objectId);
    GlObjectDescriptor d{};
    d.word[0] = static_cast<std::uint32_t>(row.id & 0x0FFFFFFF);
    d.word[1] = static_cast<std::uint32_t>(CategoryOf(row.type));
    d.word[2] = store.ControllerNumber(row.cpu);
    d.word[3] = row.cpu != 0 ? 1 : 0;
    if (row.cpu != 0) {
      if (auto cpu = store.Find(row.cpu)) d.word[4] = static_cast<std::uint32_t>(cpu->num1);
    }
    d.word[5] = row.cpu != 0 ? 2 : 0;
    od = d;
    return 0u;
  });
}

// The logical path names the object's place in the technological hierarchy: its controller and
// the charts (or task) above it, joined by the separator; the full form starts with the project.
Q3_EXPORT GlResult gl_LogicalPathGetV6_0(GlObjectId objectId, char* projectName, char* logicalPath, char* objectName,
                                         char* separator, GlBool useFullTHPath, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    RequireBuffer(projectName);
    RequireBuffer(logicalPath);
    RequireBuffer(objectName);
    RequireBuffer(separator);
    const char sep = separator[0] != '\0' ? separator[0] : '.';
    const ObjectRow row = store.Get(objectId);
    std::string path;
    for (GlObjectId up = row.parent; up != 0;) {
      const ObjectRow above = store.Get(up);
      path = path.empty() ? above.name : above.name + sep + path;
      up = above.parent;
    }
    const std::string project = store.Meta("project_name");
    if (useFullTHPath && !project.empty()) {
      path = path.empty() ? project : project + sep + path;
    }
    if (path.size() >= kPathBufferSize) {
      throw ApiError(kErrTextTooLong, "logical path longer than 256 characters");
    }
    CopyText(projectName, kPathBufferSize, project);
    CopyText(logicalPath, kPathBufferSize, path);
    CopyText(objectName, kGlNameSize, row.name);
    separator[0] = sep;
    separator[1] = '\0';
    return 0u;
  });
}

Q3_EXPORT GlResult gl_ProjectPathGet(GlObjectId objectId, char* projectPath, char* projectFile, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    RequireBuffer(projectPath);
    RequireBuffer(projectFile);
    store.Get(objectId);
    CopyText(projectPath, kPathBufferSize, store.Meta("project_path"));
    CopyText(projectFile, kPathBufferSize, store.Meta("project_file"));
    return 0u;
  });
}

Q3_EXPORT GlResult gl_SoftwareVersionGet(char* softwareVersion) {
  return RunPlainCall(__func__, [&] {
    RequireBuffer(softwareVersion);
    CopyText(softwareVersion, kGlVersionSize, Runtime::Instance().SoftwareVersion());
    return 0u;
  });
}

Q3_EXPORT GlResult gl_DataVersionGet(GlObjectId objectId, char* databaseVersion, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    RequireBuffer(databaseVersion);
    CopyText(databaseVersion, kGlVersionSize, store.Get(objectId).dataVersion);
    return 0u;
  });
}

GRX_SYMBOL_EXPORT GlResult gl_CpuIdGet(GlObjectId objectId, GlObjectId& cpuId, OutCpu& outCpu, GlTransactionId tr) {
  return RunApiCall("gl_CpuIdGet", tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow row = store.Get(objectId);
    if (row.cpu == 0) {
      throw ApiError(kErrWrongObjectType, "object belongs to no controller");
    }
    const ObjectRow cpu = store.Get(row.cpu);
    OutCpu out{};
    CopyText(out.name, cpu.name);
    out.family = static_cast<std::uint32_t>(cpu.num1);
    out.number = static_cast<std::uint32_t>(cpu.num2);
    CopyText(out.typeName, cpu.text2);
    outCpu = out;
    cpuId = cpu.id;
    return 0u;
  });
}

Q3_EXPORT GlResult iec_ObjectTypeGet(GlObjectId objectId, GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    type = store.Get(objectId).type;
    return 0u;
  });
}

// Editors of process values and alarms belong to the engineering system's user interface; the
// chart database answers that no editor was opened.
Q3_EXPORT std::int32_t es_PVEdit(void*, GlObjectId, GlTransactionId) {
  return 0;
}
Q3_EXPORT std::int32_t es_AlarmEdit(void*, GlObjectId, GlTransactionId) {
  return 0;
}

// The stand-in keeps no undo history.
Q3_EXPORT GlBool gl_UndoRedoAvail(GlObjectId, GlBool, GlTransactionId) {
  return 0;
}

// Memory that the chart database hands out to callers and takes back.
Q3_EXPORT void* _gl_MemoryAllocate(long nItems) {
  return nItems > 0 ? std::calloc(static_cast<std::size_t>(nItems), 1) : nullptr;
}
Q3_EXPORT void _gl_MemoryDeallocate(void* toObject) {
  std::free(toObject);
}

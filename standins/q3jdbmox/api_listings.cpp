// Listing functions: tasks, task elements, group members, charts, blocks, parameters, global
// variables, structure elements and connection partners, by the iteration protocol.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

namespace {

constexpr TypeMask kResource = MaskOf({IEC_OBJ_RESOURCE});
constexpr TypeMask kBlocks = MaskOf({IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION});
constexpr TypeMask kVarTypes =
    MaskOf({IEC_OBJ_IN_VAR_TYPE, IEC_OBJ_OUT_VAR_TYPE, IEC_OBJ_IN_OUT_VAR_TYPE, IEC_OBJ_VAR_TYPE_ELEMENT});
constexpr TypeMask kVariables =
    MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_OUT_VAR, IEC_OBJ_IN_OUT_VAR, IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR,
            IEC_OBJ_CFC_IN_OUT_VAR, IEC_OBJ_GLOBAL_VAR, IEC_OBJ_VAR_ELEMENT});

[[noreturn]] void UnsupportedFilter(GlSelect filter) {
  throw ApiError(kErrInvalidArgument, "select filter " + std::to_string(filter) + " is not supported here");
}

// Lists children of one object by the protocol, delivering id and type.
std::uint32_t IterateChildren(ProjectStore& store, MODE mode, IterationPlace place, GlObjectId parent, TypeMask types,
                              GlObjectId& id, GlObjectType* type) {
  return Iterate(
      mode, place, [&](std::int64_t after, std::size_t limit) { return store.Children(parent, types, after, limit); },
      [&](const ListedRow& row) {
        id = row.id;
        if (type) *type = row.type;
      });
}

std::uint32_t IterateMembers(ProjectStore& store, MODE mode, IterationPlace place, GlObjectId container, TypeMask types,
                             GlObjectId& id, GlObjectType& type) {
  struct Row {
    std::int64_t order;
    GlObjectId member;
  };
  return Iterate(
      mode, place,
      [&](std::int64_t after, std::size_t limit) {
        std::vector<Row> rows;
        for (const auto& m : store.Members(container, types, after, limit)) rows.push_back({m.position, m.member});
        return rows;
      },
      [&](const Row& row) {
        id = row.member;
        const auto member = store.Find(row.member);
        type = member ? member->type : IEC_OBJ_NULL;
      });
}

GlObjectType TypeOf(ProjectStore& store, GlObjectId id) {
  const auto row = store.Find(id);
  return row ? row->type : IEC_OBJ_NULL;
}

void FillConnection(const ConnectionRow& row, Iec_Connection& connection) {
  connection = Iec_Connection{};
  connection.connectionType = row.kind;
  connection.flag = row.flag ? 1 : 0;
  CopyText(connection.textualRef, row.text);
}

} // namespace

Q3_EXPORT GlResult iec_TasksGet(MODE mode, GlObjectId resourceId, GlObjectId& taskId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(resourceId, kResource);
    return IterateChildren(store, mode, IterationPlace::Keyed("iec_TasksGet", resourceId), resourceId,
                           MaskOf({IEC_OBJ_TASK}), taskId, nullptr);
  });
}

Q3_EXPORT GlResult iec_TaskElementsGet(MODE mode, GlSelect selectValue, GlObjectId taskId, GlObjectId& elementId,
                                       GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(taskId, MaskOf({IEC_OBJ_TASK}));
    TypeMask types = kAnyType;
    if (selectValue == IEC_SELECT_TASK_ELEMENTS) {
      types = MaskOf({IEC_OBJ_PROCESSING_GROUP});
    } else if (selectValue != IEC_SELECT_ALL) {
      UnsupportedFilter(selectValue);
    }
    return IterateMembers(store, mode, IterationPlace::Keyed("iec_TaskElementsGet", taskId, selectValue), taskId, types,
                          elementId, type);
  });
}

Q3_EXPORT GlResult iec_ProcessingGroupBlocksGet(MODE mode, GlSelect selectValue, GlObjectId procGroupId,
                                                GlObjectId& blockId, GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(procGroupId, MaskOf({IEC_OBJ_PROCESSING_GROUP}));
    if (selectValue != IEC_SELECT_ALL) {
      UnsupportedFilter(selectValue);
    }
    return IterateMembers(store, mode, IterationPlace::Keyed("iec_ProcessingGroupBlocksGet", procGroupId), procGroupId,
                          kAnyType, blockId, type);
  });
}

// Root charts of a controller (IEC_SELECT_ALL and IEC_SELECT_IS_CFC list the same).
Q3_EXPORT GlResult iec_ChartsGet(MODE mode, GlSelect selectValue, GlObjectId resourceId, GlObjectId& chartId,
                                 GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(resourceId, kResource);
    if (selectValue != IEC_SELECT_ALL && selectValue != IEC_SELECT_IS_CFC) {
      UnsupportedFilter(selectValue);
    }
    return IterateChildren(store, mode, IterationPlace::Keyed("iec_ChartsGet", resourceId, selectValue), resourceId,
                           MaskOf({IEC_OBJ_CFC}), chartId, &type);
  });
}

Q3_EXPORT GlResult iec_CfcBlocksGet(MODE mode, GlSelect selectValue, GlObjectId chartId, GlObjectId& iter,
                                    GlObjectId& blockId, GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(chartId, MaskOf({IEC_OBJ_CFC}));
    TypeMask types = 0;
    switch (selectValue) {
      case IEC_SELECT_ALL:
        types = MaskOf({IEC_OBJ_CFC, IEC_OBJ_FUNCTION_BLOCK, IEC_OBJ_FUNCTION});
        break;
      case IEC_SELECT_IS_CFC:
        types = MaskOf({IEC_OBJ_CFC});
        break;
      case IEC_SELECT_IS_FUNCTION_BLOCK:
        types = MaskOf({IEC_OBJ_FUNCTION_BLOCK});
        break;
      case IEC_SELECT_IS_FUNCTION:
        types = MaskOf({IEC_OBJ_FUNCTION});
        break;
      default:
        UnsupportedFilter(selectValue);
    }
    return IterateChildren(store, mode, IterationPlace::Cursor(iter), chartId, types, blockId, &type);
  });
}

// Parameters of a block (13, 14, 15) or interface variables of a chart (27, 28, 29): the
// filters 13, 14 and 15 select inputs, outputs and in/outs of either.
Q3_EXPORT GlResult iec_VarsGet(MODE mode, GlSelect selectValue, GlObjectId objectId, GlObjectId& varId,
                               GlObjectType& type, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow owner = store.GetOfType(objectId, kBlocks | MaskOf({IEC_OBJ_CFC}));
    const bool chart = owner.type == IEC_OBJ_CFC;
    const GlObjectType in = chart ? IEC_OBJ_CFC_IN_VAR : IEC_OBJ_IN_VAR;
    const GlObjectType out = chart ? IEC_OBJ_CFC_OUT_VAR : IEC_OBJ_OUT_VAR;
    const GlObjectType inOut = chart ? IEC_OBJ_CFC_IN_OUT_VAR : IEC_OBJ_IN_OUT_VAR;
    TypeMask types = 0;
    switch (selectValue) {
      case IEC_SELECT_ALL:
        types = MaskOf({in, out, inOut});
        break;
      case IEC_SELECT_IS_IN_VAR:
        types = MaskOf({in});
        break;
      case IEC_SELECT_IS_OUT_VAR:
        types = MaskOf({out});
        break;
      case IEC_SELECT_IS_IN_OUT_VAR:
        types = MaskOf({inOut});
        break;
      default:
        UnsupportedFilter(selectValue);
    }
    return IterateChildren(store, mode, IterationPlace::Keyed("iec_VarsGet", objectId, selectValue), objectId, types,
                           varId, &type);
  });
}

Q3_EXPORT GlResult iec_GlobalVarsGet(MODE mode, GlObjectId resourceId, GlObjectId& globalVarId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.GetOfType(resourceId, kResource);
    return IterateChildren(store, mode, IterationPlace::Keyed("iec_GlobalVarsGet", resourceId), resourceId,
                           MaskOf({IEC_OBJ_GLOBAL_VAR}), globalVarId, nullptr);
  });
}

// Elements of a structured variable type (type elements, 26) or of a structured variable
// (variable elements, 30), one level deep.
Q3_EXPORT GlResult iec_StructureElementsGet(MODE mode, GlObjectId objectId, GlObjectId& iter, GlObjectId& elementId,
                                            GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow owner = store.GetOfType(objectId, kVarTypes | kVariables);
    const bool ofType = (kVarTypes & (TypeMask{1} << owner.type)) != 0;
    const TypeMask types = MaskOf({ofType ? IEC_OBJ_VAR_TYPE_ELEMENT : IEC_OBJ_VAR_ELEMENT});
    return IterateChildren(store, mode, IterationPlace::Cursor(iter), objectId, types, elementId, nullptr);
  });
}

Q3_EXPORT GlResult iec_SinksGet(MODE mode, GlObjectId sourceId, GlObjectId& sinkId, GlObjectType& sinkType,
                                GlBool& isConnection, Iec_Connection& connection, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.Get(sourceId);
    return Iterate(
        mode, IterationPlace::Keyed("iec_SinksGet", sourceId),
        [&](std::int64_t after, std::size_t limit) { return store.ConnectionsFromSource(sourceId, after, limit); },
        [&](const ConnectionRow& row) {
          sinkId = row.sink;
          sinkType = TypeOf(store, row.sink);
          isConnection = row.kind == IEC_CONNECTION ? 1 : 0;
          FillConnection(row, connection);
        });
  });
}

namespace {

template <class Deliver>
std::uint32_t IterateSources(ProjectStore& store, MODE mode, std::string_view function, GlObjectId sinkId,
                             Deliver&& deliver) {
  store.Get(sinkId);
  return Iterate(
      mode, IterationPlace::Keyed(function, sinkId),
      [&](std::int64_t after, std::size_t limit) { return store.ConnectionsToSink(sinkId, after, limit); },
      [&](const ConnectionRow& row) {
        const GlObjectType type = row.kind == IEC_TEXTUAL_REF ? IEC_OBJ_NULL : TypeOf(store, row.source);
        deliver(row, type);
      });
}

} // namespace

Q3_EXPORT GlResult iec_SourcesGet(MODE mode, GlObjectId sinkId, GlObjectId& sourceId, GlObjectType& sourceType,
                                  GlBool& isConnection, Iec_Connection& connection, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    return IterateSources(store, mode, "iec_SourcesGet", sinkId, [&](const ConnectionRow& row, GlObjectType type) {
      sourceId = row.source;
      sourceType = type;
      isConnection = row.kind == IEC_CONNECTION ? 1 : 0;
      FillConnection(row, connection);
    });
  });
}

Q3_EXPORT GlResult iec_SourcesGetV6_0(MODE mode, GlObjectId sinkId, GlObjectId& sourceId, GlObjectType& sourceType,
                                      std::int32_t& connectionType, Iec_Connection& connection, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    return IterateSources(store, mode, "iec_SourcesGetV6_0", sinkId, [&](const ConnectionRow& row, GlObjectType type) {
      sourceId = row.source;
      sourceType = type;
      connectionType = row.kind;
      FillConnection(row, connection);
    });
  });
}

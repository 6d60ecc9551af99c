// Run sequences: where a block runs, moving blocks between processing groups, the insertion
// point, and the attributes of chart interface items.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

namespace {

constexpr TypeMask kContainers = MaskOf({IEC_OBJ_TASK, IEC_OBJ_PROCESSING_GROUP});

// Fills the out-values for one membership of a block (or of the chart that holds it).
void FillPlace(ProjectStore& store, const MembershipRow& membership, GlObjectId& procGroupId, GlObjectId& asTaskId,
               Gl_RunSeqRecord& runSeq) {
  const ObjectRow container = store.Get(membership.container);
  Gl_RunSeqRecord record{};
  if (container.type == IEC_OBJ_PROCESSING_GROUP) {
    const ObjectRow task = store.Get(container.parent);
    procGroupId = container.id;
    asTaskId = task.id;
    CopyText(record.taskName, task.name);
    for (const auto& m : store.MembershipsOf(container.id, 0, 1'000'000)) {
      if (m.container == task.id) record.grPos = static_cast<std::int16_t>(m.position);
    }
    record.blockPos = static_cast<std::int16_t>(membership.position);
  } else {
    procGroupId = 0;
    asTaskId = container.id;
    CopyText(record.taskName, container.name);
    record.grPos = static_cast<std::int16_t>(membership.position);
    record.blockPos = 0;
  }
  runSeq = record;
}

} // namespace

// Lists the run-sequence places of an object. An object installed nowhere itself runs where
// the nearest chart above it is installed: that place is delivered with 169.
Q3_EXPORT GlResult gl_ObjectAsTasksGet(MODE mode, GlObjectId objectId, GlObjectId& procGroupId, GlObjectId& asTaskId,
                                       Gl_RunSeqRecord& runSeq, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) -> std::uint32_t {
    const ObjectRow object = store.Get(objectId);
    auto place = IterationPlace::Keyed("gl_ObjectAsTasksGet", objectId);
    if (mode == M_FIRST && store.MembershipsOf(objectId, 0, 1).empty()) {
      place.Finish();
      for (GlObjectId up = object.parent; up != 0;) {
        const ObjectRow chart = store.Get(up);
        if (chart.type != IEC_OBJ_CFC) break;
        const auto places = store.MembershipsOf(chart.id, 0, 1);
        if (!places.empty()) {
          FillPlace(store, places.front(), procGroupId, asTaskId, runSeq);
          return GL_ERR_AS_TASK_INDIRECT;
        }
        up = chart.parent;
      }
      return GL_ERR_NO_MORE_ELEMENTS;
    }
    return Iterate(
        mode, place, [&](std::int64_t after, std::size_t limit) { return store.MembershipsOf(objectId, after, limit); },
        [&](const MembershipRow& row) { FillPlace(store, row, procGroupId, asTaskId, runSeq); });
  });
}

Q3_EXPORT GlResult gl_RunSeqElemsMove(const GlObjectId* elements, std::uint32_t elementCount, GlObjectId sourceParentId,
                                      GlObjectId destParentId, GlObjectId destPredId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    const ObjectRow source = store.GetOfType(sourceParentId, kContainers);
    const ObjectRow dest = store.GetOfType(destParentId, kContainers);
    if (source.cpu != dest.cpu) {
      throw ApiError(kErrInvalidArgument, "run sequences of different controllers");
    }
    if (elementCount == 0) {
      return 0u;
    }
    RequireBuffer(elements);
    const std::vector<GlObjectId> members(elements, elements + elementCount);
    store.MoveMembers(members, sourceParentId, destParentId, destPredId);
    store.Touch(sourceParentId, true);
    store.Touch(destParentId, true);
    for (GlObjectId m : members) {
      if (store.Find(m)) store.Touch(m, true);
    }
    return 0u;
  });
}

Q3_EXPORT GlResult gl_RunSeqPtrSet(GlObjectId scopeId, GlObjectId parentId, GlObjectId predId, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) {
    const ObjectRow scope = store.GetOfType(scopeId, MaskOf({IEC_OBJ_RESOURCE}));
    const ObjectRow parent = store.GetOfType(parentId, kContainers);
    if (parent.cpu != scope.id) {
      throw ApiError(kErrInvalidArgument, "the run sequence lies outside the scope");
    }
    if (predId != 0) {
      bool found = false;
      for (const auto& m : store.MembershipsOf(predId, 0, 1'000'000)) found = found || m.container == parentId;
      if (!found) throw ApiError(kErrNotInRunSequence, "the predecessor is not in that run sequence");
    }
    store.SetRunSequencePointer(scopeId, parentId, predId);
    store.Touch(parentId, true);
    return 0u;
  });
}

Q3_EXPORT GlResult gl_InterfaceItemAttributesGetV6_0(GlObjectId itemId, Gl_InterfaceItemAttributes& attributes,
                                                     GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    const ObjectRow item =
        store.GetOfType(itemId, MaskOf({IEC_OBJ_CFC_IN_VAR, IEC_OBJ_CFC_OUT_VAR, IEC_OBJ_CFC_IN_OUT_VAR}));
    Gl_InterfaceItemAttributes a{};
    a.version = 1;
    a.flags = item.type;
    CopyText(a.name, item.text2.empty() ? item.name : item.text2);
    CopyText(a.itemText, item.text3);
    attributes = a;
    return 0u;
  });
}

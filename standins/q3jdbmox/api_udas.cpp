// User-defined attributes of objects.
#include "chartdb/q3jdbmox_api.h"
#include "runtime.h"

using namespace q3;

namespace {

std::string UdaName(const Gl_Uda& uda) {
  std::string name = FieldText(uda.name);
  if (name.empty()) {
    throw ApiError(kErrInvalidArgument, "attribute name is empty");
  }
  return name;
}

} // namespace

Q3_EXPORT GlResult gl_UdaGet(GlObjectId objectId, Gl_Uda& uda, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) -> std::uint32_t {
    store.Get(objectId);
    const auto value = store.Uda(objectId, UdaName(uda));
    if (!value) {
      return GL_ERR_UDA_NOT_FOUND;
    }
    CopyText(uda.value, *value);
    return 0;
  });
}

Q3_EXPORT GlResult gl_UdaRemove(GlObjectId objectId, const Gl_Uda& uda, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) -> std::uint32_t {
    store.CheckDataVersion(store.Get(objectId));
    if (!store.RemoveUda(objectId, UdaName(uda))) {
      return GL_ERR_UDA_NOT_FOUND;
    }
    store.Touch(objectId, false);
    return 0;
  });
}

// With updateOnly set an attribute that does not exist is left alone (223); otherwise it is
// created.
Q3_EXPORT GlResult gl_UdaUpdate(GlObjectId objectId, GlBool updateOnly, const Gl_Uda& uda, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Write, [&](ProjectStore& store) -> std::uint32_t {
    store.CheckDataVersion(store.Get(objectId));
    const std::string name = UdaName(uda);
    const std::string value = FieldText(uda.value);
    if (updateOnly && !store.Uda(objectId, name)) {
      return GL_ERR_UDA_NOT_UPDATED;
    }
    store.SetUda(objectId, name, value);
    store.Touch(objectId, false);
    return 0;
  });
}

Q3_EXPORT GlResult gl_UdasGet(MODE mode, GlObjectId objectId, std::uint64_t& iter, Gl_Uda& uda, GlTransactionId tr) {
  return RunApiCall(__func__, tr, Access::Read, [&](ProjectStore& store) {
    store.Get(objectId);
    return Iterate(
        mode, IterationPlace::Cursor(iter),
        [&](std::int64_t after, std::size_t limit) { return store.Udas(objectId, after, limit); },
        [&](const UdaRow& row) {
          uda = Gl_Uda{};
          CopyText(uda.name, row.name);
          CopyText(uda.value, row.value);
        });
  });
}

#include "connection_rules.h"

#include "api_result.h"

namespace q3 {
namespace {

constexpr TypeMask kSingleSource = MaskOf({IEC_OBJ_IN_VAR, IEC_OBJ_IN_OUT_VAR});

bool Has(TypeMask mask, GlObjectType type) {
  return type >= 0 && type < 64 && (mask & (TypeMask{1} << type));
}

} // namespace

void AddCheckedConnection(ProjectStore& store, ConnectionRow row) {
  const ObjectRow sink = store.GetOfType(row.sink, kSinkTypes);
  if (row.kind == IEC_TEXTUAL_REF) {
    if (row.source != 0) {
      throw ApiError(kErrConnection, "a textual reference has no source object");
    }
    if (row.text.empty()) {
      throw ApiError(kErrConnection, "a textual reference needs its text");
    }
  } else if (row.kind == IEC_CONNECTION || row.kind == IEC_NO_CONNECTION) {
    const ObjectRow source = store.GetOfType(row.source, kSourceTypes);
    if (source.cpu != sink.cpu) {
      throw ApiError(kErrConnection, "source and sink belong to different controllers");
    }
    if (row.source == row.sink) {
      throw ApiError(kErrConnection, "an object cannot feed itself");
    }
    row.text.clear();
  } else {
    throw ApiError(kErrInvalidArgument, "unknown connection type " + std::to_string(row.kind));
  }
  std::int64_t after = 0;
  for (;;) {
    const auto existing = store.ConnectionsToSink(row.sink, after, 64);
    for (const auto& c : existing) {
      if (c.source == row.source && c.text == row.text) {
        throw ApiError(kErrConnection, "the pair is connected already");
      }
      if (row.kind == IEC_CONNECTION && c.kind == IEC_CONNECTION && Has(kSingleSource, sink.type)) {
        throw ApiError(kErrConnection, "the input is fed already");
      }
    }
    if (existing.size() < 64) break;
    after = existing.back().order;
  }
  store.AddConnection(row);
}

} // namespace q3

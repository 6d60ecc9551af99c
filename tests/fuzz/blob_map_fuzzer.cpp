// libFuzzer target for the blob map reader: any bytes are decoded and every attribute is looked up
// under every tag, as the records of any kind would read it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "blob/blob_map.h"

namespace {

template <BlobAttrType Tag>
void LookUp(const CBlobAttribute& attribute) {
  BlobValueT<Tag> value{};
  attribute.Decode<Tag>(value);
}

template <std::uint32_t... Tags>
void LookUpAll(const CBlobAttribute& attribute, std::integer_sequence<std::uint32_t, Tags...>) {
  (LookUp<static_cast<BlobAttrType>(Tags)>(attribute), ...);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CBlobMap map;
  map.Decode(std::span<const std::uint8_t>(data, size));
  for (const std::string& key : map.Keys()) {
    LookUpAll(*map.Find(key), std::make_integer_sequence<std::uint32_t, kBlobAttrTypeCount>());
  }
  // What was read writes again without failing.
  map.Encode(map.GetObjectId());
  return 0;
}

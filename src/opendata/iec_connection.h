// A connection from a source to a sink as the chart database reported it; the manager caches one
// per pair. It holds identifiers, so its ends are looked up again on every access.
#pragma once

#include <string>

#include "foundation/object_trace.h"
#include "opendata/iec_obj_id.h"

namespace OpenData {

class IIecSource;
class IIecSink;

class CIecConnection : public ZEB::CObject {
public:
  CIecConnection(const CIecTypedObjId& source, const CIecTypedObjId& sink, std::uint32_t connectionType, bool flag,
                 std::string textualRef)
      : m_source(source),
        m_sink(sink),
        m_connectionType(connectionType),
        m_flag(flag),
        m_textualRef(std::move(textualRef)) {}

  // Null for a textual reference.
  IIecSource* GetSource() const;
  IIecSink* GetSink() const;
  std::uint32_t GetConnectionType() const { return m_connectionType; }
  bool GetFlag() const { return m_flag; }
  // The text of a textual reference; raises CIllegalStateException for other connections.
  std::string GetTextualRef() const;
  const CIecTypedObjId& GetSourceId() const { return m_source; }
  const CIecTypedObjId& GetSinkId() const { return m_sink; }

private:
  CIecTypedObjId m_source;
  CIecTypedObjId m_sink;
  std::uint32_t m_connectionType;
  bool m_flag;
  std::string m_textualRef;
};

} // namespace OpenData

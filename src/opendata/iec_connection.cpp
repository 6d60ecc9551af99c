#include "opendata/iec_connection.h"

#include "opendata/iec_interfaces.h"
#include "opendata/iec_obj_manager.h"
#include "opendata/iec_object.h"

namespace OpenData {

IIecSource* CIecConnection::GetSource() const {
  if (m_connectionType == IEC_TEXTUAL_REF_TYPE) return nullptr;
  auto* source = dynamic_cast<IIecSource*>(CIecObjManager::GetInstance()->FindIecObject(m_source.id, m_source.type));
  if (!source) {
    throw ZEB::CIllegalStateException("IIecSource-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      "IecConnection", __LINE__);
  }
  return source;
}

IIecSink* CIecConnection::GetSink() const {
  auto* sink = dynamic_cast<IIecSink*>(CIecObjManager::GetInstance()->FindIecObject(m_sink.id, m_sink.type));
  if (!sink) {
    throw ZEB::CIllegalStateException("IIecSink-Object expected to be returned by CIecObjManager::FindIecObject.",
                                      "IecConnection", __LINE__);
  }
  return sink;
}

std::string CIecConnection::GetTextualRef() const {
  if (m_connectionType != IEC_TEXTUAL_REF_TYPE) {
    throw ZEB::CIllegalStateException("Connection Type must be IEC_TEXTUAL_REF.", "IecConnection", __LINE__);
  }
  return m_textualRef;
}

} // namespace OpenData

// CBlobObject: the base of every blob record. A record is an extension of the IEC object whose
// data it keeps; it loads itself through that owner on the first access to a field.
#pragma once

#include <cstdint>

#include "chartdb/q3jdbmox_types.h"
#include "opendata/iec_object.h"

// The key under which the extension factory attaches a record to its object.
inline constexpr std::uint32_t EXTENSION_KEY_BLOB = 1;

class CBlobObject : public OpenData::CIecObjExtension {
public:
  ~CBlobObject() override = default;
  virtual void Read(GlObjectId objectId, GlTransactionId prevTransactionId) = 0;
  virtual void Write(GlObjectId objectId, GlTransactionId prevTransactionId) = 0;

  // Loads the record through its owner with the thread's transaction; a blob of another record
  // version found this way is deleted. Without an owner the record keeps its defaults.
  void Read_i();
  // Stores the record to its owner (nothing without one, or for an owner of identifier 0).
  void Write_i();

  bool IsLoaded() const { return m_bLoaded; }
  void SetLoaded(bool loaded) { m_bLoaded = loaded; }
  bool IsVersionOk() const { return m_bVersionOk; }
  bool IsEmpty() const { return m_bEmpty; }

  // The class name ("CBlobTask"), the record version it writes.
  virtual const char* ClassName() const = 0;
  virtual std::uint32_t RecordVersion() const = 0;

  // When on, every Read and Write ends by tracing the record's fields at level 6.
  static bool GetDump();
  static void SetDump(bool dump);

protected:
  void EnsureLoaded() {
    if (!m_bLoaded) Read_i();
  }

  bool m_bVersionOk = true;
  bool m_bEmpty = true;
  bool m_bLoaded = false;
};

// CIecVarBase: what every variable has: a data type, an owning block or chart, structure
// elements, and sources and sinks with their connections.
#pragma once

#include "opendata/iec_interfaces.h"
#include "opendata/iec_object.h"

namespace OpenData {

class CIecBlockBase;

class CIecVarBase : public CIecObject {
public:
  CIecVarBase(GlObjectId id, IEC_OBJECT_TYPE type) : CIecObject(id, type) {}
  std::unique_ptr<std::vector<CIecObject*>> GetChildren(const std::vector<IEC_OBJECT_TYPE>* pvectorFilter) override;

  virtual GlDataType GetDataType() = 0;                                         // slot 9
  virtual CIecBlockBase* GetBlock();                                            // 10
  virtual std::unique_ptr<std::vector<CIecConnection*>> GetSourceConnections(); // 11
  virtual std::unique_ptr<std::vector<IIecSource*>> GetSources();               // 12
  virtual std::unique_ptr<std::vector<CIecConnection*>> GetSinkConnections();   // 13
  virtual std::unique_ptr<std::vector<IIecSink*>> GetSinks();                   // 14
  virtual void ClearConnectionLists();                                          // 15
  virtual const char* GetValue() = 0;                                           // 16

  GlObjectId GetBlockId();
  const TVectorOidAndTypes* GetSourceIds();
  const TVectorOidAndTypes* GetSinkIds();
  std::unique_ptr<ObjectIdVector> GetStructureElementIds();

protected:
  // The owning block or chart of a block or chart variable.
  CIecBlockBase* FindBlock();

private:
  GlObjectId m_blockId = 0;
  std::unique_ptr<TVectorOidAndTypes> m_sources;
  std::unique_ptr<TVectorOidAndTypes> m_sinks;
};

// A variable class Var that also serves as a source end, a sink end or both: the connection
// interfaces are answered by the variable's own lists.
template <class Var>
class CIecSourceVar : public Var, public IIecSource {
public:
  using Var::Var;
  std::string GetName() override { return Var::GetName(); }
  std::unique_ptr<std::vector<CIecConnection*>> GetSourceConnections() override {
    return CIecVarBase::GetSourceConnections();
  }
  std::unique_ptr<std::vector<IIecSource*>> GetSources() override { return CIecVarBase::GetSources(); }
};

template <class Var>
class CIecSinkVar : public Var, public IIecSink {
public:
  using Var::Var;
  std::string GetName() override { return Var::GetName(); }
  std::unique_ptr<std::vector<CIecConnection*>> GetSinkConnections() override {
    return CIecVarBase::GetSinkConnections();
  }
  std::unique_ptr<std::vector<IIecSink*>> GetSinks() override { return CIecVarBase::GetSinks(); }
};

template <class Var>
using CIecSourceAndSinkVar = CIecSourceVar<CIecSinkVar<Var>>;

// Fills a structure-element list of a variable or variable type: M_FIRST then M_NEXT, always
// outside any transaction; any non-zero error id other than 166 ends it without a failure.
std::unique_ptr<ObjectIdVector> ReadStructureElementIds(GlObjectId owner, const char* source);

} // namespace OpenData

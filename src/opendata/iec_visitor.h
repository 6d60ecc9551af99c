// The visitor hook of the object model: Accept passes an object to the visitor operation of its
// class. The model calls these; implementations belong to the users of the model.
#pragma once

namespace OpenData {

class CIecResource;
class CIecInVarType;
class CIecOutVarType;
class CIecInOutVarType;
class CIecVarTypeElement;
class CIecFunctionBlockType;
class CIecFunctionType;
class CIecCfcInVar;
class CIecCfcOutVar;
class CIecCfcInOutVar;
class CIecGlobalVar;
class CIecInVar;
class CIecOutVar;
class CIecInOutVar;
class CIecVarElement;
class CIecTask;
class CIecCfc;
class CIecFunctionBlock;
class CIecFunction;
class CIecProcessingGroup;

class IIecVisitor {
public:
  virtual ~IIecVisitor() = default;                                // slot 0
  virtual void VisitResource(CIecResource&) = 0;                   // 1
  virtual void VisitInVarType(CIecInVarType&) = 0;                 // 2
  virtual void VisitOutVarType(CIecOutVarType&) = 0;               // 3
  virtual void VisitInOutVarType(CIecInOutVarType&) = 0;           // 4
  virtual void VisitVarTypeElement(CIecVarTypeElement&) = 0;       // 5
  virtual void VisitFunctionBlockType(CIecFunctionBlockType&) = 0; // 6
  virtual void VisitFunctionType(CIecFunctionType&) = 0;           // 7
  virtual void VisitUnused8() {}                                   // 8 (not called)
  virtual void VisitCfcInVar(CIecCfcInVar&) = 0;                   // 9
  virtual void VisitCfcOutVar(CIecCfcOutVar&) = 0;                 // 10
  virtual void VisitCfcInOutVar(CIecCfcInOutVar&) = 0;             // 11
  virtual void VisitGlobalVar(CIecGlobalVar&) = 0;                 // 12
  virtual void VisitInVar(CIecInVar&) = 0;                         // 13
  virtual void VisitOutVar(CIecOutVar&) = 0;                       // 14
  virtual void VisitInOutVar(CIecInOutVar&) = 0;                   // 15
  virtual void VisitVarElement(CIecVarElement&) = 0;               // 16
  virtual void VisitTask(CIecTask&) = 0;                           // 17
  virtual void VisitCfc(CIecCfc&) = 0;                             // 18
  virtual void VisitFunctionBlock(CIecFunctionBlock&) = 0;         // 19
  virtual void VisitFunction(CIecFunction&) = 0;                   // 20
  virtual void VisitProcessingGroup(CIecProcessingGroup&) = 0;     // 21
};

} // namespace OpenData

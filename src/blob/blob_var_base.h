// CBlobVarBase: the base of the variable-side records, with a fourth operation that marks the
// record loaded.
#pragma once

#include "blob/blob_object.h"

class CBlobVarBase : public CBlobObject {
public:
  virtual void MarkLoaded() = 0;
};

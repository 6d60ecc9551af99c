// The roles an object can play: member of a task, member of a processing group, source or sink
// of a connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace OpenData {

class CIecConnection;

class IIecTaskElement {
public:
  virtual ~IIecTaskElement() = default;
};

class IIecProcGroupElement {
public:
  virtual ~IIecProcGroupElement() = default;
};

class IIecSource;
class IIecSink;

// The possible source ends of a connection: global variable, output variable, the three chart
// variables.
class IIecSource {
public:
  virtual ~IIecSource() = default;
  virtual std::string GetName() = 0;
  virtual std::unique_ptr<std::vector<CIecConnection*>> GetSourceConnections() = 0;
  virtual std::unique_ptr<std::vector<IIecSource*>> GetSources() = 0;
};

// The possible sink ends: global variable, input and in/out variables, the three chart
// variables, processing group.
class IIecSink {
public:
  virtual ~IIecSink() = default;
  virtual std::string GetName() = 0;
  virtual std::unique_ptr<std::vector<CIecConnection*>> GetSinkConnections() = 0;
  virtual std::unique_ptr<std::vector<IIecSink*>> GetSinks() = 0;
};

} // namespace OpenData

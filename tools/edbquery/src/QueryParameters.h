#pragma once
#include <vector>

#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVRef.h"
#include "NUVRefList.h"
#include "Options.h"

class NUVIEdbSysObject;
class NUVHost;

// The named parameters of one statement as the broker takes them: one
// NUVEdbSQLData per parameter, in the order given, each with the one
// reference this set holds and releases.
class QueryParameters {
 public:
  // Builds every parameter; objects are looked up by class and key through
  // the host's query interface. Throws Failure for a class without a key
  // attribute or a key that names no object.
  QueryParameters(const std::vector<ParameterOption>& requested, const NUVHost& host);
  ~QueryParameters();
  QueryParameters(const QueryParameters&) = delete;
  QueryParameters& operator=(const QueryParameters&) = delete;

  const NUVListPtrNUVBaseUnknown& List() const { return parameters_.get(); }

 private:
  void Add(const ParameterOption& entry);
  void AddObject(const ParameterOption& entry);
  void AddObjectList(const ParameterOption& entry);
  void Adopt(NUVBaseUnknown* parameter);
  void ReleaseAll();
  // The object of the class with the key, with a reference for the caller.
  NUVRef<NUVIEdbSysObject> FindObject(const ParameterOption& entry, const std::string& key) const;

  const NUVHost& host_;
  NUVRefList parameters_;
};

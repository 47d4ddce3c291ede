#pragma once
#include <string>

#include "NUVError.h"

// An error with an identifier, a message identifier and a message catalog.
class NUVPLATFORM_API NUVInternalError : public NUVError {
 public:
  // @{
  // An error with the identifier (0 when not given), message identifier
  // and catalog (empty when not given or null).
  explicit NUVInternalError(unsigned int id) : id_(id) {}
  NUVInternalError(unsigned int id, const char* msgId, const char* catalog)
      : id_(id), msgId_(msgId ? msgId : ""), catalog_(catalog ? catalog : "") {}
  NUVInternalError(const char* msgId, const char* catalog)
      : msgId_(msgId ? msgId : ""), catalog_(catalog ? catalog : "") {}
  // @}
  // @{
  // Copies the identifiers and what every error carries.
  NUVInternalError(const NUVInternalError&) = default;
  NUVInternalError& operator=(const NUVInternalError&) = default;
  // @}
  ~NUVInternalError() override = default;

  NUVMetaClass* GetMetaObject() const override;
  const char* IsA() const override;
  int IsAKindOf(const char* name) const override;
  // The meta-object of this class.
  static NUVMetaClass* MetaObject();

  unsigned int GetId() const override { return id_; }
  const char* GetMsgId() const override { return msgId_.c_str(); }
  const char* GetMsgCatalog() const override { return catalog_.c_str(); }
  // A copy allocated through the base object's operator new, or null when
  // that fails.
  NUVError* CloneSelf() override;

 private:
  unsigned int id_ = 0;
  std::string msgId_;
  std::string catalog_;
};

#pragma once
#include <memory>

#include "NUVEdsMetadataTool.h"
#include "NUVHostBackend.h"

// Answers a class type's key attribute from the backend's schema.
class NUVHostMetadataTool : public NUVEdsMetadataTool {
 public:
  explicit NUVHostMetadataTool(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}
  // The key attribute; empty when the class type's table has none.
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) override;

 private:
  std::shared_ptr<NUVHostBackend> backend_;
};

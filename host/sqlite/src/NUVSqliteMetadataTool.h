#pragma once
#include <memory>

#include "NUVEdsMetadataTool.h"
#include "NUVSqliteDatabase.h"

// Answers a class type's key attribute from the database schema.
class NUVSqliteMetadataTool : public NUVEdsMetadataTool {
 public:
  explicit NUVSqliteMetadataTool(std::shared_ptr<NUVSqliteDatabase> database)
      : database_(std::move(database)) {}
  // The table's primary-key column; empty for an unknown table.
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) override;

 private:
  std::shared_ptr<NUVSqliteDatabase> database_;
};

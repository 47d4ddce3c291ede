#include <gtest/gtest.h>

#include <string>

#include "NUVHostDialect.h"
#include "NUVHostRegistry.h"

namespace {

struct TargetCase {
  const char* target;
  const char* host;  // the host that takes it; empty for none
};

class HostRegistryTest : public testing::TestWithParam<TargetCase> {
 protected:
  void SetUp() override { NUVRegisterHosts(); }
};

// A server's forms go to PostgreSQL whether or not the build holds it; any
// other text is a file for SQLite.
TEST_P(HostRegistryTest, TargetGoesToTheHostThatClaimsIt) {
  const auto plugin = NUVHostRegistry::ForTarget(GetParam().target);
  EXPECT_EQ(plugin ? plugin->name : std::string(), GetParam().host);
}

INSTANTIATE_TEST_SUITE_P(Targets, HostRegistryTest,
                         testing::Values(TargetCase{"parts.db", "SQLite"}, TargetCase{"/tmp/a b/x", "SQLite"},
                                         TargetCase{"Host=dbhost", "SQLite"},
                                         TargetCase{"postgresql://me@dbhost/parts", "PostgreSQL"},
                                         TargetCase{"postgres://dbhost", "PostgreSQL"},
                                         TargetCase{"host=dbhost dbname=parts", "PostgreSQL"},
                                         TargetCase{"dbname =parts", "PostgreSQL"}, TargetCase{"", ""}));

TEST(HostRegistry, NameAndClaimNeverReplaceABuiltHost) {
  NUVRegisterHosts();
  NUVHostPlugin bare;
  bare.name = "SQLite";
  NUVHostRegistry::Register(bare);
  const auto sqlite = NUVHostRegistry::Named("SQLite");
  ASSERT_TRUE(sqlite && sqlite->Built());
  EXPECT_TRUE(sqlite->claim);
  const auto sample = NUVHostRegistry::WithSample();
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->name, "SQLite");
}

TEST(HostRegistry, SampleOpensThroughTheRegistryWithItsDialect) {
  NUVRegisterHosts();
  std::string message;
  const auto host = NUVHostRegistry::WithSample()->openSample(message);
  ASSERT_TRUE(host) << message;
  const NUVHostDialect& dialect = host->Dialect();
  EXPECT_FALSE(dialect.TypedLiterals());
  for (const char* reading : {"SELECT 1", " -- a note\nselect 1", "VALUES (1)", "EXPLAIN SELECT 1", ""})
    EXPECT_FALSE(dialect.Writes(reading)) << reading;
  for (const char* writing :
       {"INSERT INTO PART VALUES (1)", "with x AS (SELECT 1) DELETE FROM PART", "(SELECT 1)"})
    EXPECT_TRUE(dialect.Writes(writing)) << writing;
  EXPECT_EQ(dialect.CountComments("SELECT '--' /* a */ -- b\n, \"--\""), 2u);
  EXPECT_EQ(dialect.QuotedName("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(dialect.QuotedLiteral("it's"), "'it''s'");
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "NUVIEdbAppWorkpackage.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"

namespace {

// The registry form of an identifier: {8-4-4-4-12} upper-case digits.
std::string TextOf(const GUID& id) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(id.Data1), static_cast<unsigned>(id.Data2),
                static_cast<unsigned>(id.Data3), id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3],
                id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
  return text;
}

struct WrittenIdentifier {
  const char* name;
  const GUID& id;
  const char* text;  // as the interfaces' documentation writes it; null for the project's own
};

const WrittenIdentifier kWritten[] = {
    {"NUVIUnknownList", IID_NUVIUnknownList, "{209F24F4-465C-11D3-B802-0008C70FC870}"},
    {"NUVIEdbMetadataToolProvider", IID_NUVIEdbMetadataToolProvider,
     "{DD12EE40-40F9-4AE7-8471-BAE62DF57650}"},
    {"NUVIEdbDatabaseContext", IID_NUVIEdbDatabaseContext, "{8ECE5C99-F222-4DE0-A48D-39458B6151C3}"},
    {"NUVIEdbErrorReporter", IID_NUVIEdbErrorReporter, "{45D0BBB6-0305-4D62-83EE-D470AD1B1111}"},
    {"NUVIEdbDatabaseHandle", IID_NUVIEdbDatabaseHandle, "{5C0A7DB4-E2F1-4E41-ABCA-8836EF7E5344}"},
    {"NUVIEdbSysObject", IID_NUVIEdbSysObject, "{4752C50A-FB8C-4207-B2D8-27EA445904D8}"},
    {"IUnknown", IID_IUnknown, "{00000000-0000-0000-C000-000000000046}"},
    {"NUVIEdbSysQuery2", IID_NUVIEdbSysQuery2, nullptr},
    {"NUVIEdbAppWorkpackage", IID_NUVIEdbAppWorkpackage, nullptr},
};

}  // namespace

// Each identifier is written as documented, and no two are the same.
TEST(HostInterfaces, IdentifiersMatchTheirWrittenFormAndAreDistinct) {
  for (const auto& written : kWritten) {
    if (written.text) {
      EXPECT_EQ(TextOf(written.id), written.text) << written.name;
    }
    for (const auto& other : kWritten)
      EXPECT_EQ(&written == &other, written.id == other.id) << written.name << " " << other.name;
  }
}

// Identifiers are equal only when all sixteen bytes are, whichever byte
// differs, at run time and in constant expressions alike.
TEST(HostInterfaces, IdentifiersDifferInAnyByte) {
  static_assert(IID_IUnknown == IID_IUnknown && !(IID_IUnknown == IID_NUVIEdbSysObject));
  const GUID base = IID_NUVIEdbDatabaseHandle;
  for (size_t byte = 0; byte < sizeof(GUID); ++byte) {
    GUID changed = base;
    reinterpret_cast<unsigned char*>(&changed)[byte] ^= 0x01;
    EXPECT_FALSE(changed == base) << byte;
  }
}

#include <gtest/gtest.h>

#include "NUVEdsMetadataTool.h"
#include "NUVIEdbAppWorkpackage.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownList.h"

TEST(HostInterfaces, IdentifiersAreDistinct) {
  const GUID ids[] = {IID_IUnknown,           IID_NUVIUnknownList,      IID_NUVIEdbMetadataToolProvider,
                      IID_NUVIEdbDatabaseContext, IID_NUVIEdbErrorReporter, IID_NUVIEdbDatabaseHandle,
                      IID_NUVIEdbSysObject,   IID_NUVIEdbSysQuery2,     IID_NUVIEdbAppWorkpackage};
  for (size_t i = 0; i < std::size(ids); ++i) {
    for (size_t j = i + 1; j < std::size(ids); ++j) EXPECT_FALSE(ids[i] == ids[j]) << i << " " << j;
  }
  EXPECT_EQ(IID_NUVIEdbSysObject.Data1, 0x4752C50AU);
}

#include <gtest/gtest.h>

#include "NUVBaseUnknown.h"
#include "NUVSession.h"

namespace {
class TestSession : public NUVBaseUnknown, public NUVSession {
 public:
  long QueryInterface(const GUID& iid, void** out) override { return NUVBaseUnknown::QueryInterface(iid, out); }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
};
}  // namespace

TEST(Session, InstalledSessionIsHeldUntilRemoved) {
  NUVSession* found = reinterpret_cast<NUVSession*>(1);
  EXPECT_LT(GetPtrSession(found), 0);
  EXPECT_EQ(found, nullptr);
  auto* session = new TestSession;
  NUVSetPtrSession(session);
  session->Release();  // the platform keeps it alive
  EXPECT_GE(GetPtrSession(found), 0);
  EXPECT_EQ(found, session);
  NUVSetPtrSession(nullptr);
  EXPECT_LT(GetPtrSession(found), 0);
}

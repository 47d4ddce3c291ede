#pragma once
#include "IUnknown.h"
#include "NUVPlatformExport.h"

// The platform session: the host's services are reached through its
// QueryInterface.
class NUVSession : public IUnknown {
 protected:
  ~NUVSession() = default;
};

// Answers the process's session without taking a reference: 0 and the
// session, or a negative code and null when no session is installed.
NUVPLATFORM_API long GetPtrSession(NUVSession*& session);

// Host side: installs the session (null removes it). The platform holds a
// reference on the installed session and releases the one it replaces.
NUVPLATFORM_API void NUVSetPtrSession(NUVSession* session);

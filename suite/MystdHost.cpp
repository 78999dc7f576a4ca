// Host name and address through Windows Sockets.
#include "suite/MystdRoutines.h"

#include "vcl/Win.h"
#include <winsock.h>

namespace {
const char* const NoHost = "-none-";

// WSAStartup / WSACleanup pair.
class TSocketsSession {
public:
  TSocketsSession() {
    WSADATA Data;
    FStarted = WSAStartup(MAKEWORD(2, 0), &Data) == 0;
  }
  ~TSocketsSession() { if (FStarted) WSACleanup(); }
  TSocketsSession(const TSocketsSession&) = delete;
  TSocketsSession& operator=(const TSocketsSession&) = delete;
  bool Started() const { return FStarted; }
private:
  bool FStarted = false;
};
}  // namespace

AnsiString LookupHostAddress(const AnsiString& HostName) {
  hostent* Host = gethostbyname(HostName.c_str());
  if (!Host || Host->h_addrtype != AF_INET || Host->h_length < 4 || !Host->h_addr_list ||
      !Host->h_addr_list[0])
    return NoHost;
  const auto* B = reinterpret_cast<const unsigned char*>(Host->h_addr_list[0]);
  return Format("%d.%d.%d.%d", {int(B[0]), int(B[1]), int(B[2]), int(B[3])});
}

void GetHostInfo(AnsiString& HostName, AnsiString& Address) {
  HostName = NoHost;
  Address = NoHost;
  try {
    TSocketsSession Session;
    if (!Session.Started()) return;
    char Name[256] = {};
    if (gethostname(Name, 255) != 0) return;
    Name[255] = 0;
    if (!Name[0]) return;
    HostName = Name;
    Address = LookupHostAddress(HostName);
  } catch (...) {
    HostName = NoHost;
    Address = NoHost;
  }
}

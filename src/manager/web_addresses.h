// The web pages the manager opens: the Links menu and the author dialog's link. The hosts are the
// build's (CMake cache variables TH_*_HOST), so a distributor can point them elsewhere.
#pragma once

namespace manager {

struct WebAddresses {
  const char* community;       // home page of the community site
  const char* masterServer;    // master-server page of the support site
  const char* moddingArchive;  // modding board of the community forum
  const char* support;         // home page of the support site
  const char* official;        // the game's official site
  const char* yourIp;          // the support site's page showing the visitor's own address
};

extern const WebAddresses kWebAddresses;

}  // namespace manager

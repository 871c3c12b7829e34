// A project server for long runs, living in this process and registered
// under the ProgID "OrvisServer.OrvisServer" while it exists. It answers as
// the fake server does by default but keeps no journal and no objects beyond
// those in use, so that the process's memory shows only what the library keeps.
#pragma once

#include <objbase.h>

namespace bench {

class SteadyServer {
public:
    SteadyServer();
    ~SteadyServer();
    SteadyServer(const SteadyServer&) = delete;
    SteadyServer& operator=(const SteadyServer&) = delete;

private:
    IClassFactory* factory_;
    DWORD cookie_ = 0;
};

}  // namespace bench

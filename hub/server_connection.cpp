// Initialize and GetOrvisServer: making the project server and lending it.
#include "exports.h"
#include "hub_state.h"

namespace tallow {
namespace {

constexpr char serverProgId[] = "OrvisServer.OrvisServer";

// Creates the project server from its ProgID (or a class identifier in braces)
// and answers its IProjectServer interface.
ComPtr<IProjectServer> createServerObject()
{
    const Bstr progId = bstrFromAnsi(serverProgId);
    CLSID classId;
    check(progId.get()[0] == L'{' ? CLSIDFromString(progId.get(), &classId)
                                   : CLSIDFromProgID(progId.get(), &classId));
    ComPtr<IUnknown> object;
    check(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                           IID_IUnknown, reinterpret_cast<void**>(object.put())));
    check(OleRun(object.get()));
    ComPtr<IProjectServer> server;
    check(object.query(IID_IProjectServer, server));
    return server;
}

}  // namespace
}  // namespace tallow

extern "C" int __cdecl Initialize()
{
    using namespace tallow;
    try {
        keepServerObject(createServerObject().detach());
        return 0;
    } catch (...) {
        MessageBoxA(nullptr, "Error in creating OrvisServer.OrvisServer", "Halvern Plenwick Extension", MB_OK);
        return 1;
    }
}

extern "C" int __cdecl GetOrvisServer(tallow::IProjectServer** server)
{
    using namespace tallow;
    IProjectServer* held = serverObject();
    if (held && server) {
        held->AddRef();
        *server = held;
    }
    return 0;
}

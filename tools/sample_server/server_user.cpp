#include "server_user.h"

namespace sample_server {

HRESULT ServerUser::UserName(BSTR* name)
{
    return answer([&] { giveText(account_.name, name); });
}

HRESULT ServerUser::HasPermission(BSTR kind, long code, long* granted)
{
    if (!granted) return E_POINTER;
    const auto held = account_.permissions.find(textOf(kind));
    *granted = (held != account_.permissions.end() ? held->second : 0) >= code ? 1 : 0;
    return S_OK;
}

}  // namespace sample_server

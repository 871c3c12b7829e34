// The logged-in user: a name and the permission codes granted per asset kind.
#pragma once

#include "com_object.h"
#include "project_definition.h"
#include "project_server.h"

namespace sample_server {

class ServerUser : public ComObject<tallow::IServerUser, tallow::IID_IServerUser> {
public:
    explicit ServerUser(UserAccount account) : account_(std::move(account)) {}

    HRESULT STDMETHODCALLTYPE UserName(BSTR* name) override;
    // Granted (1) when the user holds at least `code` for the kind, else 0.
    HRESULT STDMETHODCALLTYPE HasPermission(BSTR kind, long code, long* granted) override;

private:
    UserAccount account_;
};

}  // namespace sample_server
